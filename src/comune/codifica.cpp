#include "comune/codifica.hpp"

#include <algorithm>
#include <array>
#include <bit>

namespace turnolista {

namespace {

// What Windows-1252 makes of the bytes 0x80 to 0x9F; the five it leaves undefined stand for
// the same code points. The other bytes are their own code points.
constexpr std::array<char32_t, 32> WINDOWS1252{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t SOSTITUTO = 0xFFFD;

unsigned char byte(char c) {
    return static_cast<unsigned char>(c);
}

// UTF-8 text with each character as the one byte that `byte_di` makes of it.
template <typename ByteDi>
std::string in_un_byte(std::string_view utf8, ByteDi byte_di) {
    std::string uscita;
    uscita.reserve(utf8.size());
    for (std::size_t n = 0; !utf8.empty(); utf8.remove_prefix(std::max<std::size_t>(n, 1))) {
        uscita += byte_di(carattere(utf8, n));
    }
    return uscita;
}

// UTF-16 units to UTF-8; a unit that cannot be decoded (half a surrogate pair, an odd byte
// at the end) becomes U+FFFD.
std::string da_utf16(std::string_view lista, bool le) {
    std::string testo;
    testo.reserve(lista.size());
    char16_t alto = 0;  // the first half of a pair, waiting for its second
    for (std::size_t i = 0; i + 1 < lista.size(); i += 2) {
        const unsigned primo = byte(lista[i]);
        const unsigned secondo = byte(lista[i + 1]);
        const auto u = static_cast<char16_t>(le ? (secondo << 8) | primo : (primo << 8) | secondo);
        const bool basso = u >= 0xDC00 && u <= 0xDFFF;
        if (alto != 0 && basso) {
            aggiungi_utf8(testo, 0x10000U + ((char32_t{alto} - 0xD800U) << 10U) + (u - 0xDC00U));
            alto = 0;
            continue;
        }
        if (alto != 0) {
            aggiungi_utf8(testo, SOSTITUTO);
        }
        alto = u >= 0xD800 && u <= 0xDBFF ? u : 0;
        if (alto == 0) {
            aggiungi_utf8(testo, basso ? SOSTITUTO : char32_t{u});
        }
    }
    if (alto != 0 || lista.size() % 2 != 0) {
        aggiungi_utf8(testo, SOSTITUTO);
    }
    return testo;
}

}  // namespace

void aggiungi_utf8(std::string& uscita, char32_t c) {
    if (c < 0x80) {
        uscita += static_cast<char>(c);
        return;
    }
    // The bytes that follow the first; the first has as many high bits set, and one more.
    const int seguenti = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    uscita += static_cast<char>(((0xFF00U >> (seguenti + 1)) & 0xFFU) | (c >> (6 * seguenti)));
    for (int i = seguenti - 1; i >= 0; --i) {
        uscita += static_cast<char>(0x80U | ((c >> (6 * i)) & 0x3FU));
    }
}

std::size_t sequenza_utf8(std::string_view testo) {
    const unsigned char primo = byte(testo[0]);
    if (primo < 0x80) {
        return 1;
    }
    if (primo < 0xC2 || primo > 0xF4) {
        return 0;
    }
    // As many bytes as the first has high bits set.
    const auto lunghezza = static_cast<std::size_t>(std::countl_one(primo));
    // The second byte's range leaves out overlong forms, surrogates and what is past U+10FFFF.
    const unsigned char minimo = primo == 0xE0 ? 0xA0 : primo == 0xF0 ? 0x90 : 0x80;
    const unsigned char massimo = primo == 0xED ? 0x9F : primo == 0xF4 ? 0x8F : 0xBF;
    if (testo.size() < lunghezza || byte(testo[1]) < minimo || byte(testo[1]) > massimo) {
        return 0;
    }
    for (std::size_t i = 2; i < lunghezza; ++i) {
        if (byte(testo[i]) < 0x80 || byte(testo[i]) > 0xBF) {
            return 0;
        }
    }
    return lunghezza;
}

bool utf8_valido(std::string_view testo, std::size_t fino) {
    for (std::size_t i = 0, n = 0; i < std::min(testo.size(), fino); i += n) {
        if ((n = sequenza_utf8(testo.substr(i))) == 0) {
            return false;
        }
    }
    return true;
}

Testo decodifica(std::string lista) {
    if (lista.starts_with(BOM_UTF8)) {
        lista.erase(0, BOM_UTF8.size());
        return {std::move(lista), Codifica::utf8};
    }
    if (lista.starts_with("\xFF\xFE") || lista.starts_with("\xFE\xFF")) {
        return {da_utf16(std::string_view(lista).substr(2), lista[0] == '\xFF'), Codifica::utf8};
    }
    const std::string_view inizio = std::string_view(lista).substr(0, INIZIO_DECISIVO);
    if (std::all_of(inizio.begin(), inizio.end(), [](char c) { return byte(c) < 0x80; })) {
        return {std::move(lista), Codifica::ascii};
    }
    if (utf8_valido(lista, INIZIO_DECISIVO)) {
        return {std::move(lista), Codifica::utf8};
    }
    return {in_utf8(lista), Codifica::windows1252};
}

std::string codificato(std::string utf8, Codifica codifica) {
    if (codifica != Codifica::windows1252) {
        return utf8;
    }
    // The text came from the list's bytes and the program's ASCII: each character has its byte.
    return in_un_byte(utf8, [](char32_t c) {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            return static_cast<char>(c);
        }
        const auto* trovato = std::find(WINDOWS1252.begin(), WINDOWS1252.end(), c);
        return trovato == WINDOWS1252.end()
                   ? '?'
                   : static_cast<char>(0x80 + (trovato - WINDOWS1252.begin()));
    });
}

std::string in_utf8(std::string_view testo) {
    if (utf8_valido(testo)) {
        return std::string(testo);
    }
    std::string uscita;
    uscita.reserve(testo.size() + testo.size() / 8);
    for (const char c : testo) {
        const unsigned char b = byte(c);
        aggiungi_utf8(uscita, b >= 0x80 && b < 0xA0 ? WINDOWS1252[b - 0x80] : b);
    }
    return uscita;
}

std::size_t caratteri(std::string_view utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (byte(c) & 0xC0) != 0x80; }));
}

