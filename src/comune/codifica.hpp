#pragma once
// The encodings a fixture list comes in, as Notepad, Excel and downloads save it: UTF-8 with
// or without a BOM, UTF-16 with a BOM ("Unicode"), or Windows-1252 ("ANSI"). The program works
// on UTF-8 text; only the files it writes go back to the list's own encoding.

#include <cstddef>
#include <string>
#include <string_view>

namespace turnolista {

// How a pass's files are encoded, for Excel, Word, Notepad and browsers to read them aright.
enum class Codifica {
    ascii,        // no byte of 0x80 or more at its start: the files are the text as it is
    utf8,         // UTF-8 by a BOM or by its bytes, or UTF-16: UTF-8 files with a BOM
    windows1252,  // a byte UTF-8 cannot have: the files byte for byte in the list's encoding
};

inline constexpr std::string_view BOM_UTF8 = "\xEF\xBB\xBF";
// How much of the list's start decides its encoding (and the rest of a UTF-8 sequence that
// this cuts), as editors decide it.
inline constexpr std::size_t INIZIO_DECISIVO = std::size_t{64} * 1024;

// A list's text in UTF-8, without a BOM, and the encoding of its files. Windows-1252's 256
// bytes, its five undefined ones too, are 256 distinct characters, so that its files are
// encoded back byte for byte; a list read as UTF-8 keeps whatever bytes it has past its start.
struct Testo {
    std::string utf8;
    Codifica codifica = Codifica::ascii;
};
Testo decodifica(std::string lista);

// Length of the well-formed UTF-8 sequence at the start of `testo`, or 0 if there is none.
std::size_t sequenza_utf8(std::string_view testo);
// Whether `testo` is well-formed UTF-8, or its first `fino` bytes and a sequence they cut.
bool utf8_valido(std::string_view testo, std::size_t fino = std::string_view::npos);

// Bytes of unknown encoding (a typed name, a list's line not all UTF-8, a file's name) as UTF-8:
// as they are if UTF-8, otherwise each byte the Windows-1252 character Windows reads in it.
std::string in_utf8(std::string_view testo);
std::size_t caratteri(std::string_view utf8);
// UTF-8 text with each character as its one byte of Windows-1252, as a list's files go back
// to it, or of ISO-8859-1, as a console that is not UTF-8 shows the program's messages; '?'
// for one the encoding lacks (none in a file: it is made of the list's text and ASCII).
std::string in_un_byte(std::string_view utf8, bool windows1252);

// The character at the start of UTF-8 text, which is not empty, and how many bytes it
// takes; a byte that starts no character is itself, with a length of 0.
char32_t carattere(std::string_view utf8, std::size_t& lunghezza);
void aggiungi_utf8(std::string& uscita, char32_t c);

// The ASCII letters in lower case, and nothing else: what a list's words, a file's name or
// an answer are compared by, whatever the locale.
constexpr char minuscola_ascii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr bool cifra(char c) {
    return c >= '0' && c <= '9';
}
std::string minuscolo_ascii(std::string_view testo);
std::size_t trova_ascii(std::string_view testo, std::string_view parola);
constexpr auto FINE = std::string_view::npos;  // what a search that finds nothing gives

// Line ends: the program works with LF alone; a Windows text file stores each LF as CR LF.
enum class FineRiga { lf, crlf };
std::string con_fine_riga(std::string testo, FineRiga fine_riga);

}  // namespace turnolista
