#include "esporta/lettore.hpp"

#include <algorithm>
#include <array>

#include "comune/codifica.hpp"
#include "ricerca/ricerca.hpp"

namespace turnolista {

namespace {

constexpr auto FINE = std::string_view::npos;
// A fixture line is far shorter: past this, a line's words are not read, so that a list of
// one endless line takes no more memory than its text.
constexpr std::size_t RIGA_LUNGA = 4096;

// What a record of cells is: the header, a rest, a match of two teams, or a heading with a
// date.
Letta::Tipo tipo_di(const Letta& letta, bool intestazione) {
    if (intestazione) {
        return Letta::Tipo::altro;
    }
    if (trova_ascii(letta.partita, "ripos") != FINE) {
        return Letta::Tipo::riposo;
    }
    if (!letta.casa.empty() && !letta.ospite.empty()) {
        return Letta::Tipo::partita;
    }
    return letta.giorno ? Letta::Tipo::intestazione : Letta::Tipo::altro;
}

// Adds to `con` what separates the fields of `riga`: a tab, ";", ",", runs of spaces between
// three cells or more, a sign between spaces ("Sab 19/09 ore 16:00 – Oratorio – Lupi vs Orsi").
// One look at each byte: searching for each sign apart calls memchr at every space.
void conta_separatori(std::string_view riga, std::array<std::size_t, 5>& con) {
    constexpr std::string_view TRATTINO = " \u2013 ";
    constexpr std::string_view BARRA = " | ";
    std::size_t tab = 0, punti = 0, virgole = 0, corse = 0, trattini = 0, barre = 0;
    // A sign counts again only after the end of the last one counted.
    std::size_t dopo_trattino = 0, dopo_barra = 0;
    for (std::size_t i = 0; i < riga.size(); ++i) {
        const char c = riga[i];
        tab += c == '\t' ? 1 : 0;
        punti += c == ';' ? 1 : 0;
        virgole += c == ',' ? 1 : 0;
        if (c != ' ') {
            continue;
        }
        const std::string_view da_qui = riga.substr(i);
        corse += da_qui.starts_with("  ") && (i == 0 || riga[i - 1] != ' ') ? 1 : 0;
        if (i >= dopo_trattino && da_qui.starts_with(TRATTINO)) {
            ++trattini;
            dopo_trattino = i + TRATTINO.size();
        }
        if (i >= dopo_barra && da_qui.starts_with(BARRA)) {
            ++barre;
            dopo_barra = i + BARRA.size();
        }
    }
    con[0] += tab > 0 ? 1 : 0;
    con[1] += punti >= 2 ? 1 : 0;
    con[2] += virgole >= 3 ? 1 : 0;
    con[3] += corse >= 2 ? 1 : 0;
    con[4] += trattini >= 2 || barre >= 2 ? 1 : 0;
}

}  // namespace

Disposizione::Disposizione(std::string_view testo) {
    // How its lines separate their cells, by most of them: a title line decides nothing.
    std::size_t righe = 0;
    std::array<std::size_t, 5> con{};  // tab, ";", ",", runs of spaces, a dash or a bar
    per_riga(testo, [&](std::string_view riga) {
        riga = senza_spazi(riga);
        if (!riga.empty()) {
            ++righe;
            conta_separatori(riga, con);
        }
    });
    constexpr std::array SEPARATORI{Separatore::tab, Separatore::punto_e_virgola,
                                    Separatore::virgola};
    for (std::size_t k = 0; k < SEPARATORI.size(); ++k) {
        if (separatore_ == Separatore::spazio && 2 * con[k] > righe) {
            separatore_ = SEPARATORI[k];
        }
    }
    allineata_ = separatore_ == Separatore::spazio && 2 * con[3] > righe;
    tratteggiata_ = separatore_ == Separatore::spazio && !allineata_ && 2 * con[4] > righe;
}

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
    letta.rinvio = letta.tipo == Letta::Tipo::partita ? rinvio_di(riga, letta.giorno.has_value())
                                                      : std::string();
    return letta;
}

void Lettore::leggi_celle(std::vector<std::string>& celle, Letta& letta) const {
    const auto cella = [&](std::optional<std::size_t> j) {
        return j && *j < celle.size() ? celle[*j] : std::string();
    };
    letta.data = cella(colonne_.data);
    letta.giorno = leggi_data(letta.data);
    letta.ora = cella(colonne_.ora);
    if (!letta.giorno) {
        // A date and its time in one cell: "Sab 13/09/2026 15:30".
        Letta in_una;
        leggi_libero(letta.data, squadre_, in_una);
        if (in_una.giorno) {
            letta.data = in_una.data;
            letta.giorno = in_una.giorno;
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
    const bool intestazione = celle == colonne_.intestazione;
    // The further columns the header names, empty ones too, and any other cell.
    celle.resize(std::max(celle.size(), colonne_.intestazione.size()));
    for (std::size_t j = 0; j < celle.size(); ++j) {
        if (j != colonne_.n && j != colonne_.data && j != colonne_.ora && j != colonne_.luogo &&
            j != colonne_.partita && j != colonne_.casa && j != colonne_.ospite &&
            (j < colonne_.intestazione.size() || !celle[j].empty())) {
            letta.altre.push_back(std::move(celle[j]));
        }
    }
    letta.tipo = tipo_di(letta, intestazione);
}

void Giornata::segui(Letta& letta) {
    if (letta.tipo == Letta::Tipo::intestazione) {
        *this = {true, letta.data, letta.giorno};
    } else if (letta.tipo == Letta::Tipo::partita && letta.data.empty() && vista) {
        letta.data = data;
        letta.giorno = giorno;
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
