#include "dialogo/passata.hpp"

#include <string>
#include <vector>

#include "comune/costanti.hpp"
#include "ricerca/ricerca.hpp"

namespace turnolista {

namespace {

RisultatoPassata fallita(std::string_view file, bool scrittura, int causa) {
    return {.errore = ErroreFile{std::string(file), scrittura, causa}};
}

}  // namespace

RisultatoPassata esegui_passata(Formato formato, std::string_view nome) {
    const VoceFormato& scelta = voce(formato);
    const bool tabella = scelta.esporta != nullptr;
    const std::string prima(tabella ? FILE_TEMPORANEO : scelta.file);
    int causa = 0;

    const auto read1 = FileLettura::apri(std::string(FILE_ORIGINALE), causa);
    if (!read1) {
        return fallita(FILE_ORIGINALE, false, causa);
    }
    const auto write1 = FileNuovo::crea(prima, causa);
    if (!write1) {
        return fallita(prima, true, causa);
    }
    const EsitoRicerca ricerca = cerca(read1->flusso(), nome, write1->flusso(), !tabella);
    if (ricerca.esito == Esito::errore_lettura) {
        return fallita(FILE_ORIGINALE, false, read1->errore());
    }
    if ((causa = write1->chiudi()) != 0) {
        return fallita(prima, true, causa);
    }

    std::vector<FileNuovo*> da_sostituire{write1.get()};
    std::unique_ptr<FileNuovo> write2;
    if (tabella) {
        // The table is made from the lines just written, before either file is in place.
        const auto read2 = FileLettura::apri(write1->temporaneo(), causa);
        if (!read2) {
            return fallita(FILE_TEMPORANEO, false, causa);
        }
        write2 = FileNuovo::crea(std::string(scelta.file), causa);
        if (!write2) {
            return fallita(scelta.file, true, causa);
        }
        if (scelta.esporta(read2->flusso(), write2->flusso()) == Esito::errore_lettura) {
            return fallita(FILE_TEMPORANEO, false, read2->errore());
        }
        if ((causa = write2->chiudi()) != 0) {
            return fallita(scelta.file, true, causa);
        }
        da_sostituire.push_back(write2.get());
    }

    std::string non_sostituito;
    if ((causa = sostituisci(da_sostituire, non_sostituito)) != 0) {
        return fallita(non_sostituito, true, causa);
    }
    return {.RIGHE = ricerca.RIGHE, .troncato = ricerca.troncato, .errore = std::nullopt};
}

}  // namespace turnolista
