#include "esporta/calendario.hpp"

#include <algorithm>
#include <cstdint>
#include <map>

#include "comune/codifica.hpp"
#include "esporta/ics.hpp"
#include "ricerca/ricerca.hpp"

namespace turnolista {

namespace {

using namespace std::chrono;
using std::chrono::year;

constexpr hours DURATA{2};

// Whether a field says something: a letter or a digit, not a dash or a question mark.
bool scritta(std::string_view campo) {
    return std::any_of(campo.begin(), campo.end(),
                       [](char c) { return cifra(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z'); });
}

struct Evento {
    Data data;
    std::string scritta;  // cppcheck-suppress unusedStructMember ; the date as written
    seconds ora{-1};      // from midnight; negative for the whole day
    std::string n;        // cppcheck-suppress unusedStructMember ; the fields it shows
    std::string partita;  // cppcheck-suppress unusedStructMember
    std::string luogo;    // cppcheck-suppress unusedStructMember
    std::string riga;     // cppcheck-suppress unusedStructMember
    std::uint64_t numero = 0;
};

// The day of each event, its year as calendario.hpp says: the shortest stretch of a year
// that holds every date starts after the longest gap between them.
std::vector<year_month_day> giorni(const std::vector<Evento>& eventi, year_month_day oggi) {
    // The month and the day as one number, a month taking 32.
    const auto chiave = [](const Evento& e) { return e.data.mese * 32 + e.data.giorno; };
    std::vector<unsigned> chiavi(eventi.size());
    std::transform(eventi.begin(), eventi.end(), chiavi.begin(), chiave);
    std::sort(chiavi.begin(), chiavi.end());
    unsigned inizio = chiavi.empty() ? 0 : chiavi.front();
    unsigned salto = 0;
    for (std::size_t i = 0; i < chiavi.size(); ++i) {
        const unsigned dopo = i + 1 < chiavi.size() ? chiavi[i + 1] : chiavi.front() + 12 * 32;
        if (dopo - chiavi[i] > salto) {
            salto = dopo - chiavi[i];
            inizio = i + 1 < chiavi.size() ? chiavi[i + 1] : chiavi.front();
        }
    }
    const auto dopo_capodanno = [&](const Evento& e) { return chiave(e) < inizio ? 1 : 0; };
    const auto con_anno = std::find_if(eventi.begin(), eventi.end(),
                                       [](const Evento& e) { return e.data.anno != 0; });
    int primo = con_anno != eventi.end() ? con_anno->data.anno - dopo_capodanno(*con_anno)
                                         : static_cast<int>(oggi.year()) - 1;
    const auto giorno_di = [&](const Evento& e) {
        return year(e.data.anno != 0 ? e.data.anno : primo + dopo_capodanno(e)) /
               month(e.data.mese) / day(e.data.giorno);
    };
    // The last match is the last of the season's days, whatever the years.
    const auto ultimo =
        std::max_element(eventi.begin(), eventi.end(), [&](const Evento& a, const Evento& b) {
            return std::pair(dopo_capodanno(a), chiave(a)) <
                   std::pair(dopo_capodanno(b), chiave(b));
        });
    while (con_anno == eventi.end() && ultimo != eventi.end() &&
           sys_days(giorno_di(*ultimo)) < sys_days(oggi)) {
        ++primo;
    }
    std::vector<year_month_day> giorni(eventi.size());
    std::transform(eventi.begin(), eventi.end(), giorni.begin(), giorno_di);
    return giorni;
}

// The team's match `letta`, from the line `numero` (`riga`: its lines that hold the name):
// an event for each leg with a date, or a line left out, and why.
void aggiungi(const Letta& letta, const std::string& riga, std::uint64_t numero,
              std::vector<Evento>& eventi, std::vector<Scartata>& scartate) {
    const auto scarta = [&](Scartata::Motivo motivo, std::string_view testo) {
        scartate.push_back({numero, motivo, std::string(senza_spazi(testo))});
    };
    // The first leg, and the return leg where the line gives it, home and away swapped.
    const auto partita = [&](const std::string& data, const std::string& ora,
                             const std::string& titolo) {
        const auto giorno = leggi_data(data);
        const auto orario = leggi_ora(ora);
        if (!letta.rinvio.empty()) {
            scarta(Scartata::Motivo::rinviata, letta.rinvio);
        } else if (!giorno) {
            scarta(scritta(data) ? Scartata::Motivo::data : Scartata::Motivo::senza_data, data);
        } else if (!orario && scritta(ora)) {
            scarta(Scartata::Motivo::ora, ora);
        } else {
            eventi.push_back({*giorno, data, orario.value_or(seconds(-1)), letta.n, titolo,
                              letta.luogo, riga, numero});
        }
    };
    partita(letta.data, letta.ora, letta.partita);
    if (letta.ritorno) {
        partita(letta.ritorno->first, letta.ritorno->second, letta.ospite + " - " + letta.casa);
    }
}

// The calendar of the events read from the list, and of the lines left out.
EsitoCalendario scrivi(const std::vector<Evento>& eventi, std::vector<Scartata> scartate,
                       std::string_view squadra, sys_seconds adesso) {
    const year_month_day oggi = oggi_a_roma(adesso);
    const std::vector<year_month_day> giorno = giorni(eventi, oggi);
    // The season is that of the first match on a day the calendar has (29/02 may have none).
    std::vector<year_month_day> veri;
    std::copy_if(giorno.begin(), giorno.end(), std::back_inserter(veri),
                 [](const year_month_day& g) { return g.ok(); });
    const auto [prima, ultima] = std::minmax_element(veri.begin(), veri.end());
    const year_month_day da = veri.empty() ? oggi : *prima;
    EsitoCalendario esito{.stagione = static_cast<int>(da.year()) - (da.month() >= July ? 0 : 1),
                          .scartate = std::move(scartate)};
    if (!veri.empty() && ultima->year() == da.year() && da.month() < July) {
        esito.anno = static_cast<int>(da.year());
    }

    Ics ics(std::string(squadra) + " " +
            (esito.anno
                 ? std::to_string(*esito.anno)
                 : std::to_string(esito.stagione) + "/" + std::to_string(esito.stagione + 1)));
    // The revision: the minutes from the start of 2026 to when the file is written.
    const auto minuti = duration_cast<minutes>(adesso - sys_days(year(2026) / January / 1));
    const std::string revisione = std::to_string(std::max<long long>(minuti.count(), 0));
    const std::string scritto = data_ora(adesso) + "Z";  // every event's DTSTAMP
    std::map<std::string, int> uid;                      // how many events had each so far
    for (std::size_t i = 0; i < eventi.size(); ++i) {
        const Evento& evento = eventi[i];
        if (!giorno[i].ok()) {
            esito.scartate.push_back(
                {evento.numero, Scartata::Motivo::data_inesistente, evento.scritta});
            continue;
        }
        const std::string marca = impronta(evento.n + '\0' + evento.partita);
        const int prima_volta = uid[marca]++;
        ++esito.eventi;
        ics.riga("BEGIN:VEVENT");
        ics.riga("UID:" + std::to_string(esito.stagione) + "-" + marca +
                 (prima_volta > 0 ? '-' + std::to_string(prima_volta + 1) : "") + "@turnolista");
        ics.riga("DTSTAMP:" + scritto);
        ics.riga("SEQUENCE:" + revisione);
        const sys_days inizio_giorno(giorno[i]);
        if (evento.ora >= seconds(0)) {
            ics.riga("DTSTART;TZID=Europe/Rome:" + data_ora(inizio_giorno + evento.ora));
            ics.riga("DTEND;TZID=Europe/Rome:" + data_ora(inizio_giorno + evento.ora + DURATA));
        } else {
            ics.riga("DTSTART;VALUE=DATE:" + data(inizio_giorno));
            ics.riga("DTEND;VALUE=DATE:" + data(inizio_giorno + days(1)));
        }
        ics.riga("SUMMARY:", in_utf8(evento.partita));
        if (!evento.luogo.empty()) {
            ics.riga("LOCATION:", in_utf8(evento.luogo));
        }
        ics.riga("DESCRIPTION:", in_utf8(evento.riga));
        ics.riga("END:VEVENT");
    }
    std::stable_sort(esito.scartate.begin(), esito.scartate.end(),
                     [](const Scartata& a, const Scartata& b) { return a.numero < b.numero; });
    if (esito.eventi > 0) {
        ics.riga("END:VCALENDAR");
        esito.ics = std::move(ics.testo);
    }
    return esito;
}

}  // namespace

EsitoCalendario calendario(std::string_view testo, std::string_view squadra, sys_seconds adesso) {
    const Lettore lettore(testo);
    const std::string_view letto = lettore.letto();
    std::vector<Evento> eventi;
    std::vector<Scartata> scartate;
    // The date the last heading gives the matches under it that have none of their own.
    std::string giornata;
    const auto segui = [&](Letta& letta) {
        if (letta.tipo == Letta::Tipo::intestazione) {
            giornata = letta.data;
        } else if (letta.tipo == Letta::Tipo::partita && letta.data.empty()) {
            letta.data = giornata;
        }
    };
    // A record without the name matters only as a heading, whose date only an undated match
    // of the team under it takes: the records from `da_leggere` on are read for their
    // headings then, and never where every match has its own date.
    std::string_view da_leggere = letto;
    const auto segui_fino_a = [&](std::string_view riga) {
        while (da_leggere.data() < riga.data()) {
            Letta letta = lettore.leggi(prossima_riga(da_leggere, lettore.tra_i_record()));
            segui(letta);
        }
    };
    std::uint64_t numero = 1;  // of the line the record at `contato` starts on
    std::size_t contato = 0;
    per_riga_con(
        letto, squadra,
        [&](std::string_view riga) {
            // The record's place, and its lines as the list writes them: the same in both.
            const auto dove = static_cast<std::size_t>(riga.data() - letto.data());
            numero += righe_del_record(testo.substr(contato, dove - contato)) - 1;
            contato = dove;
            Letta letta = lettore.leggi(riga);
            if (letta.tipo == Letta::Tipo::partita && letta.data.empty()) {
                segui_fino_a(riga);
            } else if (letta.tipo == Letta::Tipo::intestazione) {
                da_leggere = letto.substr(dove);
            }
            segui(letta);
            if (letta.tipo == Letta::Tipo::partita && lettore.della_squadra(letta, squadra)) {
                // The record's lines that hold the name, as a text pass copies them.
                std::string righe;
                per_riga_con(testo.substr(dove, riga.size()), squadra, [&](std::string_view una) {
                    righe.append(righe.empty() ? "" : " ").append(una);
                });
                aggiungi(letta, righe, numero, eventi, scartate);
            }
        },
        lettore.tra_i_record());
    return scrivi(eventi, std::move(scartate), squadra, adesso);
}

}  // namespace turnolista
