#pragma once
// The console as the dialogue sees it: three streams and what the system layer can tell
// about them. The system layer makes one from the process's standard streams.

#include <cstddef>
#include <functional>
#include <iosfwd>

namespace turnolista {

struct Console {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    // The program's messages hold a few accented letters: in UTF-8 on a UTF-8 console,
    // otherwise as their single ISO-8859-1 bytes.
    bool utf8 = false;
    // The system's reason (an errno value) why reading `in` or writing `out` failed.
    std::function<int()> causa_in = [] { return 0; };
    std::function<int()> causa_out = [] { return 0; };
    // Gives back the input read ahead but not used, where the input allows it, so that
    // whoever reads it next starts just after the last answer.
    std::function<void(std::size_t)> restituisci = [](std::size_t) {};
};

}  // namespace turnolista
