#pragma once
// How a list's lines separate their fields, a record's cells, and what in a line is no
// content.

#include <string>
#include <string_view>
#include <vector>

namespace turnolista {

enum class Separatore : char { spazio = ' ', tab = '\t', punto_e_virgola = ';', virgola = ',' };

// How a list's lines separate their fields, by most of them (a title line decides nothing):
// all that the tables of a list cut by the fixed rule need, so that such a pass reads no
// line's words.
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

// An ASCII letter, or a byte of a letter beyond ASCII.
bool lettera(char c);
// The text without the signs and dashes that stand between fields.
std::string_view senza_segni(std::string_view testo);
// The line without what is no content: a chat's sender, an e-mail's quote marks, a bullet,
// emoji and emphasis marks; a tab is two spaces and a no-break space one.
std::string pulita(std::string_view riga);

// The cells of the record `riga`, each `pulita`: cut at every `separatore`, or with `spazio`
// at each run of spaces. The separators that end a record are no cells (a sheet writes them
// for empty cells). With ";" or "," a cell that starts with a double quote loses them, ""
// inside being one ", and a line break in it is a space. A record of more cells than any
// list has keeps the rest of its text in its last, so that a line of endless cells takes no
// more memory than its text.
std::vector<std::string> celle_di(std::string_view riga, Separatore separatore);

}  // namespace turnolista
