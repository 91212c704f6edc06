#include "dialogo/messaggi.hpp"

#include <algorithm>
#include <cstdint>

#include "comune/codifica.hpp"
#include "comune/costanti.hpp"
#include "comune/motivi.hpp"
#include "dialogo/testo.hpp"

namespace turnolista {

namespace {

// What failed, as the sentence names it: "il file originale.txt", "lo standard input".
std::string nome_di(const Oggetto& oggetto) {
    switch (oggetto.tipo) {
        case Oggetto::Tipo::standard_input:
            return "lo standard input";
        case Oggetto::Tipo::standard_output:
            return "lo standard output";
        case Oggetto::Tipo::standard_error:
            return "lo standard error";
        case Oggetto::Tipo::file:
            break;
    }
    return "il file " + oggetto.nome;
}

// A file is written; one writes on a standard stream: "scrivere sullo standard output".
std::string scrivere(const Oggetto& oggetto) {
    return (oggetto.tipo == Oggetto::Tipo::file ? "scrivere " : "scrivere sul") + nome_di(oggetto);
}

// What a document is and how its program saves it as text.
std::string_view documento(Documento documento) {
    switch (documento) {
        case Documento::excel:
            return "è un file di Excel, non di testo: aprilo in Excel, scegli Salva con nome e "
                   "come tipo «CSV (delimitato dal separatore di elenco)»";
        case Documento::word:
            return "è un documento di Word, non di testo: aprilo in Word, scegli Salva con nome "
                   "e come tipo «Testo normale»";
        case Documento::pdf:
            return "è un PDF, non un file di testo: aprilo, seleziona la tabella delle partite, "
                   "copiala, incollala nel Blocco note e salvala";
        case Documento::opendocument:
            return "è un documento di LibreOffice, non di testo: aprilo in LibreOffice, scegli "
                   "Salva con nome e come tipo «Testo CSV» (o «Testo» per un documento di "
                   "Writer)";
        case Documento::zip:
            return "è un archivio zip, non un file di testo: estrailo (tasto destro, Estrai "
                   "tutto...)";
        case Documento::immagine:
            break;
    }
    return "è un'immagine, non un file di testo: scarica il calendario come testo, CSV o "
           "Excel, o scrivi le partite nel Blocco note e salvale";
}

std::string_view natura(Natura natura) {
    switch (natura) {
        case Natura::fifo:
            return "una pipe (FIFO)";
        case Natura::socket:
            return "un socket";
        case Natura::dispositivo:
            break;
    }
    return "un dispositivo";
}

// Why the file could not be read or written: the program's own words, or the system's.
std::string motivo(const Esito& errore) {
    const std::string& nome = errore.oggetto.nome;
    switch (errore.tipo) {
        case Esito::Tipo::non_regolare:
            return "è " + std::string(natura(errore.natura)) + ", non un file";
        case Esito::Tipo::troppo_grande: {
            constexpr std::uint64_t MIB = std::uint64_t{1024} * 1024;
            return "è di " + std::to_string((errore.byte + MIB - 1) / MIB) +
                   " MiB, troppo per un calendario (al massimo " +
                   std::to_string(LISTA_MASSIMA / MIB) + " MiB): controlla che sia il file giusto";
        }
        case Esito::Tipo::cartella_chiusa:
            return "nella sua cartella non si possono creare file (" +
                   turnolista::motivo(errore.causa) + ")";
        case Esito::Tipo::non_testo:
            return std::string(documento(errore.documento)) + ", poi dai a turnolista " +
                   (errore.documento == Documento::zip ? "il calendario che contiene"
                                                       : "il file salvato");
        case Esito::Tipo::stesso_file:
            if (errore.altro == nome) {
                return "è il calendario che turnolista sta leggendo, che verrebbe cancellato: "
                       "scegli un altro formato, o rinominalo";
            }
            return "è lo stesso file di " + errore.altro +
                   ", che verrebbe cancellato; fai puntare " + nome + " a un altro file";
        case Esito::Tipo::aperto_altrove:
            return "è aperto in un altro programma, per esempio Excel o Word: chiudilo e riprova";
        default:
            break;
    }
    if (errore.simile.empty()) {
        return turnolista::motivo(errore.causa);
    }
    // Explorer hides known extensions by default: there the name to type is without ".txt",
    // and a ".csv" cannot become ".txt" until the extensions are shown.
    const std::string& simile = errore.simile;
    const bool csv = minuscolo_ascii(simile).ends_with(".csv");
    return "non c'è, ma c'è " + in_chiaro(simile) + ": rinominalo in " + nome +
           (csv ? " (in Esplora file, se le estensioni non si vedono, falle vedere prima: "
                  "Visualizza, Mostra, Estensioni nomi file)"
                : " (in Esplora file, se le estensioni non si vedono, scrivi solo originale)");
}

}  // namespace

std::string in_chiaro(std::string_view nome) {
    return citazione(in_utf8(nome), true, false);
}

Esito scrivi_messaggio(const Console& console, Canale& canale, std::string_view testo) {
    const bool utf8 = &canale == &console.err ? console.utf8_err : console.utf8;
    return canale.scrivi(nel_set_della_console(testo, utf8));
}

std::string messaggio(const Esito& errore) {
    if (errore.ok()) {
        return {};
    }
    const Oggetto& oggetto = errore.oggetto;
    std::string testo =
        "Impossibile " + (errore.in_lettura ? "leggere " + nome_di(oggetto) : scrivere(oggetto));
    if (!errore.cartella.empty()) {
        testo += " nella cartella " + in_chiaro(errore.cartella);
    }
    testo += ": " + motivo(errore);
    if (!errore.zip.empty()) {
        testo += "; questa cartella è dentro lo zip " + in_chiaro(errore.zip) +
                 ", che non è stato estratto: estrai lo zip (tasto destro sullo zip, Estrai "
                 "tutto...) e avvia turnolista dalla cartella estratta";
    }
    if (!errore.gia_scritto.empty()) {
        testo += "; il file " + errore.gia_scritto + " invece è già stato scritto";
    }
    return testo + "\n";
}

void avverti(const Console& console, std::string_view testo) {
    static_cast<void>(scrivi_messaggio(console, console.err, testo));
}

// Where the file is, and for the calendar the season it assumed and how to use it; a
// calendar with no match is not written, and says why.
std::string messaggio_file(const VoceFormato& scelta, const Passata& esito,
                           std::string_view cartella) {
    const std::string dove =
        std::string(scelta.messaggio) +
        (cartella.empty() ? std::string() : " nella cartella " + in_chiaro(cartella));
    if (!scelta.ics) {
        return dove + "\n";
    }
    const EsitoCalendario& ics = esito.calendario;
    if (ics.eventi == 0) {
        return "Il file calendario.ics non \xC3\xA8 stato scritto: nessuna riga trovata ha una "
               "data che turnolista sa leggere\n";
    }
    const std::string stagione =
        ics.anno ? std::to_string(*ics.anno)
                 : std::to_string(ics.stagione) + "/" + std::to_string(ics.stagione + 1);
    return dove + " (stagione " + stagione +
           ")\nPer averlo nel telefono, mandalo a te stesso per posta elettronica e aprilo dal "
           "telefono (i passi sono nella guida, LEGGIMI.txt)\n";
}

// Matching lines that are no event of the calendar, each with why: the first ten, then how
// many more.
std::string messaggio_scartate(const std::vector<Scartata>& scartate, std::string_view lista) {
    constexpr std::size_t DIECI = 10;
    std::string testo;
    for (std::size_t i = 0; i < std::min(scartate.size(), DIECI); ++i) {
        const Scartata& s = scartate[i];
        const std::string citato = "\xC2\xAB" + citazione(s.testo, true) + "\xC2\xBB";
        testo += "Attenzione: la riga " + std::to_string(s.numero) + " del file " +
                 in_chiaro(lista) + " non \xC3\xA8 nel calendario: ";
        switch (s.motivo) {
            case Scartata::Motivo::senza_data:
                testo += "non ha una data\n";
                break;
            case Scartata::Motivo::data:
                testo += "la data " + citato +
                         " non si capisce (si scrive come 13/09, 13/09/2026 o 13 settembre)\n";
                break;
            case Scartata::Motivo::ora:
                testo += "l'orario " + citato + " non si capisce (si scrive come 15:30 o ore 21)\n";
                break;
            case Scartata::Motivo::rinviata:
                testo += "la partita \xC3\xA8 segnata " + citato + "\n";
                break;
            case Scartata::Motivo::data_inesistente:
                testo += "la data " + s.testo + " non esiste\n";
                break;
        }
    }
    if (scartate.size() > DIECI) {
        testo += "Attenzione: altre " + std::to_string(scartate.size() - DIECI) +
                 " righe trovate non sono nel calendario\n";
    }
    return testo;
}

// A name found only in other capital letters or accents: how the list writes it, and where.
std::string messaggio_altra_grafia(std::string_view nome, const AltraGrafia& altra) {
    const std::string digitato = in_utf8(nome);
    const std::string& scritto = altra.come_scritto;
    // The lines so written are the team's: the member is told which, and why.
    return "Nessuna riga contiene «" + citazione(digitato, true) + "» scritto così: uso le " +
           std::to_string(altra.righe) + (altra.righe == 1 ? " riga" : " righe") + " con «" +
           citazione(scritto, true) + "», che cambia solo per " +
           (altra.differenza == Piega::segni
                ? "gli apostrofi, le virgolette, i trattini, gli accenti o le lettere maiuscole "
                  "e minuscole\n"
            : altra.differenza == Piega::accenti
                ? "gli accenti o le lettere maiuscole e minuscole\n"
                : "le lettere maiuscole e minuscole\n");
}

}  // namespace turnolista
