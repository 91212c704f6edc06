#include "dialogo/testo.hpp"

#include "comune/codifica.hpp"

#include <algorithm>

namespace turnolista {

namespace {

void ottale(std::string& uscita, unsigned char byte) {
    uscita += '\\';
    uscita += static_cast<char>('0' + ((byte >> 6) & 7));
    uscita += static_cast<char>('0' + ((byte >> 3) & 7));
    uscita += static_cast<char>('0' + (byte & 7));
}

}  // namespace

std::string nel_set_della_console(std::string_view utf8, bool console_utf8) {
    // ASCII is the same in both; most messages are, and a pass prints several.
    const bool ascii = std::all_of(utf8.begin(), utf8.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return console_utf8 || ascii ? std::string(utf8) : in_latin1(utf8);
}

std::string citazione(std::string_view testo, bool utf8, bool barre) {
    const auto byte = [](char c) { return static_cast<unsigned char>(c); };
    std::string uscita;
    while (!testo.empty()) {
        const std::size_t lunghezza = utf8 ? std::max<std::size_t>(sequenza_utf8(testo), 1) : 1;
        const std::string_view pezzo = testo.substr(0, lunghezza);
        const unsigned char primo = byte(pezzo.front());
        // C0 controls and DEL; the C1 controls are U+0080 to U+009F in UTF-8 and the bytes
        // 0x80 to 0x9F elsewhere.
        const bool c1 = utf8 ? (lunghezza == 2 && primo == 0xC2 && byte(pezzo[1]) < 0xA0)
                             : (primo >= 0x80 && primo < 0xA0);
        if (primo < 0x20 || primo == 0x7F || c1) {
            for (const char c : pezzo) {
                ottale(uscita, byte(c));
            }
        } else if (primo == '\\' && barre) {
            uscita += "\\\\";
        } else {
            uscita += pezzo;
        }
        testo.remove_prefix(lunghezza);
    }
    return uscita;
}

}  // namespace turnolista
