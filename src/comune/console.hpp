#pragma once
// The console as the dialogue sees it: where answers come from, where messages and
// problems go, and what the system can tell about them. The system layer makes one from
// the process's standard streams; a test can make one over strings.

#include <cstddef>
#include <span>
#include <string_view>

#include "comune/esito.hpp"

namespace turnolista {

// One standard stream.
class Canale {
  public:
    virtual ~Canale() = default;
    // Reads into `dove` at least one byte unless the data has ended: how many, 0 at the
    // end, or why reading failed.
    virtual Risultato<std::size_t> leggi(std::span<char> dove) = 0;
    // Writes all of `testo`, each LF as the system's text ends a line.
    virtual Esito scrivi(std::string_view testo) = 0;
};

struct Console {
    Canale& in;
    Canale& out;
    Canale& err;
    // The program's messages hold a few accented letters: in UTF-8 on a UTF-8 console,
    // otherwise as their single ISO-8859-1 bytes.
    bool utf8 = false;
    // Windows habits on the command line: /? and its kind, options in any case; and the
    // arguments are text the system gave in UTF-16, made UTF-8, rather than bytes as typed.
    bool abitudini_windows = false;
    // Standard input is a terminal, where a person reads the questions as they come.
    bool in_terminale = false;
    // The console window was opened for this run alone (the program was started from
    // Explorer), and closes with it.
    bool finestra_propria = false;
};

}  // namespace turnolista
