#pragma once
// The words of a line of free text, and the fields written as such among them: a date, a
// time, a result, the match's number.

#include <cstddef>
#include <string_view>
#include <vector>

#include "esporta/campi.hpp"

namespace turnolista {

struct Parola {
    std::size_t da, a;  // where it stands in its line
    bool distante;      // after a run of spaces
    bool usata = false;
};

std::vector<Parola> parole_di(std::string_view testo);
std::string_view parola(std::string_view testo, const Parola& p);

// The fields written as such, each taken off `parole`: the date (of up to four words), the
// time, a return leg's, a date or a time not understood (told as written, not taken for a
// venue), a result, the match's number.
void campi_scritti(std::string_view testo, std::vector<Parola>& parole, Letta& letta);
// What is left, in pieces between the fields and runs of spaces.
std::vector<std::string_view> pezzi_di(std::string_view testo, const std::vector<Parola>& parole);
// A round's word among the first two: "1ª giornata", "Giornata 3", "TURNO 2".
bool di_turno(std::string_view testo);

}  // namespace turnolista
