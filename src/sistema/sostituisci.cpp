#include <algorithm>

#include "sistema/file.hpp"
#include "sistema/segnali.hpp"
#include "sistema/serratura.hpp"

namespace turnolista {

int sostituisci(std::span<FileNuovo* const> file, std::string& fallito) {
    const SerraturaCartella serratura;
    if (serratura.causa() != 0) {
        fallito = file.front()->destinazione();
        return serratura.causa();
    }
    trattieni_segnali();
    int causa = 0;
    const auto mancato = std::find_if(
        file.begin(), file.end(), [&](const FileNuovo* f) { return (causa = f->verifica()) != 0; });
    for (auto f = file.begin(); causa == 0 && f != file.end(); ++f) {
        causa = (*f)->metti_al_posto();
        if (causa != 0) {
            fallito = (*f)->destinazione();
        }
    }
    if (mancato != file.end()) {
        fallito = (*mancato)->destinazione();
    }
    rilascia_segnali();
    return causa;
}

}  // namespace turnolista
