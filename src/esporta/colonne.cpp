#include "esporta/parti.hpp"

#include <algorithm>
#include <map>
#include <span>
#include <tuple>

#include "ricerca/ricerca.hpp"

namespace turnolista {

namespace {

constexpr std::size_t CAMPIONE = 100;  // records with a date: a longer list goes on as they do

// What a column's cells hold, over the records that give a date or a time.
struct Conto {
    std::size_t date = 0, ore = 0, numeri = 0, partite = 0, testi = 0;
    Squadre valori;

    void conta(const std::string& cella) {
        date += data_in_cella(cella) ? 1 : 0;
        ore += leggi_ora(cella) ? 1 : 0;
        numeri += numero_di_gara(cella) ? 1 : 0;
        partite += incontro(cella) && !risultato(cella) ? 1 : 0;
        testi += nominata(cella) && giorno_solo(cella) == 0 ? 1 : 0;
        if (!cella.empty()) {
            valori.insert(cella);
        }
    }
};

// Where the cells `celle` of `riga` start, in characters, as a list lined up by spaces shows them;
// none where a tab or a cell's cleaning hides it.
std::vector<std::size_t> inizi_di(std::string_view riga, const std::vector<std::string>& celle) {
    std::vector<std::size_t> inizi;
    const bool tab = riga.find('\t') != FINE;  // a tab's width is the editor's
    for (std::size_t da = 0; const std::string& cella : celle) {
        const std::size_t dove = riga.find(cella, da);
        if (dove == FINE || tab) {
            return {};
        }
        inizi.push_back(caratteri(riga.substr(0, dove)));
        da = dove + cella.size();
    }
    return inizi;
}

// What each column holds in the records it takes off `testo`, to the CAMPIONE-th with a date or a
// time, and the header: the last line above the first date with no fewer cells of words than one
// before, and two at least (a rest's row, "1,Riposa: Lupi,,,", is none, nor a Markdown rule).
std::vector<Conto> conta(std::string_view& testo, const Disposizione& lista, Colonne& col) {
    std::vector<Conto> conti;
    const auto nominate = [](const auto& celle) { return std::ranges::count_if(celle, nominata); };
    // A page's path, "Home › Campionati › Girone A", is no header: a sign alone joins its words.
    const auto segno = [](const std::string& c) {
        return caratteri(c) == 1 && !nominata(c) && !cifra(c[0]) && c != "#";
    };
    for (std::size_t datate = 0; !testo.empty() && datate < CAMPIONE;) {
        const std::string_view riga = prossima_riga(testo, lista.tra_i_record());
        auto celle = celle_di(riga, lista.separatore);
        allinea(riga, celle, col.inizi);
        // A match under a round's dated heading gives its time alone.
        const bool datata = con_data(celle);
        if (datate == 0 && !datata && std::ranges::none_of(celle, segno) &&
            nominate(celle) >= std::max<std::ptrdiff_t>(2, nominate(col.intestazione))) {
            col.intestazione = celle;
            col.inizi = lista.separatore == Separatore::spazio ? inizi_di(riga, celle) : col.inizi;
        }
        datate += datata ? 1 : 0;
        conti.resize(std::max(conti.size(), datata ? celle.size() : 0));
        for (std::size_t j = 0; datata && j < celle.size(); ++j) {
            conti[j].conta(celle[j]);
        }
    }
    return conti;
}

// The two columns of names not yet `usate` that share most values: the home and away teams.
auto squadre_di(const std::vector<Conto>& conti, const std::vector<char>& usate) {
    std::tuple<std::size_t, std::optional<std::size_t>, std::optional<std::size_t>> coppia;
    for (std::size_t i = 0; i < conti.size(); ++i) {
        for (std::size_t j = i + 1; j < conti.size(); ++j) {
            const bool nomi =
                usate[i] == 0 && usate[j] == 0 && conti[i].testi > 0 && conti[j].testi > 0;
            const auto comuni = static_cast<std::size_t>(std::ranges::count_if(
                conti[i].valori,
                [&](const std::string& v) { return nomi && conti[j].valori.contains(v); }));
            if (comuni > std::get<0>(coppia)) {
                coppia = {comuni, i, j};
            }
        }
    }
    return std::pair(std::get<1>(coppia), std::get<2>(coppia));
}

// The teams that the columns `col` name, for the free text of the list's other records.
void nomi_delle_squadre(const Colonne& col, const std::vector<Conto>& conti, Squadre& squadre) {
    for (const auto colonna : {col.casa, col.ospite}) {
        if (colonna) {
            squadre.insert(conti[*colonna].valori.begin(), conti[*colonna].valori.end());
        }
    }
    for (const std::string& partita : col.partita ? conti[*col.partita].valori : Squadre()) {
        const auto [casa, ospite] =
            incontro(partita).value_or(std::pair(std::string_view(), senza_segni(partita)));
        squadre.emplace(casa);
        squadre.emplace(ospite);
    }
}

}  // namespace

bool con_data(const std::vector<std::string>& celle) {
    return std::ranges::any_of(
        celle, [](const std::string& c) { return data_in_cella(c) || leggi_ora(c); });
}

void allinea(std::string_view riga, std::vector<std::string>& celle,
             const std::vector<std::size_t>& inizi) {
    if (celle.size() >= inizi.size()) {
        return;
    }
    std::vector<std::string> allineate(inizi.size());
    const std::vector<std::size_t> proprie = inizi_di(riga, celle);
    for (std::size_t i = 0; i < proprie.size(); ++i) {
        const auto j =
            static_cast<std::size_t>(std::ranges::upper_bound(inizi, proprie[i]) - inizi.begin());
        if (j == 0 || !allineate[j - 1].empty()) {
            return;  // a cell before the first, or two in one column: no columns lined up
        }
        allineate[j - 1] = celle[i];
    }
    if (!proprie.empty()) {
        celle = std::move(allineate);
    }
}

Colonne colonne_di(std::string_view& testo, const Disposizione& lista, Squadre& squadre) {
    Colonne col;
    const std::vector<Conto> conti = conta(testo, lista, col);
    // Each field takes the column not yet taken that holds most of what it is.
    std::vector<char> usata(conti.size());
    const auto prendi = [&](std::optional<std::size_t> j) {
        return j && *j < usata.size() && std::exchange(usata[*j], 1) == 0 ? j : std::nullopt;
    };
    const auto piu = [&](std::size_t Conto::*quanti) {
        std::optional<std::size_t> migliore;
        for (std::size_t j = 0; j < conti.size(); ++j) {
            const std::size_t finora = migliore ? conti[*migliore].*quanti : 0;
            // Most of its names too: a venue's "Campo A - B" makes no column of matches.
            migliore =
                usata[j] == 0 && conti[j].*quanti > finora && 2 * conti[j].*quanti > conti[j].testi
                    ? j
                    : migliore;
        }
        return prendi(migliore);
    };
    col.celle = conti.size();
    col.data = piu(&Conto::date);
    col.ora = piu(&Conto::ore);
    for (std::size_t j = 0; j < col.intestazione.size(); ++j) {
        const auto campo = campo_nominato(col.intestazione[j]);
        if (campo != nullptr && !(col.*campo)) {
            col.*campo = prendi(j);
        }
    }
    col.partita = col.casa || col.partita ? col.partita : piu(&Conto::partite);
    if (!col.casa && !col.partita && col.ospite) {
        // A club's own list names only the other team, "Avversario": its own is its names.
        col.casa = piu(&Conto::testi);
    } else if (!col.casa && !col.partita) {
        const auto [casa, ospite] = squadre_di(conti, usata);
        col.casa = prendi(casa);
        col.ospite = prendi(ospite);
    }
    col.n = col.n ? col.n : piu(&Conto::numeri);
    col.luogo = col.luogo ? col.luogo : piu(&Conto::testi);
    nomi_delle_squadre(col, conti, squadre);
    return col;
}

// The teams of runs of words with no sign between them, "LUPI BASKET ORSI ROSSI", as a PDF copied
// with single spaces writes them: where a run splits into two names that start or end most runs,
// each run counted once, as a match's names recur in others'.
void per_nome(const std::set<std::string, std::less<>>& tratti, Squadre& squadre) {
    std::map<std::string, int, std::less<>> volte;  // how many runs a run of words starts or ends
    const auto tagli = [](std::string_view tratto, const auto& fai) {
        for (std::size_t s = tratto.find(' '); s != FINE; s = tratto.find(' ', s + 1)) {
            fai(tratto.substr(0, s), tratto.substr(s + 1));
        }
    };
    for (const std::string& tratto : tratti) {
        tagli(tratto, [&](std::string_view a, std::string_view b) {
            ++volte[std::string(a)];
            ++volte[std::string(b)];
        });
    }
    for (const std::string& tratto : tratti) {
        std::pair<int, std::pair<std::string_view, std::string_view>> meglio{1, {}};
        tagli(tratto, [&](std::string_view a, std::string_view b) {
            const int v = std::min(volte.find(a)->second, volte.find(b)->second);
            meglio = v > meglio.first ? std::pair(v, std::pair(a, b)) : meglio;
        });
        if (meglio.first > 1) {
            squadre.emplace(meglio.second.first);
            squadre.emplace(meglio.second.second);
        }
    }
}

void due_nomi(std::span<const std::string_view> pezzi, std::size_t& k, Coppia& coppia,
              const Squadre& squadre) {
    for (std::size_t j = 0; !coppia && j < pezzi.size(); ++j) {
        const std::string_view pezzo = pezzi[j];
        for (std::size_t s = pezzo.find(' '); !coppia && s != FINE; s = pezzo.find(' ', s + 1)) {
            // The home team, then the away team with the words after it: the venue's.
            const std::string_view casa = pezzo.substr(0, s), ospite = pezzo.substr(s + 1);
            if (!squadre.contains(casa) || ospite.find(' ') == FINE) {
                continue;
            }
            bool nominato = squadre.contains(ospite);
            for (std::size_t t = ospite.find(' '); !nominato && t != FINE;
                 t = ospite.find(' ', t + 1)) {
                nominato = squadre.contains(ospite.substr(0, t));
            }
            if (nominato) {
                coppia = std::pair(casa, ospite);
                k = j;
            }
        }
    }
}

}  // namespace turnolista
