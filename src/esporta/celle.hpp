#pragma once
// A record's cells as the reader takes them, and what in a line is no content.

#include <string>
#include <string_view>
#include <vector>

namespace turnolista {

enum class Separatore : char { spazio = ' ', tab = '\t', punto_e_virgola = ';', virgola = ',' };

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
