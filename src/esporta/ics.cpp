#include "esporta/ics.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <numeric>

namespace turnolista {

using namespace std::chrono;
using std::chrono::year;

namespace {

constexpr std::size_t PIEGA = 75;  // octets of a content line before it is folded

// The same rule for today's date: the change is at 01:00 UTC on both Sundays.
sys_days ultima_domenica(year anno, month mese) {
    const sys_days ultimo{anno / mese / last};
    return ultimo - (weekday(ultimo) - Sunday);
}

void in_cifre(std::string& uscita, long long valore, std::size_t cifre_minime) {
    std::array<char, 24> testo{};
    const char* fine = std::to_chars(testo.data(), testo.data() + testo.size(), valore).ptr;
    const auto scritte = static_cast<std::size_t>(fine - testo.data());
    uscita.append(std::max(cifre_minime, scritte) - scritte, '0').append(testo.data(), scritte);
}

// FNV-1a: a short, stable mark of a text, the same on every system and in every version.
std::uint64_t fnv1a(std::string_view testo) {
    return std::accumulate(testo.begin(), testo.end(), std::uint64_t{14695981039346656037ULL},
                           [](std::uint64_t h, char c) {
                               return (h ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
                           });
}

std::string esadecimale(std::uint64_t valore) {
    constexpr std::string_view CIFRE = "0123456789abcdef";
    std::string uscita(16, '0');
    for (std::size_t i = uscita.size(); i-- > 0; valore >>= 4U) {
        uscita[i] = CIFRE[valore & 0xFU];
    }
    return uscita;
}

}  // namespace

year_month_day oggi_a_roma(sys_seconds adesso) {
    const year anno = year_month_day(floor<days>(adesso)).year();
    const bool estate = adesso >= ultima_domenica(anno, March) + hours(1) &&
                        adesso < ultima_domenica(anno, October) + hours(1);
    return {floor<days>(adesso + hours(estate ? 2 : 1))};
}

std::string testo_ics(std::string_view testo) {
    std::string uscita;
    uscita.reserve(testo.size() + testo.size() / 4);
    for (const char c : testo) {
        if (c == '\\' || c == ';' || c == ',') {
            uscita += '\\';
            uscita += c;
        } else if (c == '\n') {
            uscita += "\\n";
        } else if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') {
            uscita += c;
        }
    }
    return uscita;
}

void riga_ics(std::string& uscita, std::string_view riga) {
    std::size_t spazio = PIEGA;
    while (riga.size() > spazio) {
        std::size_t taglio = spazio;
        while (taglio > 0 && (static_cast<unsigned char>(riga[taglio]) & 0xC0) == 0x80) {
            --taglio;
        }
        uscita.append(riga.substr(0, taglio)).append("\r\n ");
        riga.remove_prefix(taglio);
        spazio = PIEGA - 1;
    }
    uscita.append(riga).append("\r\n");
}

std::string data_ics(sys_days giorno) {
    const year_month_day data(giorno);
    std::string uscita;
    in_cifre(uscita, static_cast<int>(data.year()), 4);
    in_cifre(uscita, static_cast<unsigned>(data.month()), 2);
    in_cifre(uscita, static_cast<unsigned>(data.day()), 2);
    return uscita;
}

std::string data_ora_ics(sys_seconds istante) {
    const sys_days giorno = floor<days>(istante);
    const hh_mm_ss ora(istante - giorno);
    std::string uscita = data_ics(giorno) + "T";
    in_cifre(uscita, ora.hours().count(), 2);
    in_cifre(uscita, ora.minutes().count(), 2);
    in_cifre(uscita, ora.seconds().count(), 2);
    return uscita;
}

std::string impronta(std::string_view testo) {
    return esadecimale(fnv1a(testo));
}

}  // namespace turnolista
