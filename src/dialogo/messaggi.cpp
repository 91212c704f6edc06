#include "dialogo/messaggi.hpp"

#include <cerrno>
#include <cstring>
#include <ostream>

#include "comune/costanti.hpp"
#include "comune/scrittura.hpp"
#include "dialogo/testo.hpp"
#include "sistema/motivi.hpp"

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
        case Oggetto::Tipo::cartella_temporanea:
            return "la cartella temporanea " + oggetto.nome;
        case Oggetto::Tipo::file:
            break;
    }
    return "il file " + oggetto.nome;
}

// A file is written; one writes in a folder and on a standard stream: "scrivere nella
// cartella temporanea /tmp", "scrivere sullo standard output".
std::string scrivere(const Oggetto& oggetto) {
    const std::string nome = nome_di(oggetto);
    switch (oggetto.tipo) {
        case Oggetto::Tipo::file:
            return "scrivere " + nome;
        case Oggetto::Tipo::cartella_temporanea:
            return "scrivere nel" + nome;
        default:
            return "scrivere sul" + nome;
    }
}

// What keeps a file from being written, other than the system's reason.
std::string impedimento(const Esito& errore) {
    const std::string& nome = errore.oggetto().nome;
    switch (errore.tipo()) {
        case Esito::Tipo::cartella_occupata:
            return "un'altra esecuzione di turnolista sta scrivendo i suoi file in questa "
                   "cartella da pi\xF9 di 10 secondi; riprova quando avr\xE0 finito";
        case Esito::Tipo::stesso_file:
            return "\xE8 lo stesso file di " + std::string(FILE_ORIGINALE) +
                   ", che verrebbe cancellato; fai puntare " + nome + " a un altro file";
        case Esito::Tipo::illeggibile:
            return "va riscritto al suo posto, ma non si pu\xF2 leggere e quindi non se ne "
                   "pu\xF2 tenere una copia di riserva; dai il permesso di lettura o "
                   "cancellalo";
        case Esito::Tipo::riserva_presente:
            return "c'\xE8 gi\xE0 il file " + errore.riserva() +
                   ", forse la copia di riserva di un'esecuzione interrotta, diverso da " + nome +
                   "; controlla che non ti serva, poi cancellalo";
        case Esito::Tipo::aperto_altrove:
            return "\xE8 aperto in un altro programma, per esempio Excel o Word: chiudilo e "
                   "riprova";
        case Esito::Tipo::nome_doppio:
            return "non c'\xE8, ma c'\xE8 " + errore.riserva() +
                   " (Esplora file non mostra l'estensione .txt): rinominalo in " + nome;
        default:
            return sistema::motivo(errore.causa());
    }
}

}  // namespace

void scrivi_messaggio(const Console& console, std::ostream& flusso, std::string_view testo) {
    const bool utf8 = &flusso == &console.err ? console.utf8_err : console.utf8;
    if (utf8) {
        scrivi(flusso, nel_set_della_console(testo, true));
    } else {
        scrivi(flusso, testo);
    }
}

std::string avviso_senza_serratura(int causa) {
    return "Attenzione: la cartella non si pu\xF2 bloccare (" + sistema::motivo(causa) +
           "): se un'altra esecuzione di turnolista scrive nella stessa cartella, i file delle "
           "due possono mescolarsi\n";
}

std::string messaggio(const Esito& errore) {
    const Oggetto& oggetto = errore.oggetto();
    switch (errore.tipo()) {
        case Esito::Tipo::riga_troppo_lunga: {
            const std::string riga = std::to_string(errore.riga());
            const std::string mib = std::to_string(RIGA_MASSIMA / (std::size_t{1024} * 1024));
            return "Impossibile leggere " + nome_di(oggetto) + ": la riga " + riga +
                   " \xE8 pi\xF9 lunga di " + mib + " MiB\n";
        }
        case Esito::Tipo::lettura:
            return "Impossibile leggere " + nome_di(oggetto) + ": " +
                   sistema::motivo(errore.causa()) + "\n";
        case Esito::Tipo::nome_doppio:
            return "Impossibile leggere " + nome_di(oggetto) + ": " + impedimento(errore) + "\n";
        case Esito::Tipo::ok:
            break;
        default: {
            std::string testo = "Impossibile " + scrivere(oggetto) + ": " + impedimento(errore);
            if (errore.tipo() == Esito::Tipo::scrittura && !errore.riserva().empty()) {
                testo += "; il contenuto che aveva prima \xE8 salvato in " + errore.riserva();
            }
            return testo + "\n";
        }
    }
    return {};
}

bool uscita_guasta(const Console& console) {
    if (console.out) {
        return false;
    }
    Esito esito = console.esito_out();
    if (esito.ok()) {
        esito = Esito::scrittura(Oggetto::standard_output(), EIO);
    }
    scrivi_messaggio(console, console.err, messaggio(esito));
    console.err.flush();
    return true;
}

}  // namespace turnolista
