#pragma once
// How a pass, or one step of it, ended. The steps work on streams and report which side
// failed; the dialogue, which knows the files behind the streams, names them to the user.

namespace turnolista {

enum class Esito {
    ok,
    errore_lettura,   // the input stream could not be read
    errore_scrittura  // the output stream could not be written
};

}  // namespace turnolista
