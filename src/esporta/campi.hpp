#pragma once
// What a line of a fixture list holds, found among its words by their content: a date, a
// time, the match's number, a result, the two teams, the venue.

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "esporta/date.hpp"

namespace turnolista {

struct Letta {
    enum class Tipo { altro, partita, intestazione };
    Tipo tipo = Tipo::altro;
    // The fields as the line writes them, in UTF-8.
    std::string n, data, ora, luogo, casa, ospite;
    std::string partita;             // the match as the list writes it: "Lupi-Orsi"
    std::string rinvio;              // a mark of a match not played on its date
    std::vector<std::string> altre;  // further cells, in order
    // The return leg, where the line gives two dates: its date and time as written.
    std::optional<std::pair<std::string, std::string>> ritorno;
};

using Squadre = std::set<std::string, std::less<>>;

// Where two teams meet in `testo`: the separator's start and length ("Lupi - Orsi",
// "Lupi vs Orsi", "Lupi–Orsi", "Lupi-Orsi").
std::optional<std::pair<std::size_t, std::size_t>> incontro(std::string_view testo);
// A result, "3-1" or "0 - 0", is no team and no date.
bool risultato(std::string_view testo);
// A match's number: up to four digits.
bool numero_di_gara(std::string_view cella);
// A mark of a match that is not played on its date, in any case: "rinviata", "sospesa", "da
// definire"; under a firm date (`datata`) a time still to be set is no such mark.
std::string rinvio_di(std::string_view riga, bool datata);

// What the line `testo`, free text, holds. The date, the time and the match's number are
// found among its words, the teams on either side of a dash, "vs" or a run of spaces; of the
// words before them those that make a team of `squadre` are the home team, the others the
// venue. A line that names no match and holds a date, or starts with a round's word, is a
// heading.
void leggi_libero(std::string_view testo, const Squadre& squadre, Letta& letta);

}  // namespace turnolista
