#include "dialogo/passata.hpp"

#include <memory>
#include <optional>
#include <ostream>

#include "comune/codifica.hpp"
#include "comune/costanti.hpp"
#include "comune/scrittura.hpp"
#include "dialogo/originale.hpp"
#include "esporta/calendario.hpp"
#include "sistema/file.hpp"
#include "sistema/orologio.hpp"

namespace turnolista {

namespace {

using sistema::FileNuovo;

// The files of a pass, written as the matching lines are found: the chosen format's file,
// or for a table format "temp.txt" with the bare lines and the table made from them. The
// calendar is written once the whole list is read, since every match decides its season.
class Scrittura {
  public:
    static Risultato<std::unique_ptr<Scrittura>> prepara(const VoceFormato& scelta,
                                                         const sistema::FileLettura& read1) {
        auto s = std::unique_ptr<Scrittura>(new Scrittura(scelta));
        // The calendar ends its lines in CR LF itself, on every system.
        auto write1 = FileNuovo::crea(scelta.tabella ? FILE_TEMPORANEO : scelta.file, read1,
                                      scelta.ics ? FineRiga::lf : sistema::fine_riga_del_sistema());
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
        return s;
    }

    // Starts each file, with the UTF-8 BOM where the list's text is UTF-8 (never the
    // calendar, which is UTF-8 by definition); `squadra` names the calendar.
    void inizia(Codifica codifica, std::string squadra) {
        if (scelta_.ics) {
            calendario_.emplace(std::move(squadra), sistema::adesso(), codifica);
            return;
        }
        if (con_bom(codifica)) {
            scrivi(write1_->flusso(), BOM_UTF8);
            if (write2_) {
                scrivi(write2_->flusso(), BOM_UTF8);
            }
        }
        if (scelta_.tabella) {
            tabella_.emplace(write2_->flusso(), *scelta_.tabella);
        }
    }

    // Every line of the list, before copia() has it if it matches: the first that is not a
    // rest line decides how the list separates its fields.
    void vedi(std::string_view riga) {
        ++numero_;
        if (!separatore_) {
            separatore_ = separatore_di(riga);
            if (separatore_ && tabella_) {
                tabella_->separatore(*separatore_);
            }
        }
    }

    // The text formats follow each line with an empty one.
    void copia(std::string_view riga) {
        if (calendario_) {
            calendario_->riga(riga, separatore_.value_or(Separatore::spazio), numero_);
            return;
        }
        scrivi(write1_->flusso(), riga);
        scrivi(write1_->flusso(), tabella_ ? "\n" : "\n\n");
        if (tabella_) {
            tabella_->riga(riga);
        }
    }

    // Completes the files and puts them in place: the table first, which is what the user
    // asked for, then "temp.txt". A "temp.txt" that cannot follow it is told with the table.
    Esito completa(RisultatoPassata& risultato) {
        if (calendario_) {
            calendario_->scrivi(write1_->flusso());
            risultato.stagione = calendario_->stagione();
            risultato.senza_data = calendario_->senza_data();
            risultato.prima_senza_data = calendario_->prima_senza_data();
        }
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
    explicit Scrittura(const VoceFormato& scelta) : scelta_(scelta) {}

    const VoceFormato& scelta_;
    std::unique_ptr<FileNuovo> write1_;
    std::unique_ptr<FileNuovo> write2_;
    std::optional<Tabella> tabella_;
    std::optional<Calendario> calendario_;
    std::optional<Separatore> separatore_;
    long numero_ = 0;  // lines of the list seen so far
};

}  // namespace

RisultatoPassata esegui_passata(Formato formato, std::string_view nome) {
    RisultatoPassata risultato;
    auto read1 = sistema::FileLettura::apri(FILE_ORIGINALE);
    if (!read1) {
        risultato.esito = nella_cartella(read1.errore());
        return risultato;
    }
    const VoceFormato& scelta = voce(formato);
    auto scrittura = Scrittura::prepara(scelta, **read1);
    if (!scrittura) {
        risultato.esito = scrittura.errore();
        return risultato;
    }
    TestoOriginale testo(**read1);
    const auto codifica = testo.riconosci();
    if (!codifica) {
        risultato.esito = nella_cartella(codifica.errore());
        return risultato;
    }
    risultato.codifica = *codifica;
    const std::u32string caratteri = caratteri_digitati(nome);
    (*scrittura)->inizia(*codifica, in_utf8(caratteri));
    // A name with a character the list's encoding cannot hold is in no line of it.
    const std::string cercato = nella_codifica(caratteri, *codifica).value_or(std::string());
    // Only the tables and the calendar look at the lines that do not match.
    const auto vedi = [&](std::string_view riga) { (*scrittura)->vedi(riga); };
    auto ricerca = cerca(
        testo, cercato, [&](std::string_view riga) { (*scrittura)->copia(riga); }, *codifica,
        scelta.tabella || scelta.ics ? Consegna(vedi) : Consegna());
    if (!ricerca) {
        risultato.esito = nella_cartella(ricerca.errore());
        return risultato;
    }
    risultato.conteggio = std::move(*ricerca);
    risultato.esito = (*scrittura)->completa(risultato);
    return risultato;
}

}  // namespace turnolista
