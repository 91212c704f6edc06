#pragma once
// The console as the dialogue sees it: where answers come from, where messages and
// problems go, and what the system can tell about them. The system layer makes one from
// the process's standard streams; a test can make one over strings.

#include <functional>
#include <iosfwd>

#include "comune/esito.hpp"
#include "comune/sorgente.hpp"

namespace turnolista {

struct Console {
    Sorgente& in;
    std::ostream& out;
    std::ostream& err;
    // The program's messages hold a few accented letters: in UTF-8 on a UTF-8 console,
    // otherwise as their single ISO-8859-1 bytes; each stream as it is.
    bool utf8 = false;
    bool utf8_err = false;
    // Windows habits on the command line: /? and its kind, options in any case.
    bool abitudini_windows = false;
    // The console window was opened for this run alone (the program was started from
    // Explorer), and closes with it.
    bool finestra_propria = false;
    // Why writing `out` failed, once the stream shows that it did.
    std::function<Esito()> esito_out = [] { return Esito(); };
};

}  // namespace turnolista