std::string in_latin1(std::string_view utf8) {
    return in_un_byte(utf8, [](char32_t c) { return c <= 0xFF ? static_cast<char>(c) : '?'; });
}

char32_t carattere(std::string_view utf8, std::size_t& lunghezza) {
    lunghezza = sequenza_utf8(utf8);
    if (lunghezza < 2) {
        return byte(utf8[0]);
    }
    // The first byte's bits after its length mark, then six of each following byte.
    char32_t c = byte(utf8[0]) & (0x7FU >> lunghezza);
    for (std::size_t i = 1; i < lunghezza; ++i) {
        c = (c << 6) | (byte(utf8[i]) & 0x3FU);
    }
    return c;
}

std::string minuscolo_ascii(std::string_view testo) {
    std::string uscita(testo);
    std::transform(uscita.begin(), uscita.end(), uscita.begin(), minuscola_ascii);
    return uscita;
}

std::size_t trova_ascii(std::string_view testo, std::string_view parola) {
    const auto* const dove = std::search(testo.begin(), testo.end(), parola.begin(), parola.end(),
                                         [](char t, char p) { return minuscola_ascii(t) == p; });
    return dove == testo.end() ? std::string_view::npos
                               : static_cast<std::size_t>(dove - testo.begin());
}

std::string con_fine_riga(std::string testo, FineRiga fine_riga) {
    if (fine_riga == FineRiga::lf) {
        return testo;
    }
    std::string uscita;
    uscita.reserve(testo.size() + testo.size() / 16);
    for (const char c : testo) {
        if (c == '\n') {
            uscita += '\r';
        }
        uscita += c;
    }
    return uscita;
}

}  // namespace turnolista
