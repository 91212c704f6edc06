#pragma once
// The dialogue with the user: the format, the team name, the summary, and the question
// whether to start again, pass after pass.

#include <iosfwd>
#include <string_view>

#include "comune/console.hpp"

namespace turnolista {

// Runs passes until the user declines to start again or the input ends. Returns the exit
// status: 0 when every pass succeeded, 1 when one failed or the console itself failed.
int dialogo(Console& console);

// Writes one of the program's messages, which are kept in ISO-8859-1, in the console's
// character set.
void scrivi_messaggio(const Console& console, std::ostream& flusso, std::string_view testo);

// Reports a failure of the console's output on its error stream; true when there was one.
bool uscita_guasta(const Console& console);

}  // namespace turnolista
