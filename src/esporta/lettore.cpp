#include "esporta/parti.hpp"

#include <tuple>

#include "ricerca/ricerca.hpp"

namespace turnolista {

namespace {

constexpr std::size_t PARTITE = 1000;  // of free text read for the teams the list names

// The teams of a record in the columns `colonne`, its cell `j` being `cella(j)`, and the venue
// its match's cell writes where no column holds one, as free text does: "Lupi - Orsi (PalaLupi)".
void partita_di(const Colonne& colonne, const auto& cella, Letta& letta) {
    // The venue with its address, where a phone's map finds it: "Palestra Rossi, Via Po 8".
    const std::string indirizzo = cella(colonne.indirizzo);
    letta.luogo.append(letta.luogo.empty() || indirizzo.empty() ? "" : ", ").append(indirizzo);
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
    // A date and its time in one cell, "Sab 13/09/2026 15:30", whatever the teams; or a time
    // alone, under a sheet's row of a day, "Venerdì 4 giugno", in the dates' column.
    const Letta in_una = leggi_data(letta.data) ? Letta() : leggi_libero(letta.data);
    if (leggi_data(in_una.data) || (in_una.data.empty() && !in_una.ora.empty())) {
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
            j != colonne.indirizzo && (j < colonne.intestazione.size() || !celle[j].empty())) {
            letta.altre.push_back(std::move(celle[j]));
        }
    }
    // A row short of a cell, a result not played yet, leaves its venue in a column before.
    const auto luogo = colonne.luogo && letta.luogo.empty()
                           ? std::ranges::find_if(letta.altre, nomina_un_luogo)
                           : letta.altre.end();
    if (luogo != letta.altre.end()) {
        letta.luogo = std::move(*luogo);
        letta.altre.erase(luogo);
    }
}

// A record's cells as a line of free text, runs of spaces between them.
std::string in_riga(const std::vector<std::string>& celle) {
    std::string testo;
    for (const std::string& cella : celle) {
        testo.append(testo.empty() ? "" : "  ").append(cella);
    }
    return testo;
}

// Of a line with a date and a time that names no match, the words between its fields and its venue
// where nothing else stands between them: "LUPI BASKET ORSI ROSSI" of a PDF copied with spaces.
std::string tratto_di(std::string_view riga) {
    Letta letta;
    const auto pezzi = pezzi_di(riga, letta);
    std::string_view tratto = pezzi.size() == 1 ? pezzi[0] : "";
    for (std::size_t s = tratto.find(' '); s != FINE; s = tratto.find(' ', s + 1)) {
        tratto = di_luogo(tratto.substr(s + 1)) ? tratto.substr(0, s) : tratto;
    }
    return std::string(tratto);
}

}  // namespace

bool nominata(std::string_view cella) {
    // A character alone takes four bytes at most: a longer cell is no sign alone.
    return std::ranges::any_of(cella, lettera) &&
           (cella.size() == 1 || cella.size() > 4 || caratteri(cella) > 1);
}

Lettore::Lettore(std::string_view testo, const std::optional<Disposizione>& disposizione)
    : Disposizione(disposizione ? *disposizione : Disposizione(testo)),
      unite_(per_record > 0 || a_blocchi ? unite(testo) : std::string()),
      letto_(per_record > 0 || a_blocchi ? std::string_view(unite_) : testo),
      resto_(letto_) {
    colonne_ = in_celle ? colonne_di(resto_, *this, squadre_) : Colonne();
    // The teams of free text's first 1,000 matches, rests skipped: words before one are a venue.
    // Of a line with a date and a time and no sign between its teams, the words up to its venue.
    std::set<std::string, std::less<>> tratti;
    for (std::size_t partite = 0, datate = 0; !in_celle && !resto_.empty() && partite < PARTITE;) {
        const std::string riga = pulita(prossima_riga(resto_).substr(0, RIGA_LUNGA));
        const Letta letta = leggi_libero(riposo(riga) ? "" : riga, squadre_);
        if (letta.tipo == Letta::Tipo::partita) {
            squadre_.insert(letta.ospite);
            datate += letta.data.empty() ? 0 : 1;
            datate_ = 2 * datate > ++partite;
        } else if (!letta.data.empty() && !letta.ora.empty() && tratti.size() < PARTITE) {
            tratti.emplace(tratto_di(riga));
        }
    }
    per_nome(tratti, squadre_);
}

Letta Lettore::leggi(std::string_view riga, std::string_view nome) const {
    Letta letta;
    auto celle = in_celle ? celle_di(riga, separatore) : std::vector<std::string>();
    allinea(riga, celle, colonne_.inizi);
    if (prosegue(riga, celle)) {
        return letta;  // read with its record
    }
    if (colonne_.data && celle.size() > *colonne_.data && celle.size() >= 3) {
        // A team in the time's column: a PDF dropped the empty cell of a time not yet set.
        if (const auto ora = colonne_.ora.value_or(FINE);
            ora < celle.size() && squadre_.contains(celle[ora])) {
            celle.insert(celle.begin() + static_cast<std::ptrdiff_t>(ora), std::string());
        }
        a_capo(riga, celle);
        leggi_celle(colonne_, celle, letta);
        // A venue by its code, "C04", that the list's venues explain.
        if (colonne_.luogo && codice(letta.luogo)) {
            auto& luoghi = luoghi_ ? *luoghi_ : luoghi_.emplace(luoghi_per_codice(letto_, *this));
            const auto luogo = luoghi.find(letta.luogo);
            letta.luogo = luogo != luoghi.end() ? luogo->second : letta.luogo;
        }
    } else if (separatore == Separatore::spazio) {
        // Free text, or a line out of the columns as written: a cell's dash, "LUPI      - ORSI",
        // is no bullet.
        letta = libera(riga, nome);
    } else {  // a record out of the columns, its cells joined, as if it were free text
        const std::string testo = in_riga(celle);
        letta = leggi_libero(std::string_view(testo).substr(0, RIGA_LUNGA), squadre_, nome);
    }
    letta.rinvio = letta.tipo == Letta::Tipo::partita
                       ? rinvio_di(letta.propria.empty() ? riga : letta.propria,
                                   leggi_data(letta.data).has_value(), letta.data)
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
