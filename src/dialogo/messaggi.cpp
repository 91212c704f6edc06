#include "dialogo/messaggi.hpp"

#include <cerrno>
#include <cstring>
#include <ostream>

#include "comune/costanti.hpp"
#include "comune/scrittura.hpp"
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

// A file is written; a standard stream is written on: "scrivere sullo standard output".
std::string scrivere(const Oggetto& oggetto) {
    const std::string nome = nome_di(oggetto);
    return oggetto.tipo == Oggetto::Tipo::file ? "scrivere " + nome : "scrivere sul" + nome;
}

}  // namespace

void scrivi_messaggio(const Console& console, std::ostream& flusso, std::string_view testo) {
    scrivi(flusso, nel_set_della_console(testo, console.utf8));
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
                   std::strerror(errore.causa()) + "\n";
        case Esito::Tipo::scrittura:
            return "Impossibile " + scrivere(oggetto) + ": " + std::strerror(errore.causa()) + "\n";
        case Esito::Tipo::ok:
            break;
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
