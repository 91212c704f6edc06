#pragma once
// What each line of a fixture list holds, found by its content over the whole list: the
// calendar reads every list so, and the tables every list not separated by single spaces.
//
// A list is cut into cells by tabs, ";" or "," where most of its lines hold them, or by runs
// of spaces where most lines align their columns; otherwise its lines are free text. What a
// chat, a quoted e-mail or a bulleted list puts before every line, emoji and emphasis marks
// are no content. In a list of cells each column's kind comes from what its cells hold (a
// date, a time, a small number, two teams); a header's words name only what that leaves
// open: the venue, the home and the away team. In free text the date, the time and the
// match's number are found among the words, the teams on either side of a dash, "vs" or a
// run of spaces; of the words before them, those that make a name the list uses elsewhere
// are the home team, the others the venue. A line that names no match and holds a date, or
// starts with a round's word, is a heading: its date is that of the matches under it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "esporta/campi.hpp"
#include "esporta/celle.hpp"

namespace turnolista {

// The date the list's headings give the matches under them, line after line.
struct Giornata {
    bool vista = false;  // a heading above: its date, or none where it is not set
    std::string data;
    std::optional<Data> giorno;
    // Takes a heading's date, or gives it to a match without its own.
    void segui(Letta& letta);
};

class Lettore {
  public:
    // Reads how the list `testo`, in UTF-8, lays out its matches.
    explicit Lettore(std::string_view testo);

    Separatore separatore() const { return separatore_; }
    // What the record `riga` holds.
    Letta leggi(std::string_view riga) const;
    // Whether the team `nome`, as typed, is one of the match's two teams: the team itself
    // where the list has a team of that name ("Lupi" is not "Lupi B"), else one it names.
    bool della_squadra(const Letta& letta, std::string_view nome) const;

  private:
    void leggi_celle(std::vector<std::string>& celle, Letta& letta) const;

    Separatore separatore_ = Separatore::spazio;
    bool allineata_ = false;
    // The column of each field in a list of cells.
    std::optional<std::size_t> col_n_, col_data_, col_ora_, col_luogo_, col_partita_, col_casa_,
        col_ospite_;
    std::optional<std::size_t> intestazione_;  // how many cells the header has
    Squadre squadre_;
};

}  // namespace turnolista
