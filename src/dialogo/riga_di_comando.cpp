#include "dialogo/riga_di_comando.hpp"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "comune/codifica.hpp"
#include "dialogo/messaggi.hpp"
#include "dialogo/testo.hpp"
#include "sistema/cartella.hpp"

namespace turnolista {

namespace {

// In UTF-8, like every message of the program.
constexpr std::string_view AIUTO =
    "Uso: turnolista [FILE | CARTELLA]\n"
    "     turnolista --help | --version\n"
    "\n"
    "Estrae dal calendario di un campionato le partite di una squadra.\n"
    "Chiede il formato e il nome della squadra, cerca il nome in tutte le righe del\n"
    "calendario FILE (o del file originale.txt di CARTELLA o, senza argomenti, della\n"
    "cartella corrente) e copia ogni riga che lo contiene nel file del formato scelto,\n"
    "nella cartella del calendario:\n"
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

// The unknown argument `sbagliato`, refused.
int rifiuta(std::string_view sbagliato, const Console& console) {
    const bool utf8 = console.utf8_err || utf8_valido(sbagliato);
    const std::string testo =
        "turnolista: opzione non riconosciuta: " + citazione(sbagliato, utf8) +
        "\nPer l'aiuto: turnolista --help\n";
    // An option typed is the user's own bytes, quoted as they are in a message that is ASCII
    // around them; Windows gives its arguments as text, shown as the messages are.
    if (console.abitudini_windows) {
        avverti(console, testo);
    } else {
        static_cast<void>(console.err.scrivi(testo));
    }
    return 2;
}

// The list `percorso` names, its folder made the current one.
std::variant<Origine, int> entra(std::string_view percorso, const Console& console) {
    const std::string partenza = sistema::cartella_corrente();
    auto lista = sistema::entra_nella_cartella(percorso);
    if (!lista) {
        avverti(console, messaggio(lista.errore()));
        return 1;
    }
    std::string cartella = sistema::cartella_corrente();
    return Origine{.lista = std::move(*lista),
                   .cartella = cartella == partenza ? std::string() : std::move(cartella)};
}

}  // namespace

std::variant<Origine, int> riga_di_comando(std::span<const std::string_view> argomenti,
                                           const Console& console) {
    const bool windows = console.abitudini_windows;
    std::vector<std::string_view> percorsi;
    std::optional<std::string_view> opzione;
    for (const std::string_view argomento : argomenti) {
        if (e_aiuto(argomento, windows) || uguale(argomento, "--version", windows)) {
            opzione = opzione.value_or(argomento);
        } else if (sistema::esiste(argomento)) {
            percorsi.push_back(argomento);
        } else {
            return rifiuta(argomento, console);
        }
    }
    if (opzione) {
        const Esito esito =
            scrivi_messaggio(console, console.out, e_aiuto(*opzione, windows) ? AIUTO : VERSIONE);
        if (!esito.ok()) {
            avverti(console, messaggio(esito));
        }
        return esito.ok() ? 0 : 1;
    }
    if (percorsi.size() > 1) {
        avverti(console, "turnolista: hai dato " + std::to_string(percorsi.size()) +
                             " file o cartelle, ma turnolista legge un calendario alla volta: "
                             "dagliene uno solo\n");
        return 2;
    }
    if (percorsi.empty()) {
        return Origine{};
    }
    return entra(percorsi.front(), console);
}

}  // namespace turnolista
