#pragma once
// The encodings a league's fixture list comes in, as Notepad, Excel and downloads save it:
// UTF-8 with or without a BOM, UTF-16 with a BOM ("Unicode"), or Windows-1252 ("ANSI").
// The list's encoding is decided once, from its start, as editors decide it; the program
// then works on its text without the BOM, UTF-16 made UTF-8.

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace turnolista {

enum class Codifica {
    ascii,     // no BOM, no byte of 0x80 or more at its start: written as it is
    utf8,      // UTF-8 by its bytes, with no BOM
    utf8_bom,  // UTF-8 with its BOM
    utf16le,   // UTF-16 with its BOM, little or big endian
    utf16be,
    windows1252,  // a byte that UTF-8 cannot have
};

inline constexpr std::string_view BOM_UTF8 = "\xEF\xBB\xBF";
// How much of the list's start decides its encoding (and the rest of a UTF-8 sequence that
// this cuts).
inline constexpr std::size_t INIZIO_DECISIVO = std::size_t{64} * 1024;

// Whether the files of a pass over a list of this encoding start with the UTF-8 BOM, so that
// Excel, Word, Notepad and browsers read them as UTF-8: wherever the text is UTF-8 and a
// byte of it says so.
bool con_bom(Codifica codifica);

// The encoding of a list, from its BOM, else from its first INIZIO_DECISIVO bytes.
Codifica riconosci(std::string_view lista);

// Length of the well-formed UTF-8 sequence at the start of `testo`, or 0 if there is none:
// no overlong forms, no surrogates, nothing past U+10FFFF.
std::size_t sequenza_utf8(std::string_view testo);
bool utf8_valido(std::string_view testo);

// The characters of a typed text: its code points where its bytes are UTF-8, otherwise each
// byte a Windows-1252 character (the five bytes it leaves undefined read as the same code
// points, as Windows reads them).
std::u32string caratteri_digitati(std::string_view digitato);

// Text in the list's encoding (UTF-8 for UTF-16 lists, which the program reads as UTF-8);
// nullopt when it holds a character that encoding cannot hold.
std::optional<std::string> nella_codifica(std::u32string_view testo, Codifica codifica);
// Characters in ISO-8859-1, as a console that is not UTF-8 shows the program's messages (a
// character it cannot hold becomes '?').
std::string in_latin1(std::u32string_view caratteri);
// Characters, or text of the list's encoding, in UTF-8, the encoding of the messages.
std::string in_utf8(std::u32string_view caratteri);
std::string in_utf8(std::string_view testo, Codifica codifica);

// The character at the start of `testo`, which is not empty, in the list's encoding, and
// how many bytes it takes; a byte that starts no character is itself, with a length of 0.
char32_t carattere(std::string_view testo, Codifica codifica, std::size_t& lunghezza);
// Adds `c` to `testo` in the list's encoding; false when that encoding cannot hold it.
bool aggiungi(std::string& testo, char32_t c, Codifica codifica);

// The list's text as the program works with it: without its BOM, UTF-16 made UTF-8 (in
// `decodificato`, which the text is then a view of), any other encoding as it is.
std::string_view decodifica(std::string_view lista, Codifica codifica, std::string& decodificato);

// The ASCII letters in lower case, and nothing else: what a list's words, a file's name or
// an answer are compared by, whatever the locale.
constexpr char minuscola_ascii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr bool cifra(char c) {
    return c >= '0' && c <= '9';
}
std::string minuscolo_ascii(std::string_view testo);
// Whether `testo` starts with `parola`, and where it holds it, `parola` being in lower case
// (and starting with a letter) and `testo` in any case of its ASCII letters.
constexpr bool inizia_con_ascii(std::string_view testo, std::string_view parola) {
    return testo.size() >= parola.size() &&
           std::equal(parola.begin(), parola.end(), testo.begin(),
                      [](char p, char t) { return minuscola_ascii(t) == p; });
}
std::size_t trova_ascii(std::string_view testo, std::string_view parola);

// Line ends in text files. The program works with LF alone; a Windows text file stores
// each LF as CR LF.
enum class FineRiga { lf, crlf };
std::string con_fine_riga(std::string testo, FineRiga fine_riga);

}  // namespace turnolista
