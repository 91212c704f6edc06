#include "esporta/calendario.hpp"

#include <algorithm>
#include <map>
#include <optional>
#include <tuple>

#include "comune/codifica.hpp"
#include "esporta/parti.hpp"
#include "ricerca/ricerca.hpp"

namespace turnolista {

namespace {

using namespace std::chrono;

// The team's match `letta`, from the line `numero` (`riga`: its lines that hold the name):
// an event for each leg with a date, or a line left out, and why.
void aggiungi(const Letta& letta, const std::string& riga, std::uint64_t numero,
              const std::string& campo_ritorno, std::vector<Evento>& eventi,
              std::vector<Scartata>& scartate) {
    const auto scarta = [&](Scartata::Motivo motivo, std::string_view testo) {
        scartate.push_back({numero, motivo, std::string(senza_spazi(testo))});
    };
    // The first leg, and the return leg where the line gives it, on the other team's ground.
    const auto partita = [&](const std::string& data, const std::string& ora,
                             const std::string& titolo, const std::string& luogo) {
        const auto giorno = leggi_data(data);
        const auto orario = leggi_ora(ora);
        if (!letta.rinvio.empty()) {
            scarta(Scartata::Motivo::rinviata, letta.rinvio);
        } else if (!giorno) {
            // A date written, not a dash or a question mark, that says no day.
            const bool scritta = nominata(data) || std::ranges::any_of(data, cifra);
            scarta(scritta ? Scartata::Motivo::data : Scartata::Motivo::senza_data, data);
        } else if (!orario && std::ranges::any_of(ora, cifra)) {  // "da definire": all day
            scarta(Scartata::Motivo::ora, ora);
        } else {
            eventi.push_back({*giorno, orario.value_or(seconds(-1)), numero, data, letta.n, titolo,
                              luogo, riga});
        }
    };
    // A phone shows the match without a PDF's alignment: "LUPI      - ORSI" is "LUPI - ORSI".
    std::string titolo = letta.partita;
    titolo.erase(std::unique(titolo.begin(), titolo.end(),
                             [](char a, char b) { return a == ' ' && b == ' '; }),
                 titolo.end());
    partita(letta.data, letta.ora, titolo, letta.luogo);
    if (letta.ritorno) {
        partita(letta.ritorno->first, letta.ritorno->second, letta.ospite + " - " + letta.casa,
                campo_ritorno);
    }
}

// What the records above give a match with no date: a heading's "Data: sabato 10 / Ore: 15.00";
// in a table the row above's date, as a sheet's merged cells leave it on a round's first row.
struct Sopra {
    std::string data, ora, luogo, precedente;
    std::pair<std::string, std::string> ritorno;  // a heading's return legs' date and time
    std::string ora_ritorno;                      // the return legs' time in every round

    // What a heading, or a line of times alone, gives the matches under it.
    void dall_alto(const Letta& letta) {
        if (letta.tipo == Letta::Tipo::intestazione) {
            std::tie(data, ora, luogo) = std::tie(letta.data, letta.ora, letta.luogo);
            ritorno = letta.ritorno.value_or(decltype(ritorno)());
            ritorno.second = ritorno.second.empty() ? ora_ritorno : ritorno.second;
        } else if (letta.tipo == Letta::Tipo::altro && letta.data.empty() &&
                   (!letta.ora.empty() || letta.ritorno)) {
            // Times alone under a heading, "ORE...: 15:30 | ORE....: 14:30", are its legs'; the
            // return legs' alone, "Le gare di ritorno … alle ore 14.30", are those of every round.
            ora = letta.ora.empty() ? ora : letta.ora;
            ora_ritorno = letta.ritorno ? letta.ritorno->second : ora_ritorno;
            ritorno.second = letta.ritorno ? ora_ritorno : ritorno.second;
        }
    }

