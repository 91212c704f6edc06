#pragma once
// How a pass, or one step of it, ended. The steps work on streams and report which side
// failed; the dialogue, which knows the files behind the streams, names them to the user.

#include <string>

namespace turnolista {

enum class Esito {
    ok,
    errore_lettura,    // the input stream could not be read
    errore_scrittura,  // the output stream could not be written
    riga_troppo_lunga  // the input holds a line longer than RIGA_MASSIMA
};

// A file that could not be read or written: the system's reason (an errno value), or for
// a line too long to hold, its number.
struct ErroreFile {
    std::string file;
    bool scrittura = false;
    int causa = 0;
    int riga_troppo_lunga = 0;
};

}  // namespace turnolista
