#include "esporta/calendario.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>
#include <numeric>

#include "comune/codifica.hpp"

namespace turnolista {

using namespace std::chrono;

namespace {

constexpr std::size_t PIEGA = 75;  // octets of a content line before it is folded
constexpr hours DURATA{2};         // of a match with its time

// The calendar's own lines; then Europe/Rome's time, as the European Union has it since 1996.
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

// Adds to `testo` `valore` in base `base`, with zeros before it up to `n` digits.
void cifre(std::string& testo, std::uint64_t valore, int base, std::size_t n) {
    std::array<char, 64> scritte{};
    const char* const fine =
        std::to_chars(scritte.data(), scritte.data() + scritte.size(), valore, base).ptr;
    const auto quante = static_cast<std::size_t>(fine - scritte.data());
    testo.append(n - std::min(n, quante), '0').append(scritte.data(), quante);
}

// The day of `istante` as the file writes it, 20260913, and with `ora` its time: 20260913T103000.
std::string data(sys_seconds istante, bool ora) {
    const sys_days giorno = floor<days>(istante);
    const year_month_day d(giorno);
    const hh_mm_ss t(istante - giorno);
    const auto tempo = (t.hours().count() * 100 + t.minutes().count()) * 100 + t.seconds().count();
    std::string testo;
    cifre(testo,
          (static_cast<unsigned long long>(int{d.year()}) * 100 + unsigned{d.month()}) * 100 +
              unsigned{d.day()},
          10, 8);
    if (ora) {
        cifre(testo.append(1, 'T'), static_cast<std::uint64_t>(tempo), 10, 6);
    }
    return testo;
}

// Adds to `testo` the content line `inizio` ("SUMMARY:"), then `valore` escaped as a property
// value takes it, with no control character but the tab, which it cannot hold; folded every 75
// octets, never inside a UTF-8 sequence. Escaped and folded in place: no line of its own to copy.
void riga(std::string& testo, std::string_view inizio, std::string_view valore = {}) {
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

}  // namespace

std::string file_ics(std::string_view nome, int stagione, const std::vector<Evento>& eventi,
                     sys_seconds adesso) {
    std::string testo(INIZIO);
    testo.reserve(eventi.size() * 600);  // an event takes 300-odd octets: room made once
    riga(testo, "X-WR-CALNAME:", nome);
    testo.append(FUSO);
    // The revision: the minutes from the start of 2026 to when the file is written.
    const auto minuti = duration_cast<minutes>(adesso - sys_days(year(2026) / January / 1));
    const std::string revisione = std::to_string(std::max<long long>(minuti.count(), 0));
    const std::string scritto = data(adesso, true) + "Z";  // every event's DTSTAMP
    std::map<std::uint64_t, int> uid;                      // how many events had each mark so far
    const std::string anno = std::to_string(stagione) + '-';  // every UID's start
    std::string valore;  // the UID, made where the last one was
    for (const Evento& evento : eventi) {
        // Not from the date, time or venue, so that importing the calendar again after the
        // league moved a match updates that event; SEQUENCE makes a later file a newer revision.
        // FNV-1a in 16 hexadecimal digits: short, and the same on every system and version.
        const std::string chiave = evento.n + '\0' + evento.partita;
        const std::uint64_t marca =
            std::accumulate(chiave.begin(), chiave.end(), std::uint64_t{14695981039346656037ULL},
                            [](std::uint64_t h, char c) {
                                return (h ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
                            });
        const int volte = ++uid[marca];
        riga(testo, "BEGIN:VEVENT");
        cifre(valore.assign(anno), marca, 16, 16);
        riga(testo, "UID:",
             valore.append(volte > 1 ? '-' + std::to_string(volte) : "").append("@turnolista"));
        riga(testo, "DTSTAMP:", scritto);
        riga(testo, "SEQUENCE:", revisione);
        const bool a_ora = evento.ora >= seconds(0);
        const sys_seconds inizio = sys_days(evento.giorno) + std::max(evento.ora, seconds(0));
        riga(testo,
             a_ora ? "DTSTART;TZID=Europe/Rome:" : "DTSTART;VALUE=DATE:", data(inizio, a_ora));
        riga(testo, a_ora ? "DTEND;TZID=Europe/Rome:" : "DTEND;VALUE=DATE:",
             data(inizio + (a_ora ? DURATA : days(1)), a_ora));
        riga(testo, "SUMMARY:", in_utf8(evento.partita));
        if (!evento.luogo.empty()) {
            riga(testo, "LOCATION:", in_utf8(evento.luogo));
        }
        riga(testo, "DESCRIPTION:", in_utf8(evento.riga));
        riga(testo, "END:VEVENT");
    }
    riga(testo, "END:VCALENDAR");
    return testo;
}

}  // namespace turnolista
