#include "comune/codifica.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <numeric>

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

char32_t da_windows1252(unsigned char b) {
    return b >= 0x80 && b < 0xA0 ? WINDOWS1252[b - 0x80] : b;
}

std::u32string da_windows1252(std::string_view testo) {
    std::u32string caratteri;
    for (const char c : testo) {
        caratteri += da_windows1252(byte(c));
    }
    return caratteri;
}

std::optional<char> in_windows1252(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<char>(c);
    }
    const auto* trovato = std::find(WINDOWS1252.begin(), WINDOWS1252.end(), c);
    if (trovato == WINDOWS1252.end()) {
        return std::nullopt;
    }
    return static_cast<char>(0x80 + (trovato - WINDOWS1252.begin()));
}

void in_utf8(std::string& uscita, char32_t c) {
    if (c < 0x80) {
        uscita += static_cast<char>(c);
    } else if (c < 0x800) {
        uscita += static_cast<char>(0xC0 | (c >> 6));
        uscita += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        uscita += static_cast<char>(0xE0 | (c >> 12));
        uscita += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        uscita += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        uscita += static_cast<char>(0xF0 | (c >> 18));
        uscita += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        uscita += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        uscita += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The code point of a well-formed UTF-8 sequence of `lunghezza` bytes.
char32_t punto_utf8(std::string_view sequenza, std::size_t lunghezza) {
    static constexpr std::array<unsigned char, 5> MASCHERA{0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t c = byte(sequenza[0]) & MASCHERA[lunghezza];
    for (std::size_t i = 1; i < lunghezza; ++i) {
        c = (c << 6) | (byte(sequenza[i]) & 0x3F);
    }
    return c;
}

// The lower case of a letter of Windows-1252, by its code point.
char32_t minuscola(char32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return c + 0x20;
    }
    switch (c) {
        case 0x0160:
        case 0x0152:
        case 0x017D:
            return c + 1;
        case 0x0178:
            return 0xFF;
        default:
            return c;
    }
}

}  // namespace

bool con_bom(Codifica codifica) {
    return codifica != Codifica::ascii && codifica != Codifica::windows1252;
}

std::size_t sequenza_utf8(std::string_view testo) {
    const unsigned char primo = byte(testo[0]);
    if (primo < 0x80) {
        return 1;
    }
    std::size_t lunghezza = 0;
    unsigned char minimo = 0x80;
    unsigned char massimo = 0xBF;
    if (primo >= 0xC2 && primo <= 0xDF) {
        lunghezza = 2;
    } else if (primo >= 0xE0 && primo <= 0xEF) {
        lunghezza = 3;
        minimo = primo == 0xE0 ? 0xA0 : 0x80;
        massimo = primo == 0xED ? 0x9F : 0xBF;
    } else if (primo >= 0xF0 && primo <= 0xF4) {
        lunghezza = 4;
        minimo = primo == 0xF0 ? 0x90 : 0x80;
        massimo = primo == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
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

namespace {
// Whether no byte of `testo` is 0x80 or more, eight bytes at a time: a list's start is read
// on every pass.
bool solo_ascii(std::string_view testo) {
    constexpr std::uint64_t ALTI = 0x8080808080808080ULL;
    constexpr std::size_t PAROLE = 8;
    constexpr std::size_t PASSO = PAROLE * sizeof(std::uint64_t);
    std::size_t i = 0;
    for (; i + PASSO <= testo.size(); i += PASSO) {
        std::array<std::uint64_t, PAROLE> parole{};
        std::memcpy(parole.data(), testo.data() + i, PASSO);
        const std::uint64_t tutte =
            std::accumulate(parole.begin(), parole.end(), std::uint64_t{0}, std::bit_or<>());
        if ((tutte & ALTI) != 0) {
            return false;
        }
    }
    return std::none_of(testo.begin() + static_cast<std::ptrdiff_t>(i), testo.end(),
                        [](char c) { return byte(c) >= 0x80; });
}

// How many bytes the UTF-8 sequence that `testo` ends with lacks, as its first byte tells.
std::size_t mancanti(std::string_view testo) {
    for (std::size_t indietro = 1; indietro <= 4 && indietro <= testo.size(); ++indietro) {
        const unsigned char c = byte(testo[testo.size() - indietro]);
        if ((c & 0xC0) == 0x80) {
            continue;  // a continuation byte: look further back
        }
        const std::size_t lunghezza = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return lunghezza > indietro ? lunghezza - indietro : 0;
    }
    return 0;
}

// How far `testo` is well-formed UTF-8 from its start.
std::size_t parte_valida(std::string_view testo) {
    std::size_t i = 0;
    while (i < testo.size()) {
        const std::size_t n = sequenza_utf8(testo.substr(i));
        if (n == 0) {
            break;
        }
        i += n;
    }
    return i;
}
}  // namespace

bool utf8_valido(std::string_view testo) {
    return parte_valida(testo) == testo.size();
}

Codifica riconosci(std::string_view inizio) {
    if (inizio.starts_with(BOM_UTF8)) {
        return Codifica::utf8_bom;
    }
    if (inizio.starts_with("\xFF\xFE")) {
        return Codifica::utf16le;
    }
    if (inizio.starts_with("\xFE\xFF")) {
        return Codifica::utf16be;
    }
    if (solo_ascii(inizio)) {
        return Codifica::ascii;
    }
    return utf8_valido(inizio) ? Codifica::utf8 : Codifica::windows1252;
}

std::u32string caratteri_digitati(std::string_view digitato) {
    std::u32string caratteri;
    if (utf8_valido(digitato)) {
        while (!digitato.empty()) {
            const std::size_t n = sequenza_utf8(digitato);
            caratteri += punto_utf8(digitato, n);
            digitato.remove_prefix(n);
        }
    } else {
        caratteri = da_windows1252(digitato);
    }
    return caratteri;
}

std::optional<std::string> nella_codifica(std::u32string_view testo, Codifica codifica) {
    std::string uscita;
    for (const char32_t c : testo) {
        if (codifica != Codifica::windows1252) {
            in_utf8(uscita, c);
        } else if (const auto b = in_windows1252(c)) {
            uscita += *b;
        } else {
            return std::nullopt;
        }
    }
    return uscita;
}

std::string in_latin1(std::u32string_view caratteri) {
    std::string uscita;
    for (const char32_t c : caratteri) {
        uscita += c <= 0xFF ? static_cast<char>(c) : '?';
    }
    return uscita;
}

std::string in_utf8(std::string_view testo, Codifica codifica) {
    if (codifica != Codifica::windows1252) {
        return std::string(testo);
    }
    std::string uscita;
    for (const char c : testo) {
        in_utf8(uscita, da_windows1252(byte(c)));
    }
    return uscita;
}

std::string in_utf8(std::u32string_view caratteri) {
    std::string uscita;
    for (const char32_t c : caratteri) {
        in_utf8(uscita, c);
    }
    return uscita;
}

std::string piegata(std::string_view testo, Codifica codifica, bool accenti,
                    std::vector<std::size_t>& origine) {
    // The base letters of U+00E0 to U+00FF; "_" where there is none (æ, ÷, þ).
    constexpr std::string_view BASI = "aaaaaa_ceeeeiiiidnooooo_ouuuuy_y";
    const auto senza_accento = [&](char32_t c) -> char32_t {
        if (c >= 0xE0 && c <= 0xFF && BASI[c - 0xE0] != '_') {
            return static_cast<unsigned char>(BASI[c - 0xE0]);
        }
        return c == 0x0161 ? 's' : c == 0x017E ? 'z' : c;  // š, ž
    };
    const bool ansi = codifica == Codifica::windows1252;
    std::string uscita;
    origine.clear();
    for (std::size_t i = 0; i < testo.size();) {
        const std::string_view resto = testo.substr(i);
        const std::size_t valida = ansi ? 1 : sequenza_utf8(resto);
        const std::size_t n = std::max<std::size_t>(valida, 1);
        const std::size_t prima = uscita.size();
        if (valida == 0) {
            uscita += resto.front();
        } else {
            char32_t c = minuscola(ansi ? da_windows1252(byte(resto[0])) : punto_utf8(resto, n));
            c = accenti ? senza_accento(c) : c;
            if (ansi) {
                uscita += *in_windows1252(c);
            } else {
                in_utf8(uscita, c);
            }
        }
        origine.insert(origine.end(), uscita.size() - prima, i);
        i += n;
    }
    origine.push_back(testo.size());
    return uscita;
}

Risultato<Codifica> TestoOriginale::riconosci() {
    // Not filled beforehand: only what is read is ever looked at. A UTF-8 sequence that the
    // window cuts is read to its end, so that it decides like any other.
    memoria_ = std::make_unique_for_overwrite<char[]>(INIZIO_DECISIVO + 3);
    std::size_t letti = 0;
    std::size_t voluti = INIZIO_DECISIVO;
    while (letti < voluti) {
        const auto n = grezzo_.leggi({memoria_.get() + letti, voluti - letti});
        if (!n) {
            return n.errore();
        }
        if (*n == 0) {
            break;
        }
        letti += *n;
        if (letti == INIZIO_DECISIVO) {
            voluti += mancanti({memoria_.get(), letti});
        }
    }
    inizio_ = std::string_view(memoria_.get(), letti);
    codifica_ = turnolista::riconosci(inizio_);
    switch (codifica_) {
        case Codifica::utf8_bom:
            dato_ = BOM_UTF8.size();
            break;
        case Codifica::utf16le:
        case Codifica::utf16be:
            dato_ = 2;
            break;
        default:
            break;
    }
    return codifica_;
}

Risultato<std::size_t> TestoOriginale::leggi(std::span<char> dove) {
    if (codifica_ == Codifica::utf16le || codifica_ == Codifica::utf16be) {
        return leggi_utf16(dove);
    }
    // The start that decided comes first; then the rest, straight into the caller's memory.
    if (dato_ < inizio_.size()) {
        const std::size_t n = std::min(dove.size(), inizio_.size() - dato_);
        std::memcpy(dove.data(), inizio_.data() + dato_, n);
        dato_ += n;
        return n;
    }
    return grezzo_.leggi(dove);
}

Risultato<std::size_t> TestoOriginale::leggi_utf16(std::span<char> dove) {
    while (consegnati_ == decodificato_.size()) {
        decodificato_.clear();
        consegnati_ = 0;
        if (dato_ < inizio_.size()) {
            decodifica(inizio_.substr(dato_), false);
            dato_ = inizio_.size();
            continue;
        }
        std::array<char, 16384> blocco;
        const auto letti = grezzo_.leggi(blocco);
        if (!letti) {
            return letti.errore();
        }
        decodifica({blocco.data(), *letti}, *letti == 0);
        if (*letti == 0 && decodificato_.empty()) {
            return std::size_t{0};
        }
    }
    const std::size_t n = std::min(dove.size(), decodificato_.size() - consegnati_);
    std::memcpy(dove.data(), decodificato_.data() + consegnati_, n);
    consegnati_ += n;
    return n;
}

// UTF-16 units to UTF-8; a unit that cannot be decoded (half a surrogate pair, an odd byte
// at the end) becomes U+FFFD.
void TestoOriginale::decodifica(std::string_view dati, bool fine) {
    const bool le = codifica_ == Codifica::utf16le;
    const auto unita = [&](char16_t u) {
        const bool alto = u >= 0xD800 && u <= 0xDBFF;
        const bool basso = u >= 0xDC00 && u <= 0xDFFF;
        if (alto_in_sospeso_ != 0 && basso) {
            const char32_t prima = alto_in_sospeso_;
            const char32_t seconda = u;
            in_utf8(decodificato_, 0x10000U + ((prima - 0xD800U) << 10U) + (seconda - 0xDC00U));
            alto_in_sospeso_ = 0;
            return;
        }
        if (alto_in_sospeso_ != 0) {
            in_utf8(decodificato_, SOSTITUTO);
            alto_in_sospeso_ = 0;
        }
        if (alto) {
            alto_in_sospeso_ = u;
        } else {
            in_utf8(decodificato_, basso ? SOSTITUTO : char32_t{u});
        }
    };
    for (const char c : dati) {
        if (!byte_in_sospeso_) {
            byte_in_sospeso_ = byte(c);
            continue;
        }
        const unsigned primo = *byte_in_sospeso_;
        const unsigned secondo = byte(c);
        byte_in_sospeso_.reset();
        unita(static_cast<char16_t>(le ? (secondo << 8) | primo : (primo << 8) | secondo));
    }
    if (fine) {
        if (alto_in_sospeso_ != 0 || byte_in_sospeso_) {
            in_utf8(decodificato_, SOSTITUTO);
        }
        alto_in_sospeso_ = 0;
        byte_in_sospeso_.reset();
    }
}

}  // namespace turnolista
