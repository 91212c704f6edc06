#include "esporta/calendario.hpp"

#include <algorithm>
#include <map>

#include "comune/codifica.hpp"
#include "ricerca/ricerca.hpp"

namespace turnolista {

namespace {

using namespace std::chrono;
using std::chrono::year;

constexpr hours DURATA{2};

// Whether a field says something: a letter or a digit, not a dash or a question mark.
bool scritta(std::string_view campo) {
    return std::ranges::any_of(
        campo, [](char c) { return cifra(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z'); });
}

struct Evento {
    Data data;
    seconds ora{-1};  // from midnight; negative for the whole day
    std::uint64_t numero = 0;
    std::string scritta, n, partita, luogo, riga;  // the date as written, the fields it shows
};

// The day of each event, its year as README says: the shortest stretch of a year that
// holds every date starts after the longest gap between them.
std::vector<year_month_day> giorni(const std::vector<Evento>& eventi, year_month_day oggi) {
    // The month and the day as one number, a month taking 32; the first date again a year
    // later closes the gap across the year's end.
    const auto chiave = [](const Evento& e) { return e.data.mese * 32 + e.data.giorno; };
    std::vector<unsigned> chiavi(eventi.size() + 1);
    std::transform(eventi.begin(), eventi.end(), chiavi.begin(), chiave);
    std::sort(chiavi.begin(), chiavi.end() - 1);
    chiavi.back() = chiavi.front() + 12 * 32;
    unsigned fine = 0;    // the last date before the longest gap, the season's last match
    unsigned inizio = 0;  // the first after it; a date before it is in the next year
    for (std::size_t i = 1; i < chiavi.size(); ++i) {
        if (chiavi[i] - chiavi[i - 1] > inizio - fine) {
            fine = chiavi[i - 1];
            inizio = chiavi[i];
        }
    }
    const auto dopo_capodanno = [&](const Evento& e) { return chiave(e) < inizio ? 1 : 0; };
    const auto con_anno =
        std::ranges::find_if(eventi, [](const Evento& e) { return e.data.anno != 0; });
    int primo = con_anno != eventi.end() ? con_anno->data.anno - dopo_capodanno(*con_anno)
                                         : static_cast<int>(oggi.year()) - 1;
    while (con_anno == eventi.end() && !eventi.empty() &&
           sys_days(year(primo + 1) / month(fine / 32) / day(fine % 32)) < sys_days(oggi)) {
        ++primo;
    }
    std::vector<year_month_day> giorni(eventi.size());
    std::transform(eventi.begin(), eventi.end(), giorni.begin(), [&](const Evento& e) {
        return year(e.data.anno != 0 ? e.data.anno : primo + dopo_capodanno(e)) /
               month(e.data.mese) / day(e.data.giorno);
    });
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
            eventi.push_back({*giorno, orario.value_or(seconds(-1)), numero, data, letta.n, titolo,
                              letta.luogo, riga});
        }
    };
    partita(letta.data, letta.ora, letta.partita);
    if (letta.ritorno) {
        partita(letta.ritorno->first, letta.ritorno->second, letta.ospite + " - " + letta.casa);
    }
}

// What the records above a match give it where it has no date: the last heading's date, time
// and venue ("Data: sabato 10 ottobre / Ore: 15.00 / Campo: Oratorio"), and in a table the date of
// the record above (a sheet's merged cells leave a round's date on its first row alone, the others
// giving their time under an empty date).
struct Sopra {
    std::string data, ora, luogo, precedente;

    void segui(Letta& letta, bool tabella) {
        // A day after its weekday, "Sab 10", of the month of the heading above.
        const auto giorno =
            letta.tipo != Letta::Tipo::altro ? nel_mese(letta.data, data) : std::nullopt;
        if (giorno) {
            letta.data = std::to_string(giorno->giorno) + "/" + std::to_string(giorno->mese) +
                         (giorno->anno != 0 ? "/" + std::to_string(giorno->anno) : "");
        }
        if (letta.tipo == Letta::Tipo::intestazione) {
            std::tie(data, ora, luogo) = std::tie(letta.data, letta.ora, letta.luogo);
        }
        if (letta.tipo == Letta::Tipo::partita && letta.data.empty()) {
            letta.data = tabella && !letta.ora.empty() ? precedente : data;
            letta.ora = letta.ora.empty() ? ora : letta.ora;
            letta.luogo = letta.luogo.empty() ? luogo : letta.luogo;
        } else if (letta.tipo != Letta::Tipo::altro) {
            precedente = letta.data;
        }
    }
};

// The venue a chat or a site's events write on the line under the match `riga`, the last of its
// block before an empty line: "📍 Campo sintetico via Montecchia". Empty where there is none.
std::string luogo_sotto(const Lettore& lettore, std::string_view resto) {
    prossima_riga(resto, lettore.tra_i_record());  // the match's own record
    const std::string_view sotto = resto.empty() ? "" : prossima_riga(resto);
    const bool ultima = resto.empty() || senza_spazi(prossima_riga(resto)).empty();
    const Letta letta = lettore.leggi(sotto);
    std::string luogo = pulita(sotto);
    bool di_un_luogo = di_luogo(luogo);
    for (std::size_t s = luogo.find(' '); s != FINE; s = luogo.find(' ', s + 1)) {
        di_un_luogo = di_un_luogo || di_luogo(std::string_view(luogo).substr(s + 1));
    }
    const bool niente_altro = letta.tipo == Letta::Tipo::altro && letta.data.empty();
    return ultima && di_un_luogo && niente_altro && letta.ora.empty() ? luogo : std::string();
}

// Whether the team's record `riga`, read as `letta` and no match of the team, may be one the
// reader misread, and so is told rather than lost in silence: no rest line, or a match with
// the name `squadra` in no field (a venue's "Campo Lupi" holds it).
bool dubbia(const Letta& letta, std::string_view riga, std::string_view squadra) {
    const auto ha = [&](std::string_view campo) { return contiene(campo, squadra); };
    return letta.tipo != Letta::Tipo::partita
               ? trova_ascii(riga, "ripos") == FINE
               : !ha(letta.partita) && !ha(letta.luogo) && !ha(letta.n) &&
                     std::ranges::none_of(letta.altre, ha);
}

// The calendar of the events read from the list, and of the lines left out.
EsitoCalendario scrivi(const std::vector<Evento>& eventi, std::vector<Scartata> scartate,
                       std::string_view squadra, sys_seconds adesso) {
    const year_month_day oggi = oggi_a_roma(adesso);
    const std::vector<year_month_day> giorno = giorni(eventi, oggi);
    // The season is that of the first match on a day the calendar has (29/02 may have none).
    std::vector<year_month_day> veri;
    std::ranges::copy_if(giorno, std::back_inserter(veri), [](auto g) { return g.ok(); });
    const auto [prima, ultima] = std::ranges::minmax_element(veri);
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
    const std::string scritto = data(adesso, true) + "Z";  // every event's DTSTAMP
    std::map<std::string, int> uid;                        // how many events had each so far
    for (std::size_t i = 0; i < eventi.size(); ++i) {
        const Evento& evento = eventi[i];
        if (!giorno[i].ok()) {
            esito.scartate.push_back(
                {evento.numero, Scartata::Motivo::data_inesistente, evento.scritta});
            continue;
        }
        // Not from the date, time or venue, so that importing the calendar again after the
        // league moved a match updates that event; SEQUENCE makes a later file a newer revision.
        const std::string marca = impronta(evento.n + '\0' + evento.partita);
        const int prima_volta = uid[marca]++;
        ++esito.eventi;
        ics.riga("BEGIN:VEVENT");
        ics.riga("UID:" + std::to_string(esito.stagione) + "-" + marca +
                 (prima_volta > 0 ? '-' + std::to_string(prima_volta + 1) : "") + "@turnolista");
        ics.riga("DTSTAMP:", scritto);
        ics.riga("SEQUENCE:", revisione);
        const bool a_ora = evento.ora >= seconds(0);
        const sys_seconds inizio = sys_days(giorno[i]) + (a_ora ? evento.ora : seconds(0));
        ics.riga(a_ora ? "DTSTART;TZID=Europe/Rome:" : "DTSTART;VALUE=DATE:", data(inizio, a_ora));
        ics.riga(a_ora ? "DTEND;TZID=Europe/Rome:" : "DTEND;VALUE=DATE:",
                 data(inizio + (a_ora ? DURATA : days(1)), a_ora));
        ics.riga("SUMMARY:", in_utf8(evento.partita));
        if (!evento.luogo.empty()) {
            ics.riga("LOCATION:", in_utf8(evento.luogo));
        }
        ics.riga("DESCRIPTION:", in_utf8(evento.riga));
        ics.riga("END:VEVENT");
    }
    std::ranges::stable_sort(esito.scartate, {}, &Scartata::numero);
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
    Sopra sopra;
    // A record without the name matters only for its date, which only an undated match of the
    // team under it takes: the records from `da_leggere` on are read for their dates then, and
    // never where every match has its own date.
    std::string_view da_leggere = letto;
    std::uint64_t numero = 1;  // of the line the record at `contato` starts on
    std::size_t contato = 0;
    per_riga_con(
        letto, squadra,
        [&](std::string_view riga) {
            // The record's place, and its lines as the list writes them: the same in both.
            const auto dove = static_cast<std::size_t>(riga.data() - letto.data());
            numero += righe_del_record(testo.substr(contato, dove - contato)) - 1;
            contato = dove;
            Letta letta = lettore.leggi(riga, squadra);
            if (letta.tipo == Letta::Tipo::partita &&
                (letta.data.empty() || leggi_parte(letta.data))) {
                while (da_leggere.data() < riga.data()) {
                    Letta titolo = lettore.leggi(prossima_riga(da_leggere, lettore.tra_i_record()));
                    sopra.segui(titolo, lettore.in_celle);
                }
            } else if (letta.tipo == Letta::Tipo::intestazione) {
                da_leggere = letto.substr(dove);
            }
            sopra.segui(letta, lettore.in_celle);
            if (letta.tipo == Letta::Tipo::partita && lettore.della_squadra(letta, squadra)) {
                // The record's lines that hold the name, as a text pass copies them.
                std::string righe;
                per_riga_con(testo.substr(dove, riga.size()), squadra, [&](std::string_view una) {
                    righe.append(righe.empty() ? "" : " ").append(una);
                });
                if (std::string sotto =
                        lettore.in_celle ? "" : luogo_sotto(lettore, letto.substr(dove));
                    !sotto.empty()) {
                    letta.luogo = std::move(sotto);
                }
                aggiungi(letta, righe, numero, eventi, scartate);
            } else if (dubbia(letta, riga, squadra)) {
                scartate.push_back({numero, Scartata::Motivo::squadre, {}});
            }
        },
        lettore.tra_i_record());
    return scrivi(eventi, std::move(scartate), squadra, adesso);
}

}  // namespace turnolista
