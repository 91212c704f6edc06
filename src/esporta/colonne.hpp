#pragma once
// The column rule shared by the table exports and the calendar: where a fixture line is cut
// into cells.
//
// How a list separates its fields is decided by the reader (lettore.hpp), over the whole list.
//
// With spaces a line is cut at its first COLONNEEXCEL spaces, which are dropped; everything
// after the last cut, later spaces included, is the last cell. With a tab or ";" every
// separator ends a cell, and those that end the line are no text (a sheet writes them for
// its empty cells); with ";" or "," a cell in double quotes loses them, "" inside being one ".
// A rest line (its first three characters are "Gio") leaves the middle cells empty and puts
// its text from the first "Ri" in the last cell: "Giornata 3: Riposa Falchi" gives four empty
// cells and "Riposa Falchi".

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "comune/costanti.hpp"

namespace turnolista {

enum class Separatore : char { spazio = ' ', tab = '\t', punto_e_virgola = ';', virgola = ',' };

bool e_riposo(std::string_view riga);

struct Celle {
    std::vector<std::string_view> testo;
    std::string senza_virgolette;  // the text of the cells that were in double quotes
};

// Cuts `riga` into `celle`, emptied first and reused from line to line; the cells are valid
// while `riga` and `celle` are. Without `riposi`, a rest line is cut as any other.
void taglia_in_celle(std::string_view riga, Separatore separatore, Celle& celle,
                     bool riposi = true);

}  // namespace turnolista
