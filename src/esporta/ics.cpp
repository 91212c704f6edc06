#include "esporta/calendario.hpp"

#include <algorithm>
#include <numeric>

namespace turnolista {

using namespace std::chrono;
using std::chrono::year;

namespace {

constexpr std::size_t PIEGA = 75;  // octets of a content line before it is folded

// The calendar's own lines; then Europe/Rome as the file describes it: CET, and CEST from the
// last Sunday of March to the last Sunday of October, as the European Union has it since 1996.
constexpr std::string_view INIZIO =
    "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//turnolista//turnolista " TURNOLISTA_VERSIONE
    "//IT\r\nCALSCALE:GREGORIAN\r\n";
constexpr std::string_view FUSO =
    "BEGIN:VTIMEZONE\r\nTZID:Europe/Rome\r\n"
    "BEGIN:DAYLIGHT\r\nTZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\nTZNAME:CEST\r\n"
    "DTSTART:19700329T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\r\nEND:DAYLIGHT\r\n"
    "BEGIN:STANDARD\r\nTZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\nTZNAME:CET\r\n"
    "DTSTART:19701025T030000\r\nRRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\r\nEND:STANDARD\r\n"
    "END:VTIMEZONE\r\n";

// The same rule for today's date: the change is at 01:00 UTC on both Sundays.
sys_days ultima_domenica(year anno, month mese) {
    const sys_days ultimo{anno / mese / last};
    return ultimo - (weekday(ultimo) - Sunday);
}

// `valore` with zeros before it up to `n` digits.
std::string cifre(long long valore, std::size_t n) {
    std::string testo = std::to_string(valore);
    return std::move(testo.insert(0, n - std::min(n, testo.size()), '0'));
}

}  // namespace

year_month_day oggi_a_roma(sys_seconds adesso) {
    const year anno = year_month_day(floor<days>(adesso)).year();
    const bool estate = adesso >= ultima_domenica(anno, March) + hours(1) &&
                        adesso < ultima_domenica(anno, October) + hours(1);
    return {floor<days>(adesso + hours(estate ? 2 : 1))};
}

Ics::Ics(std::string_view nome) : testo(INIZIO) {
    riga("X-WR-CALNAME:", nome);
    testo.append(FUSO);
}

void Ics::riga(std::string_view inizio, std::string_view valore) {
    // Written where it stays, escaped and folded in place: no line of its own to copy.
    std::size_t pezzo = testo.size();
    testo.append(inizio).append(valore);
    for (std::size_t i = testo.size() - valore.size(); i < testo.size(); ++i) {
        const char c = testo[i];
        if (c == '\\' || c == ';' || c == ',' || c == '\n') {
            testo.insert(i++, 1, '\\');
            testo[i] = c == '\n' ? 'n' : c;
        } else if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
            testo.erase(i--, 1);
        }
    }
    for (std::size_t spazio = PIEGA; testo.size() - pezzo > spazio; spazio = PIEGA - 1) {
        std::size_t taglio = pezzo + spazio;
        while (taglio > pezzo && (static_cast<unsigned char>(testo[taglio]) & 0xC0) == 0x80) {
            --taglio;
        }
        testo.insert(taglio, "\r\n ");
        pezzo = taglio + 3;
    }
    testo.append("\r\n");
}

std::string data(sys_seconds istante, bool ora) {
    const sys_days giorno = floor<days>(istante);
    const year_month_day d(giorno);
    const hh_mm_ss t(istante - giorno);
    std::string testo =
        cifre(static_cast<int>(d.year()), 4) +
        cifre(static_cast<unsigned>(d.month()) * 100 + static_cast<unsigned>(d.day()), 4);
    const long long tempo =
        t.hours().count() * 10000 + t.minutes().count() * 100 + t.seconds().count();
    return ora ? std::move(testo) + "T" + cifre(tempo, 6) : std::move(testo);
}

std::string impronta(std::string_view testo) {
    const std::uint64_t valore =
        std::accumulate(testo.begin(), testo.end(), std::uint64_t{14695981039346656037ULL},
                        [](std::uint64_t h, char c) {
                            return (h ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
                        });
    std::string marca;
    for (int spostamento = 60; spostamento >= 0; spostamento -= 4) {
        marca += "0123456789abcdef"[(valore >> static_cast<unsigned>(spostamento)) & 0xFU];
    }
    return marca;
}

}  // namespace turnolista
