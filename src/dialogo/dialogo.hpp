#pragma once
// The dialogue with the user: the format, the team name, the summary, and the question
// whether to start again, pass after pass.

#include <iosfwd>
#include <string_view>

namespace turnolista {

struct Console {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    // The program's messages hold a few accented letters: in UTF-8 on a UTF-8 console,
    // otherwise as their single ISO-8859-1 bytes.
    bool utf8;
};

// Runs passes until the user declines to start again or the input ends. Returns the exit
// status: 0 when every pass succeeded, 1 when one failed.
int dialogo(Console& console);

// Writes one of the program's messages, which are kept in ISO-8859-1, in the console's
// character set.
void scrivi_messaggio(const Console& console, std::ostream& flusso, std::string_view testo);

}  // namespace turnolista
