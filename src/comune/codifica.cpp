#include "comune/codifica.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <numeric>

namespace turnolista {

namespace {

// What Windows-1252 makes of the bytes 0x80 to 0x9F (see Testo); the others are their own.
constexpr std::array<char32_t, 32> WINDOWS1252{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t SOSTITUTO = 0xFFFD;

unsigned char byte(char c) {
    return static_cast<unsigned char>(c);
}

// A byte that continues a UTF-8 sequence, and starts no character.
bool seguito(char c) {
    return (byte(c) & 0xC0U) == 0x80;
}

// UTF-16 units to UTF-8; one that cannot be decoded (half a pair, an odd last byte) is U+FFFD.
std::string da_utf16(std::string_view lista, bool le) {
    const std::size_t alta = le ? 1 : 0;  // of a unit's two bytes, the high one
    const auto unita = [&](std::size_t i) {
        return static_cast<char32_t>((byte(lista[i + alta]) << 8U) | byte(lista[i + 1 - alta]));
    };
    std::string testo;
    testo.reserve(lista.size());
    for (std::size_t i = 0; i + 1 < lista.size(); i += 2) {
        const char32_t u = unita(i);
        const bool alto = u >= 0xD800 && u <= 0xDBFF;  // the first half of a pair
        const char32_t basso = alto && i + 3 < lista.size() ? unita(i + 2) : 0;
        if (basso >= 0xDC00 && basso <= 0xDFFF) {
            aggiungi_utf8(testo, 0x10000U + ((u - 0xD800U) << 10U) + (basso - 0xDC00U));
            i += 2;
        } else if (!alto || i + 3 != lista.size()) {
            // A first half that an odd byte at the end follows is one U+FFFD with it.
            aggiungi_utf8(testo, u >= 0xD800 && u <= 0xDFFF ? SOSTITUTO : u);
        }
    }
    if (lista.size() % 2 != 0) {
        aggiungi_utf8(testo, SOSTITUTO);
    }
    return testo;
}

}  // namespace

void aggiungi_utf8(std::string& uscita, char32_t c) {
    // How many bytes follow the first, whose high bits say so: 0xxxxxxx for none, 110xxxxx,
    // 1110xxxx and 11110xxx for one, two or three.
    const int seguenti = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    uscita += static_cast<char>(((0xF0E0C000U >> (8 * seguenti)) & 0xFFU) | (c >> (6 * seguenti)));
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
    const auto lunghezza = static_cast<std::size_t>(std::countl_one(primo));
    // The second byte's range leaves out overlong forms, surrogates and what is past U+10FFFF.
    const unsigned char minimo = primo == 0xE0 ? 0xA0 : primo == 0xF0 ? 0x90 : 0x80;
    const unsigned char massimo = primo == 0xED ? 0x9F : primo == 0xF4 ? 0x8F : 0xBF;
    const bool valida = testo.size() >= lunghezza && byte(testo[1]) >= minimo &&
                        byte(testo[1]) <= massimo &&
                        std::ranges::all_of(testo.substr(2, lunghezza - 2), seguito);
    return valida ? lunghezza : 0;
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
    // ASCII first, by a loop far faster than the UTF-8 check: most lists are. Every byte's bits
    // together, with no test a byte, are a loop that the compiler makes one of vectors.
    const std::string_view inizio = std::string_view(lista).substr(0, INIZIO_DECISIVO);
    if (std::accumulate(inizio.begin(), inizio.end(), 0U,
                        [](unsigned bit, char c) { return bit | byte(c); }) < 0x80) {
        return {std::move(lista), Codifica::ascii};
    }
    if (utf8_valido(lista, INIZIO_DECISIVO)) {
        return {std::move(lista), Codifica::utf8};
    }
    return {in_utf8(lista), Codifica::windows1252};
}

std::string in_utf8(std::string_view testo) {
    if (utf8_valido(testo)) {
        return std::string(testo);
    }
    std::string uscita;
    uscita.reserve(testo.size() + testo.size() / 8);
    for (const char c : testo) {
        const auto b = static_cast<unsigned char>(c);
        aggiungi_utf8(uscita, b >= 0x80 && b < 0xA0 ? WINDOWS1252[b - 0x80] : b);
    }
    return uscita;
}

std::size_t caratteri(std::string_view utf8) {
    return utf8.size() - static_cast<std::size_t>(std::ranges::count_if(utf8, seguito));
}

std::string in_un_byte(std::string_view utf8, bool windows1252) {
    std::string uscita;
    uscita.reserve(utf8.size());
    for (std::size_t n = 0; !utf8.empty(); utf8.remove_prefix(std::max<std::size_t>(n, 1))) {
        const char32_t c = carattere(utf8, n);
        if (windows1252 && (c > 0xFF || (c >= 0x80 && c < 0xA0))) {
            const auto i = std::ranges::find(WINDOWS1252, c) - WINDOWS1252.begin();
            uscita += i < std::ssize(WINDOWS1252) ? static_cast<char>(0x80 + i) : '?';
        } else {
            uscita += c <= 0xFF ? static_cast<char>(c) : '?';
        }
    }
    return uscita;
}

char32_t carattere(std::string_view utf8, std::size_t& lunghezza) {
    lunghezza = sequenza_utf8(utf8);
    // The first byte's bits after its length mark (all of a lone byte), then six of each other.
    char32_t c = byte(utf8[0]) & (lunghezza < 2 ? 0xFFU : 0x7FU >> lunghezza);
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
    const auto* const trovata =
        std::search(testo.begin(), testo.end(), parola.begin(), parola.end(),
                    [](char t, char p) { return minuscola_ascii(t) == p; });
    return trovata == testo.end() ? FINE : static_cast<std::size_t>(trovata - testo.begin());
}

std::string con_fine_riga(std::string testo, FineRiga fine_riga) {
    if (fine_riga == FineRiga::lf) {
        return testo;
    }
    std::string uscita;
    uscita.reserve(testo.size() + testo.size() / 16);
    for (const char& c : testo) {
        uscita += c == '\n' ? "\r\n" : std::string_view(&c, 1);
    }
    return uscita;
}

}  // namespace turnolista
