#include "dialogo/passata.hpp"

#include <memory>
#include <optional>
#include <ostream>

#include "comune/codifica.hpp"
#include "comune/costanti.hpp"
#include "comune/scrittura.hpp"
#include "sistema/file.hpp"

namespace turnolista {

namespace {

using sistema::FileNuovo;

// The files of a pass, written as the matching lines are found: the chosen format's file,
// or for a table format "temp.txt" with the bare lines and the table made from them.
class Scrittura {
  public:
    static Risultato<std::unique_ptr<Scrittura>> prepara(const VoceFormato& scelta,
                                                         const sistema::FileLettura& read1) {
        auto s = std::unique_ptr<Scrittura>(new Scrittura());
        auto write1 = FileNuovo::crea(scelta.tabella ? FILE_TEMPORANEO : scelta.file, read1);
        if (!write1) {
            return write1.errore();
        }
        s->write1_ = std::move(*write1);
        if (scelta.tabella) {
            auto write2 = FileNuovo::crea(scelta.file, read1);
            if (!write2) {
                return write2.errore();
            }
            s->write2_ = std::move(*write2);
        }
        s->tabella_tipo_ = scelta.tabella;
        return s;
    }

    // Starts each file, with the UTF-8 BOM where `bom`.
    void inizia(bool bom) {
        if (bom) {
            scrivi(write1_->flusso(), BOM_UTF8);
            if (write2_) {
                scrivi(write2_->flusso(), BOM_UTF8);
            }
        }
        if (tabella_tipo_) {
            tabella_.emplace(write2_->flusso(), *tabella_tipo_);
        }
    }

    // The text formats follow each line with an empty one.
    void copia(std::string_view riga) {
        scrivi(write1_->flusso(), riga);
        scrivi(write1_->flusso(), tabella_ ? "\n" : "\n\n");
        if (tabella_) {
            tabella_->riga(riga);
        }
    }

    // Completes the files and puts them in place: the table first, which is what the user
    // asked for, then "temp.txt". A "temp.txt" that cannot follow it is told with the table.
    Esito completa() {
        if (!tabella_) {
            return write1_->metti_al_posto();
        }
        tabella_->chiudi();
        if (Esito esito = write2_->metti_al_posto(); !esito.ok()) {
            return esito;
        }
        Esito esito = write1_->metti_al_posto();
        return esito.ok() ? esito : std::move(esito).con_gia_scritto(write2_->destinazione());
    }

  private:
    Scrittura() = default;

    std::unique_ptr<FileNuovo> write1_;
    std::unique_ptr<FileNuovo> write2_;
    std::optional<TipoTabella> tabella_tipo_;
    std::optional<Tabella> tabella_;
};

}  // namespace

RisultatoPassata esegui_passata(Formato formato, std::string_view nome) {
    RisultatoPassata risultato;
    auto read1 = sistema::FileLettura::apri(FILE_ORIGINALE);
    if (!read1) {
        risultato.esito = read1.errore();
        return risultato;
    }
    auto scrittura = Scrittura::prepara(voce(formato), **read1);
    if (!scrittura) {
        risultato.esito = scrittura.errore();
        return risultato;
    }
    TestoOriginale testo(**read1);
    const auto codifica = testo.riconosci();
    if (!codifica) {
        risultato.esito = codifica.errore();
        return risultato;
    }
    risultato.codifica = *codifica;
    (*scrittura)->inizia(con_bom(*codifica));
    // A name with a character the list's encoding cannot hold is in no line of it.
    const std::string cercato =
        nella_codifica(caratteri_digitati(nome), *codifica).value_or(std::string());
    auto ricerca = cerca(
        testo, cercato, [&](std::string_view riga) { (*scrittura)->copia(riga); }, *codifica);
    if (!ricerca) {
        risultato.esito = ricerca.errore();
        return risultato;
    }
    risultato.conteggio = std::move(*ricerca);
    risultato.esito = (*scrittura)->completa();
    return risultato;
}

}  // namespace turnolista
