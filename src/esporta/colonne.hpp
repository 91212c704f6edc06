#pragma once
// The column rule shared by the table exports: where a fixture line is cut into cells.
//
// An ordinary line is cut at its first COLONNEEXCEL spaces, which are dropped; everything
// after the last cut, later spaces included, is the last cell. A rest line (its first three
// characters are "Gio") leaves the middle cells empty and puts its text from the first "Ri"
// in the last cell: "Giornata 3: Riposa Falchi" gives four empty cells and "Riposa Falchi".

#include <array>
#include <cstddef>
#include <string_view>

#include "comune/costanti.hpp"

namespace turnolista {

struct Celle {
    std::array<std::string_view, COLONNEEXCEL + 1> testo;
    std::size_t quante = 0;
};

Celle taglia_in_celle(std::string_view riga);

}  // namespace turnolista
