#include "esporta/colonne.hpp"

#include <algorithm>
#include <array>
#include <tuple>
#include <utility>

#include "comune/codifica.hpp"
#include "ricerca/ricerca.hpp"

namespace turnolista {

namespace {

constexpr auto FINE = std::string_view::npos;

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
    for (std::string_view resto = parole; !resto.empty();) {
        const std::string parola = " " + std::string(resto.substr(0, resto.find(' '))) + " ";
        resto.remove_prefix(std::min(parola.size() - 1, resto.size()));
        for (std::size_t k = 0; k < NOMI.size(); ++k) {
            // A team's number says which team, wherever it stands.
            const bool numero = cifra(parola[1]) && parola.size() == 3;
            nome = NOMI[k].first.find(parola) != FINE && (!nome || numero || k < *nome) ? k : nome;
        }
    }
    return nome;
}

// What a column's cells hold, over the records that give a date.
struct Conto {
    std::size_t date = 0, ore = 0, numeri = 0, partite = 0, testi = 0;
    Squadre valori;  // its first values, enough to tell the teams

    void conta(const std::string& cella) {
        date += leggi_data(cella) ? 1 : 0;
        ore += leggi_ora(cella) ? 1 : 0;
        numeri += numero_di_gara(cella) ? 1 : 0;
        partite += incontro(cella) && !risultato(cella) ? 1 : 0;
        testi += std::any_of(cella.begin(), cella.end(), lettera) ? 1 : 0;
        if (valori.size() < 256 && !cella.empty()) {
            valori.insert(cella);
        }
    }
};

void conta(std::vector<Conto>& conti, const std::vector<std::string>& celle) {
    conti.resize(std::max(conti.size(), celle.size()));
    for (std::size_t j = 0; j < celle.size(); ++j) {
        conti[j].conta(celle[j]);
    }
}

// The columns not yet taken, and which holds most of what a field is.
class Scelta {
  public:
    explicit Scelta(std::vector<Conto> conti) : conti_(std::move(conti)), usata_(conti_.size()) {}

    const Conto& conto(std::size_t j) const { return conti_[j]; }

    // Takes the column that holds most of `quanti`, if any does.
    std::optional<std::size_t> prendi(std::size_t Conto::*quanti) {
        std::optional<std::size_t> migliore;
        for (std::size_t j = 0; j < conti_.size(); ++j) {
            if (!usata_[j] && conti_[j].*quanti > 0 &&
                (!migliore || conti_[j].*quanti > conti_[*migliore].*quanti)) {
                migliore = j;
            }
        }
        return prendi(migliore);
    }
    std::optional<std::size_t> prendi(std::optional<std::size_t> j) {
        if (j && *j < usata_.size() && !usata_[*j]) {
            usata_[*j] = true;
            return j;
        }
        return std::nullopt;
    }

    // The two columns of names that share most values: the home and away teams.
    std::pair<std::optional<std::size_t>, std::optional<std::size_t>> squadre() {
        std::pair<std::optional<std::size_t>, std::optional<std::size_t>> coppia;
        std::size_t migliore = 0;
        for (std::size_t i = 0; i < conti_.size(); ++i) {
            for (std::size_t j = i + 1; j < conti_.size(); ++j) {
                const std::size_t comuni = libere(i, j) ? comuni_a(i, j) : 0;
                if (comuni > migliore) {
                    migliore = comuni;
                    coppia = {i, j};
                }
            }
        }
        return {prendi(coppia.first), prendi(coppia.second)};
    }

  private:
    bool libere(std::size_t i, std::size_t j) const {
        return !usata_[i] && !usata_[j] && conti_[i].testi > 0 && conti_[j].testi > 0;
    }
    std::size_t comuni_a(std::size_t i, std::size_t j) const {
        return static_cast<std::size_t>(
            std::count_if(conti_[i].valori.begin(), conti_[i].valori.end(),
                          [&](const std::string& v) { return conti_[j].valori.contains(v); }));
    }

    std::vector<Conto> conti_;
    std::vector<bool> usata_;
};

// The header names what the cells leave open.
void nomina(Colonne& col, Scelta& scelta) {
    for (std::size_t j = 0; j < col.intestazione.size(); ++j) {
        const auto nome = nome_di_colonna(col.intestazione[j]);
        if (nome && !(col.*NOMI[*nome].second)) {
            col.*NOMI[*nome].second = scelta.prendi(j);
        }
    }
}

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
            if (con_data) {
                conta(conti, celle);
            }
        },
        static_cast<char>(separatore));
    Scelta scelta(std::move(conti));
    col.data = scelta.prendi(&Conto::date);
    col.ora = scelta.prendi(&Conto::ore);
    nomina(col, scelta);
    if (!col.casa && !col.partita) {
        col.partita = scelta.prendi(&Conto::partite);
    }
    if (!col.casa && !col.partita) {
        std::tie(col.casa, col.ospite) = scelta.squadre();
    }
    col.n = col.n ? col.n : scelta.prendi(&Conto::numeri);
    col.luogo = col.luogo ? col.luogo : scelta.prendi(&Conto::testi);
    // The teams the list names, for the free text of its other records.
    for (const auto colonna : {col.casa, col.ospite}) {
        const Squadre& valori = colonna ? scelta.conto(*colonna).valori : Squadre();
        squadre.insert(valori.begin(), valori.end());
    }
    for (const std::string& partita : col.partita ? scelta.conto(*col.partita).valori : Squadre()) {
        const auto dove = incontro(partita);
        squadre.insert(std::string(senza_segni(partita.substr(0, dove ? dove->first : 0))));
        squadre.insert(
            std::string(senza_segni(partita.substr(dove ? dove->first + dove->second : 0))));
    }
    return col;
}

}  // namespace turnolista
