#include "esporta/disposizione.hpp"

#include <algorithm>
#include <utility>

#include "comune/codifica.hpp"
#include "esporta/date.hpp"
#include "ricerca/ricerca.hpp"

namespace turnolista {

namespace {

constexpr auto FINE = std::string_view::npos;
constexpr std::size_t CASA = CAMPI;
constexpr std::size_t OSPITE = CAMPI + 1;
constexpr std::size_t ALTRA = CAMPI + 2;

// What a header's cell names, by its letters and digits alone: "N.", "Squadra 1", "Città".
std::optional<std::size_t> colonna_di(std::string_view cella) {
    std::string nome;
    for (const char c : cella) {
        if (cifra(c) || (minuscola_ascii(c) >= 'a' && minuscola_ascii(c) <= 'z')) {
            nome += minuscola_ascii(c);
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

// What the cells of a column hold, line after line.
struct Contenuto {
    std::size_t date = 0;
    std::size_t ore = 0;
    std::size_t partite = 0;  // two names with a dash between them
    std::size_t numeri = 0;
};

bool lettera(char c) {
    return (minuscola_ascii(c) >= 'a' && minuscola_ascii(c) <= 'z') ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool partita_di(std::string_view cella) {
    const std::size_t trattino = cella.find('-');
    if (trattino == FINE) {
        return false;
    }
    const std::string_view prima = senza_spazi(cella.substr(0, trattino));
    const std::string_view dopo = senza_spazi(cella.substr(trattino + 1));
    return !prima.empty() && !dopo.empty() && lettera(prima.back()) && lettera(dopo.front());
}

bool numero_di(std::string_view cella) {
    return !cella.empty() && cella.size() <= 3 && std::all_of(cella.begin(), cella.end(), cifra);
}

// What the columns of the list's first lines hold, and how many lines were looked at.
std::pair<std::vector<Contenuto>, std::size_t> contenuti(std::string_view testo,
                                                         const Disposizione& d) {
    constexpr std::size_t AL_PIU = 50;
    std::vector<Contenuto> colonne;
    std::size_t righe = 0;
    Celle celle;
    per_riga(testo, [&](std::string_view riga) {
        if (righe == AL_PIU || senza_spazi(riga).empty() || e_riposo(riga)) {
            return;
        }
        ++righe;
        leggi_celle(riga, d, true, celle);
        colonne.resize(std::max(colonne.size(), celle.testo.size()));
        for (std::size_t j = 0; j < celle.testo.size(); ++j) {
            const std::string_view cella = senza_spazi(celle.testo[j]);
            colonne[j].date += leggi_data(cella) ? 1 : 0;
            colonne[j].ore += leggi_ora(cella) ? 1 : 0;
            colonne[j].partite += partita_di(cella) ? 1 : 0;
            colonne[j].numeri += numero_di(cella) ? 1 : 0;
        }
    });
    return {std::move(colonne), righe};
}

// Without a header, the fields by what their columns hold in most lines, where that is not
// the order N, DATA, ORARIO, LUOGO, PARTITA: a list without N, say, or with its time first.
void per_contenuto(std::string_view testo, Disposizione& d) {
    const auto letti = contenuti(testo, d);
    const std::vector<Contenuto>& colonne = letti.first;
    const std::size_t righe = letti.second;
    std::vector<bool> usata(colonne.size(), false);
    // The column that holds the most of a kind, in more than half the lines.
    const auto colonna_con = [&](std::size_t Contenuto::*quanti) -> std::optional<std::size_t> {
        std::optional<std::size_t> migliore;
        for (std::size_t j = 0; j < colonne.size(); ++j) {
            if (!usata[j] && 2 * (colonne[j].*quanti) > righe &&
                (!migliore || colonne[j].*quanti > colonne[*migliore].*quanti)) {
                migliore = j;
            }
        }
        if (migliore) {
            usata[*migliore] = true;
        }
        return migliore;
    };
    std::array<std::optional<std::size_t>, CAMPI> colonna{};
    colonna[CAMPO_DATA] = colonna_con(&Contenuto::date);
    if (!colonna[CAMPO_DATA]) {
        return;
    }
    colonna[CAMPO_ORA] = colonna_con(&Contenuto::ore);
    colonna[CAMPO_PARTITA] = colonna_con(&Contenuto::partite);
    colonna[CAMPO_N] = colonna_con(&Contenuto::numeri);
    // The place: the first column left after the date and the time, else any left.
    const std::size_t da = std::max(*colonna[CAMPO_DATA], colonna[CAMPO_ORA].value_or(0)) + 1;
    for (std::size_t j = 0; j < colonne.size() && !colonna[CAMPO_LUOGO]; ++j) {
        const std::size_t k = (da + j) % colonne.size();
        if (!usata[k]) {
            colonna[CAMPO_LUOGO] = k;
        }
    }
    const auto al_suo_posto = [&](std::size_t campo) {
        return !colonna[campo] || colonna[campo] == campo;
    };
    if (!(al_suo_posto(CAMPO_DATA) && al_suo_posto(CAMPO_ORA) && al_suo_posto(CAMPO_LUOGO) &&
          al_suo_posto(CAMPO_PARTITA))) {
        d.colonna = colonna;
        d.per_contenuto = true;
    }
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

Disposizione leggi_disposizione(std::string_view testo, bool per_calendario) {
    Disposizione d;
    d.separatore = separatore_della_lista(testo);
    std::size_t righe = 0;
    std::size_t allineate = 0;
    std::optional<std::string_view> prima;
    Celle celle;
    // The tables only read the header: the first line that says something.
    for (std::string_view resto = testo; !resto.empty() && (per_calendario || !prima);) {
        const std::string_view riga = prossima_riga(resto);
        if (senza_spazi(riga).empty()) {
            continue;
        }
        // A header may start with "Gio" (Giorno); a rest line names no column.
        prima = prima.value_or(riga);
        if (e_riposo(riga)) {
            continue;
        }
        ++righe;
        if (per_calendario && riga.find("  ") != FINE) {
            celle_allineate(riga, celle);
            allineate += celle.testo.size() >= 3 ? 1 : 0;
        }
    }
    d.allineata = d.separatore == Separatore::spazio && 2 * allineate > righe;
    if (prima) {
        intestazione(*prima, d);
    }
    if (!d.intestazione && per_calendario) {
        per_contenuto(testo, d);
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
    const bool per_nome = d.intestazione || d.per_contenuto;
    for (std::size_t i = 0; i < CAMPI; ++i) {
        campi.campo[i] = cella(per_nome ? d.colonna[i] : std::optional(i));
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

}  // namespace turnolista
