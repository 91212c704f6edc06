#pragma once
// Which column of a list of cells holds which field, from what its cells hold: a date, a
// time, a small number, two teams; a header's words name only what that leaves open (the
// venue, the home and the away team, the match, its number), whatever the export calls them.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "esporta/campi.hpp"
#include "esporta/celle.hpp"

namespace turnolista {

struct Colonne {
    std::optional<std::size_t> n, data, ora, luogo, partita, casa, ospite;
    std::vector<std::string> intestazione;  // the header's cells, where it has one
};

// The columns of the list `testo`, cut by `separatore`; the teams they name go to `squadre`.
Colonne colonne_di(std::string_view testo, Separatore separatore, Squadre& squadre);

}  // namespace turnolista
