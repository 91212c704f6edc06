#include "dialogo/passata.hpp"

#include <array>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "comune/costanti.hpp"
#include "comune/scrittura.hpp"
#include "ricerca/ricerca.hpp"
#include "sistema/file.hpp"

namespace turnolista {

namespace {

ErroreFile guasto(std::string_view file, bool scrittura, int causa) {
    return {.file = std::string(file), .scrittura = scrittura, .causa = causa};
}

// The files of a pass, written as the matching lines are found: the chosen format's file,
// or for a table format "temp.txt" with the bare lines and the table made from them.
class Scrittura {
  public:
    // nullopt and `errore` set when a file cannot be written.
    static std::optional<Scrittura> prepara(const VoceFormato& scelta, ErroreFile& errore) {
        const std::string prima(scelta.tabella ? FILE_TEMPORANEO : scelta.file);
        int causa = 0;
        Scrittura s;
        if (!(s.write1_ = FileNuovo::crea(prima, causa))) {
            errore = guasto(prima, true, causa);
            return std::nullopt;
        }
        if (scelta.tabella) {
            if (!(s.write2_ = FileNuovo::crea(std::string(scelta.file), causa))) {
                errore = guasto(scelta.file, true, causa);
                return std::nullopt;
            }
            s.tabella_.emplace(s.write2_->flusso(), *scelta.tabella);
        }
        return s;
    }

    // The text formats follow each line with an empty one.
    bool copia(std::string_view riga) {
        scrivi(write1_->flusso(), riga);
        scrivi(write1_->flusso(), tabella_ ? "\n" : "\n\n");
        if (tabella_) {
            tabella_->riga(riga);
        }
        return write1_->flusso() && (!write2_ || write2_->flusso());
    }

    // Completes the files and puts them in place, the table before "temp.txt", so that an
    // interrupted pair never shows a new "temp.txt" beside an old table.
    std::optional<ErroreFile> completa() {
        if (tabella_) {
            tabella_->chiudi();
        }
        std::vector<FileNuovo*> da_sostituire;
        for (FileNuovo* f : {write2_.get(), write1_.get()}) {
            if (f == nullptr) {
                continue;
            }
            if (const int causa = f->chiudi(); causa != 0) {
                return guasto(f->destinazione(), true, causa);
            }
            da_sostituire.push_back(f);
        }
        std::string non_sostituito;
        if (const int causa = sostituisci(da_sostituire, non_sostituito); causa != 0) {
            return guasto(non_sostituito, true, causa);
        }
        return std::nullopt;
    }

  private:
    Scrittura() = default;

    std::unique_ptr<FileNuovo> write1_;
    std::unique_ptr<FileNuovo> write2_;
    std::optional<Tabella> tabella_;
};

}  // namespace

RisultatoPassata esegui_passata(Formato formato, std::string_view nome) {
    RisultatoPassata esito;
    int causa = 0;
    const auto read1 = FileLettura::apri(std::string(FILE_ORIGINALE), causa);
    if (!read1) {
        esito.errore = guasto(FILE_ORIGINALE, false, causa);
        return esito;
    }
    ErroreFile errore;
    auto scrittura = Scrittura::prepara(voce(formato), errore);
    if (!scrittura) {
        esito.errore = errore;
        return esito;
    }
    const EsitoRicerca ricerca =
        cerca(read1->flusso(), nome, [&](std::string_view riga) { return scrittura->copia(riga); });
    esito.RIGHE = ricerca.RIGHE;
    esito.troncato = ricerca.troncato;
    switch (ricerca.esito) {
        case Esito::errore_lettura:
            esito.errore = guasto(FILE_ORIGINALE, false, read1->errore());
            return esito;
        case Esito::riga_troppo_lunga:
            esito.errore = guasto(FILE_ORIGINALE, false, 0);
            esito.errore->riga_troppo_lunga = ricerca.riga;
            return esito;
        default:
            // A failed write shows again, with its reason, when the files are completed.
            esito.errore = scrittura->completa();
            return esito;
    }
}

}  // namespace turnolista
