#include "esporta/lettore.hpp"

#include <algorithm>
#include <tuple>

#include "comune/codifica.hpp"
#include "ricerca/ricerca.hpp"

namespace turnolista {

namespace {

// Past this, far beyond a fixture line, words are not read: an endless line costs no more memory.
constexpr std::size_t RIGA_LUNGA = 4096;
constexpr std::size_t CAMPIONE = 100;  // records with a date: a longer list goes on as they do

// Whether a cell holds a word: a name, where a number or a Markdown table's rule "---" is none.
bool nominata(std::string_view cella) {
    return std::ranges::any_of(cella, lettera);
}

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

// What each column holds in the records it takes off `testo`, to the CAMPIONE-th with a date or a
// time, and the header: the last line above the first date with no fewer cells of words than one
// before, and two at least (a rest's row, "1,Riposa: Lupi,,,", is none, nor a Markdown rule).
std::vector<Conto> conta(std::string_view& testo, const Disposizione& lista,
                         std::vector<std::string>& intestazione) {
    std::vector<Conto> conti;
    const auto nominate = [](const auto& celle) { return std::ranges::count_if(celle, nominata); };
    for (std::size_t datate = 0; !testo.empty() && datate < CAMPIONE;) {
        const auto celle = celle_di(prossima_riga(testo, lista.tra_i_record()), lista.separatore);
        // A match under a round's dated heading gives its time alone.
        const bool con_data = std::ranges::any_of(
            celle, [](const std::string& c) { return data_in_cella(c) || leggi_ora(c); });
        if (datate == 0 && !con_data &&
            nominate(celle) >= std::max<std::ptrdiff_t>(2, nominate(intestazione))) {
            intestazione = celle;
        }
        datate += con_data ? 1 : 0;
        conti.resize(std::max(conti.size(), con_data ? celle.size() : 0));
        for (std::size_t j = 0; con_data && j < celle.size(); ++j) {
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

// The columns of the records it takes off `testo` (see conta) by what their cells hold, a
// header's words naming what that leaves open; the teams they name go to `squadre`.
Colonne colonne_di(std::string_view& testo, const Disposizione& lista, Squadre& squadre) {
    Colonne col;
    const std::vector<Conto> conti = conta(testo, lista, col.intestazione);
    // Each field takes the column not yet taken that holds most of what it is.
    std::vector<char> usata(conti.size());
    const auto prendi = [&](std::optional<std::size_t> j) {
        return j && *j < usata.size() && std::exchange(usata[*j], 1) == 0 ? j : std::nullopt;
    };
    const auto piu = [&](std::size_t Conto::*quanti) {
        std::optional<std::size_t> migliore;
        for (std::size_t j = 0; j < conti.size(); ++j) {
            const std::size_t finora = migliore ? conti[*migliore].*quanti : 0;
            migliore = usata[j] == 0 && conti[j].*quanti > finora ? j : migliore;
        }
        return prendi(migliore);
    };
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

// The teams of a record in the columns `colonne`, its cell `j` being `cella(j)`, and the venue
// its match's cell writes where no column holds one, as free text does: "Lupi - Orsi (PalaLupi)".
void partita_di(const Colonne& colonne, const auto& cella, Letta& letta) {
    if (colonne.partita) {
        const Letta libera = colonne.luogo ? Letta() : leggi_libero(cella(colonne.partita));
        letta.partita =
            libera.tipo == Letta::Tipo::partita ? libera.partita : cella(colonne.partita);
        letta.luogo = libera.luogo.empty() ? letta.luogo : libera.luogo;
        std::tie(letta.casa, letta.ospite) = incontro(letta.partita).value_or(std::pair("", ""));
    } else {
        letta.casa = cella(colonne.casa);
        letta.ospite = cella(colonne.ospite);
        letta.partita =
            letta.casa + (letta.casa.empty() || letta.ospite.empty() ? "" : " - ") + letta.ospite;
    }
}

void leggi_celle(const Colonne& colonne, std::vector<std::string>& celle, Letta& letta) {
    const auto cella = [&](std::optional<std::size_t> j) {
        return j && *j < celle.size() ? celle[*j] : std::string();
    };
    letta.data = cella(colonne.data);
    letta.ora = cella(colonne.ora);
    // A date and its time in one cell, "Sab 13/09/2026 15:30", whatever the teams.
    const Letta in_una = leggi_data(letta.data) ? Letta() : leggi_libero(letta.data);
    if (leggi_data(in_una.data)) {
        letta.data = in_una.data;
        letta.ora = letta.ora.empty() ? in_una.ora : letta.ora;
    }
    letta.n = cella(colonne.n);
    letta.luogo = cella(colonne.luogo);
    partita_di(colonne, cella, letta);
    letta.tipo = celle == colonne.intestazione || riposo(letta.partita) ? Letta::Tipo::altro
                 : nominata(letta.casa) && nominata(letta.ospite)       ? Letta::Tipo::partita
                 : leggi_data(letta.data)                               ? Letta::Tipo::intestazione
                                                                        : Letta::Tipo::altro;
    // The further columns the header names, empty ones too, and any other cell.
    celle.resize(std::max(celle.size(), colonne.intestazione.size()));
    for (std::size_t j = 0; j < celle.size(); ++j) {
        if (j != colonne.n && j != colonne.data && j != colonne.ora && j != colonne.luogo &&
            j != colonne.partita && j != colonne.casa && j != colonne.ospite &&
            (j < colonne.intestazione.size() || !celle[j].empty())) {
            letta.altre.push_back(std::move(celle[j]));
        }
    }
}

}  // namespace

Lettore::Lettore(std::string_view testo, const std::optional<Disposizione>& disposizione)
    : Disposizione(disposizione ? *disposizione : Disposizione(testo)),
      unite_(per_record > 0 ? unite(testo) : std::string()),
      letto_(per_record > 0 ? std::string_view(unite_) : testo),
      resto_(letto_) {
    colonne_ = in_celle ? colonne_di(resto_, *this, squadre_) : Colonne();
    // The teams of free text's first 1,000 matches, rests skipped: words before one are a venue.
    for (std::size_t partite = 0; !in_celle && !resto_.empty() && partite < 10 * CAMPIONE;) {
        const std::string riga = pulita(prossima_riga(resto_).substr(0, RIGA_LUNGA));
        const Letta letta = leggi_libero(riposo(riga) ? "" : riga, squadre_);
        if (letta.tipo == Letta::Tipo::partita) {
            squadre_.insert(letta.ospite);
            ++partite;
        }
    }
}

Letta Lettore::leggi(std::string_view riga, std::string_view nome) const {
    Letta letta;
    auto celle =
        in_celle ? celle_di(riga, separatore) : std::vector{pulita(riga.substr(0, RIGA_LUNGA))};
    if (colonne_.data && celle.size() > *colonne_.data && celle.size() >= 3) {
        leggi_celle(colonne_, celle, letta);
        // A venue by its code, "C04", that the list's venues explain.
        if (colonne_.luogo && codice(letta.luogo)) {
            auto& luoghi = luoghi_ ? *luoghi_ : luoghi_.emplace(luoghi_per_codice(letto_, *this));
            const auto luogo = luoghi.find(letta.luogo);
            letta.luogo = luogo != luoghi.end() ? luogo->second : letta.luogo;
        }
    } else {  // free text, or a record out of the columns as if it were
        // A line lined up by spaces as written: a cell's dash, "LUPI      - ORSI", is no bullet.
        if (in_celle && separatore == Separatore::spazio) {
            celle = {pulita(riga.substr(0, RIGA_LUNGA))};
        }
        std::string testo;
        for (const std::string& cella : celle) {
            testo.append(testo.empty() ? "" : "  ").append(cella);
        }
        letta = leggi_libero(std::string_view(testo).substr(0, in_celle ? RIGA_LUNGA : FINE),
                             squadre_, nome);
    }
    letta.rinvio = letta.tipo == Letta::Tipo::partita
                       ? rinvio_di(riga, leggi_data(letta.data).has_value(), letta.data)
                       : std::string();
    return letta;
}

bool Lettore::della_squadra(const Letta& letta, std::string_view nome) const {
    const auto uguale = [&](std::string_view squadra) {
        return come_digitato(squadra, nome) == squadra.size();
    };
    if (nominata_.first != nome) {
        // A team of that name in a record not yet read holds the name: those are read once.
        nominata_ = {std::string(nome), std::any_of(squadre_.begin(), squadre_.end(), uguale)};
        for (std::string_view resto = resto_; !nominata_.second && !resto.empty();) {
            const Letta altra = leggi(prossima_con(resto, nome, tra_i_record()));
            nominata_.second = uguale(altra.casa) || uguale(altra.ospite);
        }
    }
    return uguale(letta.casa) || uguale(letta.ospite) ||
           (!nominata_.second && (contiene(letta.casa, nome) || contiene(letta.ospite, nome)));
}

}  // namespace turnolista
