#pragma once
// What each line of a fixture list holds, found by its content over the whole list: the
// calendar reads every list so, and the tables every list not separated by single spaces.
// A list is cut into cells (celle.hpp) where most of its lines hold tabs, ";" or "," or align
// their columns by runs of spaces, each column's kind read from its cells (colonne.cpp);
// otherwise each line is free text (campi.hpp). A line that names no match and holds a date,
// or starts with a round's word, is a heading: its date is that of the matches under it.

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
    // Takes a heading's date, or gives it to a match without its own.
    void segui(Letta& letta);
};

// Which column of a list of cells holds which field.
struct Colonne {
    std::optional<std::size_t> n, data, ora, luogo, partita, casa, ospite;
    std::vector<std::string> intestazione;  // the header's cells, where it has one
};

// The columns of the list `testo`, cut by `separatore`, from what their cells hold: a date,
// a time, a small number, two teams; a header's words name only what that leaves open,
// whatever the export calls them. The teams they name go to `squadre`.
Colonne colonne_di(std::string_view testo, Separatore separatore, Squadre& squadre);

class Lettore : public Disposizione {
  public:
    // Reads how the list `testo`, in UTF-8, lays out its matches.
    explicit Lettore(std::string_view testo) : Lettore(testo, Disposizione(testo)) {}
    // The same, for a list whose layout `disposizione` is already known.
    Lettore(std::string_view testo, const Disposizione& disposizione);

    // What the record `riga` holds.
    Letta leggi(std::string_view riga) const;
    // Whether the team `nome`, as typed, is one of the match's two teams: the team itself
    // where the list has a team of that name ("Lupi" is not "Lupi B"), else one it names.
    bool della_squadra(const Letta& letta, std::string_view nome) const;

  private:
    void leggi_celle(std::vector<std::string>& celle, Letta& letta) const;

    Colonne colonne_;  // in a list of cells
    Squadre squadre_;
};

}  // namespace turnolista
