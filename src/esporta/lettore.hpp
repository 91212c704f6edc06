#pragma once
// What each line of a fixture list holds, found by its content over the whole list: the
// calendar reads every list so, and the tables every list not separated by single spaces.
// A list is cut into cells (celle.hpp) where most of its lines hold tabs, ";" or "," or align
// their columns by runs of spaces, each column's kind read from its cells (colonne.hpp);
// otherwise each line is free text (campi.hpp). A line that names no match and holds a date,
// or starts with a round's word, is a heading: its date is that of the matches under it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "esporta/campi.hpp"
#include "esporta/celle.hpp"
#include "esporta/colonne.hpp"

namespace turnolista {

// The date the list's headings give the matches under them, line after line.
struct Giornata {
    bool vista = false;  // a heading above: its date, or none where it is not set
    std::string data;
    std::optional<Data> giorno;
    // Takes a heading's date, or gives it to a match without its own.
    void segui(Letta& letta);
};

// How a list's lines separate their fields, by most of them: all that the tables of a list
// cut by the fixed rule need, so that such a pass reads no line's words.
class Disposizione {
  public:
    explicit Disposizione(std::string_view testo);

    Separatore separatore() const { return separatore_; }
    // Whether its records are cut into cells: by a sign, or by runs of spaces that align them.
    bool in_celle() const { return separatore_ != Separatore::spazio || allineata_; }
    // Whether its tables cut each line by the fixed rule of spaces: a list of spaces whose
    // fields no sign such as " – " sets apart.
    bool regola_fissa() const { return separatore_ == Separatore::spazio && !tratteggiata_; }

  private:
    Separatore separatore_ = Separatore::spazio;
    bool allineata_ = false;
    bool tratteggiata_ = false;
};

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
