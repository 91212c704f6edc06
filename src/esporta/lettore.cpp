#include "esporta/lettore.hpp"

#include <algorithm>

#include "comune/codifica.hpp"
#include "ricerca/ricerca.hpp"

namespace turnolista {

namespace {

constexpr auto FINE = std::string_view::npos;
// A fixture line is far shorter: past this, a line's words are not read, so that a list of
// one endless line takes no more memory than its text.
constexpr std::size_t RIGA_LUNGA = 4096;

}  // namespace

Lettore::Lettore(std::string_view testo, const Disposizione& disposizione)
    : Disposizione(disposizione) {
    if (in_celle()) {
        colonne_ = colonne_di(testo, separatore(), squadre_);
        return;
    }
    // In free text, the away teams: a word before a home team the list names is its venue.
    per_riga(testo, [&](std::string_view riga) {
        Letta letta;
        leggi_libero(pulita(riga.substr(0, RIGA_LUNGA)), squadre_, letta);
        if (letta.tipo == Letta::Tipo::partita && squadre_.size() < 4096) {
            squadre_.insert(letta.ospite);
        }
    });
}

Letta Lettore::leggi(std::string_view riga) const {
    Letta letta;
    if (in_celle()) {
        auto celle = celle_di(riga, separatore());
        if (colonne_.data && celle.size() > *colonne_.data && celle.size() >= 3) {
            leggi_celle(celle, letta);
        } else {
            std::string testo;
            for (const std::string& cella : celle) {
                testo.append(testo.empty() ? "" : "  ").append(cella);
            }
            leggi_libero(std::string_view(testo).substr(0, RIGA_LUNGA), squadre_, letta);
        }
    } else {
        leggi_libero(pulita(riga.substr(0, RIGA_LUNGA)), squadre_, letta);
    }
    if (letta.tipo == Letta::Tipo::partita) {
        letta.rinvio = rinvio_di(riga, leggi_data(letta.data).has_value());
    }
    return letta;
}

void Lettore::leggi_celle(std::vector<std::string>& celle, Letta& letta) const {
    const auto cella = [&](std::optional<std::size_t> j) {
        return j && *j < celle.size() ? celle[*j] : std::string();
    };
    letta.data = cella(colonne_.data);
    letta.ora = cella(colonne_.ora);
    if (!leggi_data(letta.data)) {
        // A date and its time in one cell: "Sab 13/09/2026 15:30".
        Letta in_una;
        leggi_libero(letta.data, squadre_, in_una);
        if (leggi_data(in_una.data)) {
            letta.data = in_una.data;
            letta.ora = letta.ora.empty() ? in_una.ora : letta.ora;
        }
    }
    letta.n = cella(colonne_.n);
    letta.luogo = cella(colonne_.luogo);
    if (colonne_.partita) {
        letta.partita = cella(colonne_.partita);
        if (const auto dove = incontro(letta.partita)) {
            letta.casa = senza_segni(letta.partita.substr(0, dove->first));
            letta.ospite = senza_segni(letta.partita.substr(dove->first + dove->second));
        }
    } else {
        letta.casa = cella(colonne_.casa);
        letta.ospite = cella(colonne_.ospite);
        letta.partita =
            letta.casa + (letta.casa.empty() || letta.ospite.empty() ? "" : " - ") + letta.ospite;
    }
    // The header, a rest, a match of two teams, or a heading with a date.
    letta.tipo = celle == colonne_.intestazione || trova_ascii(letta.partita, "ripos") != FINE
                     ? Letta::Tipo::altro
                 : !letta.casa.empty() && !letta.ospite.empty() ? Letta::Tipo::partita
                 : leggi_data(letta.data)                       ? Letta::Tipo::intestazione
                                                                : Letta::Tipo::altro;
    // The further columns the header names, empty ones too, and any other cell.
    celle.resize(std::max(celle.size(), colonne_.intestazione.size()));
    for (std::size_t j = 0; j < celle.size(); ++j) {
        if (j != colonne_.n && j != colonne_.data && j != colonne_.ora && j != colonne_.luogo &&
            j != colonne_.partita && j != colonne_.casa && j != colonne_.ospite &&
            (j < colonne_.intestazione.size() || !celle[j].empty())) {
            letta.altre.push_back(std::move(celle[j]));
        }
    }
}

void Giornata::segui(Letta& letta) {
    if (letta.tipo == Letta::Tipo::intestazione) {
        *this = {true, letta.data};
    } else if (letta.tipo == Letta::Tipo::partita && letta.data.empty() && vista) {
        letta.data = data;
    }
}

bool Lettore::della_squadra(const Letta& letta, std::string_view nome) const {
    const auto uguale = [&](std::string_view squadra) {
        return come_digitato(squadra, nome) == squadra.size();
    };
    const bool nella_lista = std::any_of(squadre_.begin(), squadre_.end(), uguale) ||
                             uguale(letta.casa) || uguale(letta.ospite);
    return nella_lista ? uguale(letta.casa) || uguale(letta.ospite)
                       : contiene(letta.casa, nome) || contiene(letta.ospite, nome);
}

}  // namespace turnolista
