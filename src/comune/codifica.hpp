#pragma once
// The encodings a league's fixture list comes in, as Notepad, Excel and downloads save it:
// UTF-8 with or without a BOM, UTF-16 with a BOM ("Unicode"), or Windows-1252 ("ANSI").
// The list's encoding is decided once, from its start, as editors decide it; the program
// then works on its text without the BOM, UTF-16 made UTF-8.

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "comune/esito.hpp"
#include "comune/sorgente.hpp"

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

// The encoding of a list that starts with `inizio`, which ends where a UTF-8 sequence would.
Codifica riconosci(std::string_view inizio);

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

// The text with the letters of Windows-1252 in lower case and, where `accenti`, without
// their accents ("CANTÙ" is "cantù", or "cantu"); `origine` gets, for each byte of it and
// one past its end, where in `testo` that comes from. Bytes that are no character of the
// encoding stay as they are.
std::string piegata(std::string_view testo, Codifica codifica, bool accenti,
                    std::vector<std::size_t>& origine);

// The list's text as the program works with it, read from its bytes.
class TestoOriginale final : public Sorgente {
  public:
    explicit TestoOriginale(Sorgente& grezzo) : grezzo_(grezzo) {}

    // Reads the list's start and decides its encoding; once, before anything is read.
    Risultato<Codifica> riconosci();

    Risultato<std::size_t> leggi(std::span<char> dove) override;

  private:
    Risultato<std::size_t> leggi_utf16(std::span<char> dove);
    void decodifica(std::string_view dati, bool fine);

    Sorgente& grezzo_;
    Codifica codifica_ = Codifica::ascii;
    std::unique_ptr<char[]> memoria_;
    std::string_view inizio_;  // the start that was read to decide, BOM and all
    std::size_t dato_ = 0;     // how much of it has been handed on
    // UTF-16: a byte of a unit cut by a read, the first half of a surrogate pair, and text
    // decoded but not yet handed on.
    std::optional<unsigned char> byte_in_sospeso_;
    char16_t alto_in_sospeso_ = 0;
    std::string decodificato_;
    std::size_t consegnati_ = 0;
};

}  // namespace turnolista
