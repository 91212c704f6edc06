#pragma once
// How a list lays out its matches, read once from the whole list, and the fields of a match
// line by it. The tables and the calendar read a line through it alike.
//
// Beside the separator (colonne.hpp), a list may start with a header line that names its
// columns, in any letter case, with or without accents: N, Num, Gara; Data, Giorno; Ora,
// Orario; Campo, Luogo, Impianto, Palestra; Partita, Incontro; Casa and Ospite, or Squadra 1
// and Squadra 2; Note, Risultato. Without one, the columns are N, DATA, ORARIO, LUOGO and
// PARTITA in that order, unless what most lines hold in them says otherwise (a date, a
// time, two names with a dash, a small number). A list of spaces whose lines align their columns
// with runs of spaces is read by those runs, by the calendar alone: its tables keep the rule of
// spaces. A list laid out by rounds ("1ª GIORNATA - Domenica 13/09/2026", then "ore 17:00 Palestra
// Cantù: Cantù - San Luigi") gives a match line without a date its round's.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "esporta/colonne.hpp"

namespace turnolista {

// The fields of a match, in the order the tables show them.
enum Campo : std::size_t { CAMPO_N, CAMPO_DATA, CAMPO_ORA, CAMPO_LUOGO, CAMPO_PARTITA, CAMPI };

struct Disposizione {
    Separatore separatore = Separatore::spazio;
    bool allineata = false;  // a list of spaces aligned by runs of them
    // Where a header names the columns: the column of each field, of the home and away
    // teams, and the further columns, in order.
    bool intestazione = false;
    std::array<std::optional<std::size_t>, CAMPI> colonna{};
    std::optional<std::size_t> casa;
    std::optional<std::size_t> ospite;
    std::vector<std::size_t> altre;
    // Without a header: the fields found by what their columns hold, where that is not the
    // order N, DATA, ORARIO, LUOGO, PARTITA (the calendar reads them so; the tables keep the
    // cells as they stand).
    bool per_contenuto = false;
    // Whether the tables cut a line as its cells stand: no header, or one of the five
    // fields in their order and nothing else.
    bool come_sta() const;
};

// The layout of the list `testo`; what only the calendar reads (aligned columns, fields by
// content) only `per_calendario`.
Disposizione leggi_disposizione(std::string_view testo, bool per_calendario = true);

// The fields of a match line and its further cells, in the list's encoding.
struct Campi {
    std::array<std::string_view, CAMPI> campo{};
    std::string partita;  // Casa - Ospite, where the list has them
    std::vector<std::string_view> altre;
    std::string_view operator[](std::size_t quale) const {
        return quale == CAMPO_PARTITA && !partita.empty() ? partita : campo[quale];
    }
};

// Reads `riga` into `campi` by `disposizione`, through `celle`; `allineata` says whether
// runs of spaces, where the list has them, end the cells.
void leggi_campi(std::string_view riga, const Disposizione& disposizione, bool allineata,
                 Celle& celle, Campi& campi);

}  // namespace turnolista
