#pragma once
// The program's fixed limits and file names: nothing here is configurable.

#include <cstddef>
#include <string_view>

namespace turnolista {

// The characters of a team name at most: the first version had room for 20 with its newline.
inline constexpr std::size_t NOME_MASSIMO = 19;
// The spaces of a fixture line that end its first cells; later spaces stay in the last one.
inline constexpr std::size_t COLONNEEXCEL = 4;
// The largest list that is read: a league's list is a few kilobytes, and a file far larger
// is no list (a disk image, a video renamed) that would only fill memory.
inline constexpr std::size_t LISTA_MASSIMA = std::size_t{64} * 1024 * 1024;

// The longest answer typed at the console that is held, far beyond any name (NOME_MASSIMO
// characters of four bytes at most), so that a longer one costs no more memory.
inline constexpr std::size_t RISPOSTA_MASSIMA = 4096;

inline constexpr std::string_view FILE_ORIGINALE = "originale.txt";

}  // namespace turnolista
