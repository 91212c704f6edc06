#include "esporta/disposizione.hpp"

#include <algorithm>
#include <utility>

#include "esporta/date.hpp"
#include "ricerca/ricerca.hpp"

namespace turnolista {

namespace {

constexpr auto FINE = std::string_view::npos;
constexpr std::size_t CASA = CAMPI;
constexpr std::size_t OSPITE = CAMPI + 1;
constexpr std::size_t ALTRA = CAMPI + 2;

char minuscola(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

// What a header's cell names, by its letters and digits alone: "N.", "Squadra 1", "Città".
std::optional<std::size_t> colonna_di(std::string_view cella) {
    std::string nome;
    for (const char c : cella) {
        if ((c >= '0' && c <= '9') || (minuscola(c) >= 'a' && minuscola(c) <= 'z')) {
            nome += minuscola(c);
        }
    }
    static const std::array<std::pair<std::string_view, std::size_t>, 21> NOMI{{
        {"n", CAMPO_N},
        {"num", CAMPO_N},
        {"numero", CAMPO_N},
        {"gara", CAMPO_N},
        {"data", CAMPO_DATA},
        {"giorno", CAMPO_DATA},
        {"ora", CAMPO_ORA},
        {"orario", CAMPO_ORA},
        {"campo", CAMPO_LUOGO},
        {"luogo", CAMPO_LUOGO},
        {"impianto", CAMPO_LUOGO},
        {"palestra", CAMPO_LUOGO},
        {"partita", CAMPO_PARTITA},
        {"incontro", CAMPO_PARTITA},
        {"casa", CASA},
        {"squadra1", CASA},
        {"ospite", OSPITE},
        {"ospiti", OSPITE},
        {"squadra2", OSPITE},
        {"note", ALTRA},
        {"risultato", ALTRA},
    }};
    const auto* trovato = std::find_if(NOMI.begin(), NOMI.end(),
                                       [&](const auto& voce) { return voce.first == nome; });
    return trovato != NOMI.end() ? std::optional(trovato->second) : std::nullopt;
}

// The cells of a line whose columns are aligned: runs of two spaces or more end them.
void celle_allineate(std::string_view riga, Celle& celle) {
    celle.testo.clear();
    riga = senza_spazi(riga);
    while (!riga.empty()) {
        const std::size_t fine = std::min(riga.find("  "), riga.size());
        celle.testo.push_back(riga.substr(0, fine));
        riga = senza_spazi(riga.substr(fine));
    }
}

// The cells of `riga` by the list's layout; `allineata` where runs of spaces may end them.
void leggi_celle(std::string_view riga, const Disposizione& d, bool allineata, Celle& celle) {
    if (allineata && d.allineata) {
        celle_allineate(riga, celle);
    } else {
        taglia_in_celle(riga, d.separatore, celle, false);
    }
}

// Reads the header, where `riga` is one: every cell that says something names a column,
// and a date is among them.
void intestazione(std::string_view riga, Disposizione& d) {
    Celle celle;
    leggi_celle(riga, d, true, celle);
    Disposizione letta = d;
    for (std::size_t j = 0; j < celle.testo.size(); ++j) {
        if (senza_spazi(celle.testo[j]).empty()) {
            continue;
        }
        const auto colonna = colonna_di(celle.testo[j]);
        if (!colonna) {
            return;
        }
        if (*colonna < CAMPI) {
            letta.colonna[*colonna] = j;
        } else if (*colonna == CASA || *colonna == OSPITE) {
            (*colonna == CASA ? letta.casa : letta.ospite) = j;
        } else {
            letta.altre.push_back(j);
        }
    }
    if (letta.colonna[CAMPO_DATA] && celle.testo.size() >= 2) {
        letta.intestazione = true;
        d = std::move(letta);
    }
}

bool contiene_parola(std::string_view riga, std::string_view parola) {
    return std::search(riga.begin(), riga.end(), parola.begin(), parola.end(),
                       [](char a, char b) { return minuscola(a) == b; }) != riga.end();
}

}  // namespace

bool Disposizione::come_sta() const {
    if (!intestazione) {
        return true;
    }
    for (std::size_t i = 0; i < CAMPI; ++i) {
        if (colonna[i] != i) {
            return false;
        }
    }
    return !casa && !ospite && altre.empty();
}

Disposizione leggi_disposizione(std::string_view testo) {
    Disposizione d;
    d.separatore = separatore_della_lista(testo);
    std::size_t righe = 0;
    std::size_t allineate = 0;
    std::optional<std::string_view> prima;
    Celle celle;
    per_riga(testo, [&](std::string_view riga) {
        // A header may start with "Gio" (Giorno); a rest line names no column.
        if (!senza_spazi(riga).empty() && !prima) {
            prima = riga;
        }
        if (senza_spazi(riga).empty() || e_riposo(riga)) {
            return;
        }
        ++righe;
        celle_allineate(riga, celle);
        allineate += celle.testo.size() >= 3 && riga.find("  ") != FINE ? 1 : 0;
    });
    d.allineata = d.separatore == Separatore::spazio && 2 * allineate > righe;
    if (prima) {
        intestazione(*prima, d);
    }
    return d;
}

void leggi_campi(std::string_view riga, const Disposizione& d, bool allineata, Celle& celle,
                 Campi& campi) {
    leggi_celle(riga, d, allineata, celle);
    const auto cella = [&](std::optional<std::size_t> j) {
        return j && *j < celle.testo.size() ? celle.testo[*j] : std::string_view();
    };
    campi = {};
    for (std::size_t i = 0; i < CAMPI; ++i) {
        campi.campo[i] = cella(d.intestazione ? d.colonna[i] : std::optional(i));
    }
    if (!d.intestazione) {
        return;
    }
    const std::string_view casa = senza_spazi(cella(d.casa));
    const std::string_view ospite = senza_spazi(cella(d.ospite));
    if (!casa.empty() || !ospite.empty()) {
        campi.partita.append(casa)
            .append(!casa.empty() && !ospite.empty() ? " - " : "")
            .append(ospite);
    }
    for (const std::size_t j : d.altre) {
        campi.altre.push_back(cella(j));
    }
}

std::optional<std::string_view> data_della_giornata(std::string_view riga) {
    if (!contiene_parola(riga, "giornata") && !contiene_parola(riga, "turno")) {
        return std::nullopt;
    }
    // The date among its words, the longest: "13/09/2026", "sabato 13 settembre 2026".
    for (std::size_t da = 0; da < riga.size(); da = std::min(riga.find(' ', da), riga.size()) + 1) {
        for (std::size_t parole = 4; parole > 0; --parole) {
            std::size_t fine = da;
            for (std::size_t p = 0; p < parole && fine < riga.size(); ++p) {
                fine = std::min(riga.find(' ', fine + 1), riga.size());
            }
            if (leggi_data(riga.substr(da, fine - da))) {
                return riga.substr(da, fine - da);
            }
        }
    }
    return std::nullopt;
}

void campi_nella_giornata(std::string_view riga, Campi& campi) {
    campi = {};
    std::string_view resto = senza_spazi(riga);
    // The time first: "ore 17:00", "17:00".
    for (std::size_t parole = 2; parole > 0; --parole) {
        std::size_t fine = 0;
        for (std::size_t p = 0; p < parole; ++p) {
            fine = std::min(resto.find(' ', fine + 1), resto.size());
        }
        if (leggi_ora(resto.substr(0, fine))) {
            campi.campo[CAMPO_ORA] = resto.substr(0, fine);
            resto = senza_spazi(resto.substr(fine));
            break;
        }
    }
    // Then the place, up to a colon, and the match.
    const std::size_t due_punti = resto.find(": ");
    if (due_punti != FINE) {
        campi.campo[CAMPO_LUOGO] = senza_spazi(resto.substr(0, due_punti));
        resto = senza_spazi(resto.substr(due_punti + 1));
    }
    campi.campo[CAMPO_PARTITA] = resto;
}

}  // namespace turnolista
