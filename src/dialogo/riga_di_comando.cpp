#include "dialogo/riga_di_comando.hpp"

#include <algorithm>
#include <ostream>
#include <string>

#include "comune/scrittura.hpp"
#include "dialogo/messaggi.hpp"
#include "dialogo/testo.hpp"

namespace turnolista {

namespace {

// In ISO-8859-1, like every message of the program.
constexpr std::string_view AIUTO =
    "Uso: turnolista [--help | --version]\n"
    "\n"
    "Estrae dal calendario di un campionato le partite di una squadra.\n"
    "Senza argomenti chiede il formato e il nome della squadra, cerca il nome nelle\n"
    "prime 120 righe del file originale.txt della cartella corrente e copia ogni riga\n"
    "che lo contiene nel file del formato scelto:\n"
    "  t  calendario.txt   testo, ogni riga seguita da una riga vuota\n"
    "  w  calendario.doc   lo stesso testo, per Word\n"
    "  x  calendario.xls   tabella separata da tabulazioni, per Excel\n"
    "  h  calendario.html  pagina web con una tabella a colori\n"
    "I formati x e h lasciano anche le righe trovate nel file temp.txt.\n"
    "\n"
    "Opzioni:\n"
    "  -h, --help     mostra questo aiuto ed esce\n"
    "      --version  mostra la versione ed esce\n"
    "\n"
    "Stato d'uscita:\n"
    "  0  tutte le ricerche sono riuscite\n"
    "  1  almeno una ricerca non \xE8 riuscita (un file non si poteva leggere o scrivere)\n"
    "  2  argomenti non validi\n";

constexpr std::string_view VERSIONE = "turnolista " TURNOLISTA_VERSIONE "\n";

bool e_aiuto(std::string_view argomento) {
    return argomento == "--help" || argomento == "-h";
}
bool e_versione(std::string_view argomento) {
    return argomento == "--version";
}

}  // namespace

std::optional<int> riga_di_comando(std::span<const std::string_view> argomenti,
                                   const Console& console) {
    if (argomenti.empty()) {
        return std::nullopt;
    }
    const auto sconosciuto = std::find_if(argomenti.begin(), argomenti.end(),
                                          [](auto a) { return !e_aiuto(a) && !e_versione(a); });
    if (sconosciuto != argomenti.end()) {
        // The option is shown as typed, never re-encoded: it is the user's own bytes.
        const std::string opzione = citazione(*sconosciuto, console.utf8);
        scrivi_messaggio(console, console.err, "turnolista: opzione non riconosciuta: ");
        scrivi(console.err, opzione);
        scrivi_messaggio(console, console.err, "\nPer l'aiuto: turnolista --help\n");
        console.err.flush();
        return 2;
    }
    scrivi_messaggio(console, console.out, e_aiuto(argomenti.front()) ? AIUTO : VERSIONE);
    console.out.flush();
    return uscita_guasta(console) ? 1 : 0;
}

}  // namespace turnolista
