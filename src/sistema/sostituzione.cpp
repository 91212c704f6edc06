#include "sistema/sostituzione.hpp"

#include <cerrno>

#include "sistema/segnali.hpp"
#include "sistema/serratura.hpp"

namespace turnolista::sistema {

Esito sostituisci(std::span<FileNuovo* const> file) {
    const SerraturaCartella serratura;
    if (serratura.occupata()) {
        return Esito::scrittura(Oggetto::file(file.front()->destinazione()), EWOULDBLOCK);
    }
    const SegnaliTrattenuti trattenuti;
    for (const FileNuovo* f : file) {
        if (Esito esito = f->verifica(); !esito.ok()) {
            return esito;
        }
    }
    for (FileNuovo* f : file) {
        if (Esito esito = f->metti_al_posto(); !esito.ok()) {
            return esito;
        }
    }
    return {};
}

}  // namespace turnolista::sistema
