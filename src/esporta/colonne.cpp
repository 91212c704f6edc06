#include <algorithm>
#include <array>
#include <utility>

#include "comune/codifica.hpp"
#include "esporta/lettore.hpp"
#include "ricerca/ricerca.hpp"

namespace turnolista {

namespace {

// What a header's words may name, beyond what the cells show: a field's words, in the order
// in which the first wins where a cell holds two ("Campo squadra ospite" is a venue).
constexpr std::array<std::pair<std::string_view, std::optional<std::size_t> Colonne::*>, 5> NOMI{{
    {" campo luogo impianto palestra sede stadio struttura location venue ", &Colonne::luogo},
    {" casa locali ospitante home 1 ", &Colonne::casa},
    {" ospite ospiti trasferta ospitata away 2 ", &Colonne::ospite},
    {" partita incontro ", &Colonne::partita},
    {" gara n num numero nr ", &Colonne::n},
}};

// Which of NOMI a header's cell names by the words it holds; "Squadra 1" and "Squadra 2" are
// the home and away teams.
std::optional<std::size_t> nome_di_colonna(std::string_view cella) {
    std::string parole = minuscolo_ascii(cella);
    std::replace_if(
        parole.begin(), parole.end(), [](char c) { return !lettera(c) && !cifra(c); }, ' ');
    std::optional<std::size_t> nome;
    for (std::size_t da = 0, a = 0; da < parole.size(); da = a + 1) {
        a = std::min(parole.find(' ', da), parole.size());
        const std::string parola = " " + parole.substr(da, a - da) + " ";
        // A team's number says which team, wherever it stands.
        const bool numero = cifra(parola[1]) && parola.size() == 3;
        for (std::size_t k = 0; k < NOMI.size(); ++k) {
            nome = NOMI[k].first.find(parola) != std::string_view::npos &&
                           (!nome || numero || k < *nome)
                       ? k
                       : nome;
        }
    }
    return nome;
}

// What a column's cells hold, over the records that give a date.
struct Conto {
    std::size_t date = 0, ore = 0, numeri = 0, partite = 0, testi = 0;
    Squadre valori;  // its first values, enough to tell the teams
};

}  // namespace

Colonne colonne_di(std::string_view testo, Separatore separatore, Squadre& squadre) {
    // What each column holds, and the header: the last line of cells above the first date.
    std::vector<Conto> conti;
    Colonne col;
    bool datata = false;
    per_riga(
        testo,
        [&](std::string_view riga) {
            const auto celle = celle_di(riga, separatore);
            const bool con_data = std::any_of(celle.begin(), celle.end(),
                                              [](const std::string& c) { return leggi_data(c); });
            if (!datata && !con_data && celle.size() >= 2) {
                col.intestazione = celle;
            }
            datata = datata || con_data;
            conti.resize(std::max(conti.size(), con_data ? celle.size() : 0));
            for (std::size_t j = 0; con_data && j < celle.size(); ++j) {
                const std::string& cella = celle[j];
                conti[j].date += leggi_data(cella) ? 1 : 0;
                conti[j].ore += leggi_ora(cella) ? 1 : 0;
                conti[j].numeri += numero_di_gara(cella) ? 1 : 0;
                conti[j].partite += incontro(cella) && !risultato(cella) ? 1 : 0;
                conti[j].testi += std::any_of(cella.begin(), cella.end(), lettera) ? 1 : 0;
                if (conti[j].valori.size() < 256 && !cella.empty()) {
                    conti[j].valori.insert(cella);
                }
            }
        },
        static_cast<char>(separatore));
    // Each field takes the column not yet taken that holds most of what it is.
    std::vector<bool> usata(conti.size());
    const auto prendi = [&](std::optional<std::size_t> j) {
        const bool libera = j && *j < usata.size() && !usata[*j];
        if (libera) {
            usata[*j] = true;
        }
        return libera ? j : std::nullopt;
    };
    const auto piu = [&](std::size_t Conto::*quanti) {
        std::optional<std::size_t> migliore;
        for (std::size_t j = 0; j < conti.size(); ++j) {
            if (!usata[j] && conti[j].*quanti > 0 &&
                (!migliore || conti[j].*quanti > conti[*migliore].*quanti)) {
                migliore = j;
            }
        }
        return prendi(migliore);
    };
    col.data = piu(&Conto::date);
    col.ora = piu(&Conto::ore);
    // The header names what the cells leave open.
    for (std::size_t j = 0; j < col.intestazione.size(); ++j) {
        const auto nome = nome_di_colonna(col.intestazione[j]);
        if (nome && !(col.*NOMI[*nome].second)) {
            col.*NOMI[*nome].second = prendi(j);
        }
    }
    if (!col.casa && !col.partita) {
        col.partita = piu(&Conto::partite);
    }
    if (!col.casa && !col.partita) {
        // The two columns of names that share most values: the home and away teams.
        std::optional<std::size_t> casa, ospite;
        std::size_t migliore = 0;
        for (std::size_t i = 0; i < conti.size(); ++i) {
            for (std::size_t j = i + 1; j < conti.size(); ++j) {
                if (usata[i] || usata[j] || conti[i].testi == 0 || conti[j].testi == 0) {
                    continue;
                }
                const Squadre& altre = conti[j].valori;
                const auto comuni = static_cast<std::size_t>(
                    std::count_if(conti[i].valori.begin(), conti[i].valori.end(),
                                  [&](const std::string& v) { return altre.contains(v); }));
                if (comuni > migliore) {
                    migliore = comuni;
                    casa = i;
                    ospite = j;
                }
            }
        }
        col.casa = prendi(casa);
        col.ospite = prendi(ospite);
    }
    col.n = col.n ? col.n : piu(&Conto::numeri);
    col.luogo = col.luogo ? col.luogo : piu(&Conto::testi);
    // The teams the list names, for the free text of its other records.
    for (const auto colonna : {col.casa, col.ospite}) {
        if (colonna) {
            squadre.insert(conti[*colonna].valori.begin(), conti[*colonna].valori.end());
        }
    }
    for (const std::string& partita : col.partita ? conti[*col.partita].valori : Squadre()) {
        const auto dove = incontro(partita).value_or(std::pair(0, 0));
        squadre.insert(std::string(senza_segni(partita.substr(0, dove.first))));
        squadre.insert(std::string(senza_segni(partita.substr(dove.first + dove.second))));
    }
    return col;
}

}  // namespace turnolista
