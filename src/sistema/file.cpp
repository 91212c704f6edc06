#include "sistema/file.hpp"

#include <cerrno>

namespace turnolista::sistema {

// The content flushed, failures of the writes before included.
Esito FileNuovo::svuota() {
    flusso_.flush();
    if (!buffer_.esito().ok()) {
        return buffer_.esito();
    }
    return flusso_ ? Esito() : Esito::scrittura(Oggetto::file(destinazione_), EIO);
}

}  // namespace turnolista::sistema