    void segui(Letta& letta, bool tabella) {
        // A day after its weekday, "Sab 10", of the month of the heading, else of the date above.
        const auto giorno = nel_mese(letta.data, data.empty() ? precedente : data);
        if (giorno) {
            letta.data = std::to_string(giorno->giorno) + "/" + std::to_string(giorno->mese) +
                         (giorno->anno != 0 ? std::string("/") + std::to_string(giorno->anno) : "");
        }
        dall_alto(letta);
        if (letta.tipo == Letta::Tipo::partita && letta.data.empty()) {
            // In a table, a row of the block of merged cells above: a time of its own, or a venue
            // where the match's number is merged too.
            const bool unita = !letta.ora.empty() || (letta.n.empty() && !letta.luogo.empty());
            letta.data = tabella && unita ? precedente : data;
            letta.ora = letta.ora.empty() ? ora : letta.ora;
            // A pitch alone, "campo A", is one of the heading's venue.
            const std::size_t s = letta.luogo.find(' ');
            const bool campo = s != FINE && s + 3 >= letta.luogo.size() && di_luogo(letta.luogo);
            letta.luogo = letta.luogo.empty()       ? luogo
                          : campo && !luogo.empty() ? luogo + ", " + letta.luogo
                                                    : letta.luogo;
            // Each match under "ANDATA: 13/09/26 RITORNO: 17/01/27" is played again then.
            letta.ritorno = letta.ritorno || ritorno.first.empty() ? letta.ritorno : ritorno;
        } else if (letta.tipo != Letta::Tipo::altro) {
            precedente = letta.data;
        }
    }
};

// Each team's ground, as the first of its matches at home that names a venue gives it.
using Campi = std::map<std::string, std::string, std::less<>>;
Campi campi_di_casa(const Lettore& lettore) {
    Campi campi;
    for (std::string_view resto = lettore.letto(); !resto.empty();) {
        const Letta letta = lettore.leggi(prossima_riga(resto, lettore.tra_i_record()));
        if (letta.tipo == Letta::Tipo::partita && !letta.luogo.empty()) {
            campi.emplace(letta.casa, letta.luogo);
        }
    }
    return campi;
}

// Whether the team's record `riga`, no match of the team, may be one the reader misread, told
// rather than lost: no rest line, or a match with `squadra` in no field (a venue, "Campo Lupi").
bool dubbia(const Letta& letta, std::string_view riga, std::string_view squadra) {
    const auto ha = [&](std::string_view campo) { return contiene(campo, squadra); };
    return letta.tipo != Letta::Tipo::partita
               ? !riposo(riga)
               : !ha(letta.partita) && !ha(letta.luogo) && !ha(letta.n) &&
                     std::ranges::none_of(letta.altre, ha);
}

}  // namespace

void per_partita(const Lettore& lettore, std::string_view squadra,
                 const std::function<void(Letta&, std::string_view)>& fai) {
    const std::string_view letto = lettore.letto();
    Sopra sopra;
    // A record without the name matters only for the date an undated match of the team under it
    // takes: the records from `da_leggere` on are read then, never where every match has a date.
    std::string_view da_leggere = letto;
    per_riga_con(
        letto, squadra,
        [&](std::string_view riga) {
            Letta letta = lettore.leggi(riga, squadra);
            if (letta.tipo == Letta::Tipo::partita &&
                (letta.data.empty() || leggi_parte(letta.data))) {
                while (da_leggere.data() < riga.data()) {
                    Letta titolo = lettore.leggi(prossima_riga(da_leggere, lettore.tra_i_record()));
                    sopra.segui(titolo, lettore.in_celle);
                }
            } else if (letta.tipo == Letta::Tipo::intestazione) {
                da_leggere = letto.substr(static_cast<std::size_t>(riga.data() - letto.data()));
            }
            sopra.segui(letta, lettore.in_celle);
            // Under a heading's firm date, "orario da definire" is a time still to be set, but
            // "da definire" where the line's date would be is its date's.
            if (!letta.rinvio.empty() && leggi_data(letta.data)) {
                const std::string_view prima =
                    senza_spazi(riga.substr(0, trova_ascii(riga, letta.rinvio)));
                if (una_di("ora ore orario h", senza_segni(prima.substr(prima.rfind(' ') + 1)))) {
                    letta.rinvio = rinvio_di(riga, true, letta.data);
                }
            }
            if (letta.tipo == Letta::Tipo::partita) {
                sotto_la_partita(lettore, std::string_view(riga.end(), letto.end()), letta);
            }
            fai(letta, riga);
        },
        lettore.tra_i_record());
}

EsitoCalendario calendario(std::string_view testo, std::string_view squadra, sys_seconds adesso) {
    const Lettore lettore(testo);
    const std::string_view letto = lettore.letto();
    std::vector<Evento> eventi;
    EsitoCalendario esito;
    std::uint64_t numero = 1;  // of the line the record at `contato` starts on
    std::size_t contato = 0;
    // A return leg is on its home team's ground: the list's grounds, read at the first one.
    std::optional<Campi> campi;
    const auto campo = [&](const std::string& casa) {
        const auto& tutti = campi ? *campi : campi.emplace(campi_di_casa(lettore));
        const auto trovato = tutti.find(casa);
        return trovato != tutti.end() ? trovato->second : std::string();
    };
    per_partita(lettore, squadra, [&](Letta& letta, std::string_view riga) {
        // The record's place, the same in both; the lines before it as the list writes them,
        // more than one a record where a cell holds a line end.
        const auto dove = static_cast<std::size_t>(riga.data() - letto.data());
        for (auto prima = testo.substr(contato, dove - contato); !prima.empty(); ++numero) {
            prossima_riga(prima);
        }
        contato = dove;
        if (letta.tipo == Letta::Tipo::partita && lettore.della_squadra(letta, squadra)) {
            // The record's lines that hold the name, as a text pass copies them.
            std::string righe;
            per_riga_con(testo.substr(dove, riga.size()), squadra, [&](std::string_view una) {
                righe.append(righe.empty() ? "" : " ").append(una);
            });
            aggiungi(letta, righe, numero, letta.ritorno ? campo(letta.ospite) : "", eventi,
                     esito.scartate);
        } else if (dubbia(letta, riga, squadra)) {
            esito.scartate.push_back({numero, Scartata::Motivo::squadre, {}});
        }
    });
    const year_month_day oggi = oggi_a_roma(adesso);
    anni(eventi, esito.scartate, oggi);
    std::ranges::stable_sort(esito.scartate, {}, &Scartata::numero);
    const auto [prima, ultima] = std::ranges::minmax_element(eventi, {}, &Evento::giorno);
    const year_month_day da = eventi.empty() ? oggi : prima->giorno;
    const int stagione = static_cast<int>(da.year()) - (da.month() >= July ? 0 : 1);
    const bool un_anno = !eventi.empty() && ultima->giorno.year() == da.year() && da.month() < July;
    esito.stagione = un_anno ? std::to_string(stagione + 1)
                             : std::to_string(stagione) + "/" + std::to_string(stagione + 1);
    esito.eventi = eventi.size();
    if (!eventi.empty()) {
        esito.ics = file_ics(std::string(squadra) + " " + esito.stagione, stagione, eventi, adesso);
    }
    return esito;
}

}  // namespace turnolista
