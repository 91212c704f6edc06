#include "dialogo/riga_di_comando.hpp"

#include <algorithm>
#include <array>
#include <string>

#include "comune/codifica.hpp"
#include "dialogo/messaggi.hpp"
#include "dialogo/testo.hpp"
#include "sistema/file.hpp"

namespace turnolista {

namespace {

// In UTF-8, like every message of the program.
constexpr std::string_view AIUTO =
    "Uso: turnolista [--help | --version]\n"
    "\n"
    "Estrae dal calendario di un campionato le partite di una squadra.\n"
    "Senza argomenti chiede il formato e il nome della squadra, cerca il nome in tutte\n"
    "le righe del file originale.txt della cartella corrente e copia ogni riga che lo\n"
    "contiene nel file del formato scelto:\n"
    "  t  calendario.txt   testo, ogni riga seguita da una riga vuota\n"
    "  w  calendario.doc   lo stesso testo, per Word\n"
    "  x  calendario.xls   tabella separata da tabulazioni, per Excel\n"
    "  h  calendario.html  pagina web con una tabella a colori\n"
    "  c  calendario.ics   le partite nel calendario del telefono, di Google,\n"
    "                      di Apple o di Outlook\n"
    "I formati x e h lasciano anche le righe trovate nel file temp.txt.\n"
    "\n"
    "Opzioni:\n"
    "  -h, -?, --help  mostra questo aiuto ed esce (su Windows anche /? e /help)\n"
    "      --version   mostra la versione ed esce\n"
    "\n"
    "Stato d'uscita:\n"
    "  0  tutte le ricerche sono riuscite\n"
    "  1  almeno una ricerca non è riuscita (un file non si poteva leggere o scrivere)\n"
    "  2  argomenti non validi\n";

constexpr std::string_view VERSIONE = "turnolista " TURNOLISTA_VERSIONE "\n";

// On Windows options may be written in any case, and with a slash: /?, /h, /help.
bool uguale(std::string_view argomento, std::string_view opzione, bool abitudini_windows) {
    return argomento.size() == opzione.size() &&
           std::equal(argomento.begin(), argomento.end(), opzione.begin(), [&](char a, char b) {
               return abitudini_windows ? minuscola_ascii(a) == b : a == b;
           });
}

bool e_aiuto(std::string_view argomento, bool windows) {
    constexpr std::array<std::string_view, 3> OVUNQUE{"--help", "-h", "-?"};
    constexpr std::array<std::string_view, 3> SU_WINDOWS{"/?", "/h", "/help"};
    const auto e = [&](std::string_view opzione) { return uguale(argomento, opzione, windows); };
    return std::any_of(OVUNQUE.begin(), OVUNQUE.end(), e) ||
           (windows && std::any_of(SU_WINDOWS.begin(), SU_WINDOWS.end(), e));
}

// A file or a folder given to the program, as Explorer gives what is dropped on it: the
// program reads "originale.txt" of the folder it is started in, whatever it is given.
std::string dato(std::string_view percorso, sistema::Voce voce) {
    return "turnolista: " + in_chiaro(percorso) +
           (voce == sistema::Voce::cartella
                ? " è una cartella, ma turnolista legge sempre il file originale.txt della "
                  "cartella da cui parte: metti lì il calendario con il nome originale.txt e "
                  "avvia turnolista da quella cartella\n"
                : " è un file, ma turnolista legge sempre il file originale.txt della cartella "
                  "da cui parte: copia il file in quella cartella con il nome originale.txt e "
                  "avvia turnolista da lì\n");
}

}  // namespace

std::optional<int> riga_di_comando(std::span<const std::string_view> argomenti,
                                   const Console& console) {
    if (argomenti.empty()) {
        return std::nullopt;
    }
    const bool windows = console.abitudini_windows;
    const auto sconosciuto = std::find_if(argomenti.begin(), argomenti.end(), [&](auto a) {
        return !e_aiuto(a, windows) && !uguale(a, "--version", windows);
    });
    if (sconosciuto != argomenti.end()) {
        const sistema::Voce che_cosa = sistema::che_cosa_e(*sconosciuto);
        const bool utf8 = console.utf8_err || utf8_valido(*sconosciuto);
        const std::string testo =
            che_cosa != sistema::Voce::nessuna
                ? dato(*sconosciuto, che_cosa)
                : "turnolista: opzione non riconosciuta: " + citazione(*sconosciuto, utf8) +
                      "\nPer l'aiuto: turnolista --help\n";
        // An option typed is the user's own bytes, quoted as they are in a message that is
        // ASCII around them; Windows gives its arguments as text, shown as the messages are.
        if (che_cosa == sistema::Voce::nessuna && !windows) {
            static_cast<void>(console.err.scrivi(testo));
        } else {
            avverti(console, testo);
        }
        return 2;
    }
    const Esito esito = scrivi_messaggio(console, console.out,
                                         e_aiuto(argomenti.front(), windows) ? AIUTO : VERSIONE);
    if (!esito.ok()) {
        avverti(console, messaggio(esito));
    }
    return esito.ok() ? 0 : 1;
}

}  // namespace turnolista
