#include "esporta/colonne.hpp"

#include <algorithm>
#include <array>

#include "comune/codifica.hpp"
#include "ricerca/ricerca.hpp"

namespace turnolista {

namespace {

constexpr auto FINE = std::string_view::npos;

// What a header's words may name, beyond what the cells show: a field's words, in the order
// in which the first wins where a cell holds two ("Campo squadra ospite" is a venue).
enum class Nome { luogo, casa, ospite, partita, n };
constexpr std::array<std::string_view, 5> NOMI{
    " campo luogo impianto palestra sede stadio struttura location venue ",
    " casa locali ospitante home 1 ", " ospite ospiti trasferta ospitata away 2 ",
    " partita incontro ", " gara n num numero nr "};

// What a header's cell names by the words it holds; "Squadra 1" and "Squadra 2" are the
// home and away teams.
std::optional<Nome> nome_di_colonna(std::string_view cella) {
    std::string parole = minuscolo_ascii(cella);
    std::replace_if(
        parole.begin(), parole.end(), [](char c) { return !lettera(c) && !cifra(c); }, ' ');
    std::optional<Nome> nome;
    for (std::string_view resto = parole; !resto.empty();) {
        const std::string parola = " " + std::string(resto.substr(0, resto.find(' '))) + " ";
        resto.remove_prefix(std::min(parola.size() - 1, resto.size()));
        for (std::size_t k = 0; k < NOMI.size(); ++k) {
            // A team's number says which team, wherever it stands.
            const auto suo = static_cast<Nome>(k);
            const bool numero = cifra(parola[1]) && parola.size() == 3;
            nome = NOMI[k].find(parola) != FINE && (!nome || numero || suo < *nome) ? suo : nome;
        }
    }
    return nome;
}

}  // namespace

Colonne colonne_di(std::string_view testo, Separatore separatore, Squadre& squadre) {
    // What each column holds, and the header above the first date.
    struct Conto {
        std::size_t date = 0, ore = 0, numeri = 0, partite = 0, testi = 0;
        Squadre valori;
    };
    std::vector<Conto> colonne;
    std::vector<std::string> intestazione;
    bool datata = false;
    per_riga(
        testo,
        [&](std::string_view riga) {
            const auto celle = celle_di(riga, separatore);
            const bool con_data = std::any_of(celle.begin(), celle.end(),
                                              [](const std::string& c) { return leggi_data(c); });
            if (!datata && !con_data && celle.size() >= 2) {
                intestazione = celle;
            }
            datata = datata || con_data;
            if (!con_data) {
                return;
            }
            colonne.resize(std::max(colonne.size(), celle.size()));
            for (std::size_t j = 0; j < colonne.size() && j < celle.size(); ++j) {
                Conto& c = colonne[j];
                const std::string& cella = celle[j];
                c.date += leggi_data(cella) ? 1 : 0;
                c.ore += leggi_ora(cella) ? 1 : 0;
                c.numeri += numero_di_gara(cella) ? 1 : 0;
                c.partite += incontro(cella) && !risultato(cella) ? 1 : 0;
                c.testi += std::any_of(cella.begin(), cella.end(), lettera) ? 1 : 0;
                if (c.valori.size() < 256 && !cella.empty()) {
                    c.valori.insert(cella);
                }
            }
        },
        static_cast<char>(separatore));
    Colonne col;
    std::vector<bool> usata(colonne.size(), false);
    const auto prendi_colonna = [&](std::size_t Conto::*quanti) {
        std::optional<std::size_t> migliore;
        for (std::size_t j = 0; j < colonne.size(); ++j) {
            if (!usata[j] && colonne[j].*quanti > 0 &&
                (!migliore || colonne[j].*quanti > colonne[*migliore].*quanti)) {
                migliore = j;
            }
        }
        if (migliore) {
            usata[*migliore] = true;
        }
        return migliore;
    };
    col.data = prendi_colonna(&Conto::date);
    col.ora = prendi_colonna(&Conto::ore);
    // The header names what the cells leave open.
    for (std::size_t j = 0; j < intestazione.size() && j < colonne.size(); ++j) {
        const auto nome = usata[j] ? std::nullopt : nome_di_colonna(intestazione[j]);
        auto& colonna = !nome                    ? col.n
                        : *nome == Nome::luogo   ? col.luogo
                        : *nome == Nome::casa    ? col.casa
                        : *nome == Nome::ospite  ? col.ospite
                        : *nome == Nome::partita ? col.partita
                                                 : col.n;
        if (nome && !colonna) {
            colonna = j;
            usata[j] = true;
        }
    }
    if (!col.casa && !col.partita) {
        col.partita = prendi_colonna(&Conto::partite);
    }
    // Two columns of names that meet each other are the home and away teams.
    std::size_t migliore = 0;
    for (std::size_t i = 0; i < colonne.size() && !col.casa && !col.partita; ++i) {
        for (std::size_t j = i + 1; j < colonne.size(); ++j) {
            if (usata[i] || usata[j] || colonne[i].testi == 0 || colonne[j].testi == 0) {
                continue;
            }
            const auto comuni = static_cast<std::size_t>(
                std::count_if(colonne[i].valori.begin(), colonne[i].valori.end(),
                              [&](const std::string& v) { return colonne[j].valori.contains(v); }));
            if (comuni > migliore) {
                migliore = comuni;
                col.casa = i;
                col.ospite = j;
            }
        }
    }
    if (col.casa && col.ospite) {
        usata[*col.casa] = usata[*col.ospite] = true;
    }
    if (!col.n) {
        col.n = prendi_colonna(&Conto::numeri);
    }
    if (!col.luogo) {
        col.luogo = prendi_colonna(&Conto::testi);
    }
    col.intestazione = intestazione;
    for (const auto colonna : {col.casa, col.ospite, col.partita}) {
        for (const std::string& valore : colonna ? colonne[*colonna].valori : Squadre()) {
            const auto dove = colonna == col.partita ? incontro(valore) : std::nullopt;
            squadre.insert(std::string(dove ? senza_segni(valore.substr(0, dove->first)) : valore));
            if (dove) {
                squadre.insert(std::string(senza_segni(valore.substr(dove->first + dove->second))));
            }
        }
    }
    return col;
}

}  // namespace turnolista
