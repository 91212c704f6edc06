#include "sistema/sostituzione.hpp"

#include <algorithm>
#include <vector>

#include "sistema/segnali.hpp"
#include "sistema/serratura.hpp"

namespace turnolista::sistema {

Esito sostituisci(std::span<FileNuovo* const> file) {
    const SerraturaCartella serratura;
    if (serratura.occupata()) {
        return Esito::su_file(Esito::Tipo::cartella_occupata, file.front()->destinazione());
    }
    const SegnaliTrattenuti trattenuti;
    for (const FileNuovo* f : file) {
        if (Esito esito = f->verifica(); !esito.ok()) {
            return esito;
        }
    }
    // What is written into a device cannot be taken back: it goes last, once every file
    // that can be put back is in place.
    std::vector<FileNuovo*> ordine(file.begin(), file.end());
    std::stable_partition(ordine.begin(), ordine.end(), [](const FileNuovo* f) {
        return f->modo() != FileNuovo::Modo::dispositivo;
    });
    for (auto f = ordine.begin(); f != ordine.end(); ++f) {
        if (Esito esito = (*f)->metti_al_posto(); !esito.ok()) {
            while (f != ordine.begin()) {
                (*--f)->rimetti();
            }
            return esito;
        }
    }
    for (FileNuovo* f : ordine) {
        f->conferma();
    }
    return {};
}

}  // namespace turnolista::sistema
