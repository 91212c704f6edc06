#include "dialogo/dialogo.hpp"

#include <algorithm>
#include <array>

#include "comune/codifica.hpp"

namespace turnolista {

namespace {

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

// What the option `argomento` prints: the help, the version, or nothing where it is none.
std::string_view risposta_a(std::string_view argomento, bool windows) {
    constexpr std::array<std::string_view, 6> AIUTI{"--help", "-h", "-?", "/?", "/h", "/help"};
    const std::string scritto = windows ? minuscolo_ascii(argomento) : std::string(argomento);
    const auto aiuti = std::span(AIUTI).first(windows ? AIUTI.size() : 3);
    return std::ranges::find(aiuti, scritto) != aiuti.end() ? AIUTO
           : scritto == "--version"                         ? "turnolista " TURNOLISTA_VERSIONE "\n"
                                                            : "";
}

}  // namespace

int riga_di_comando(std::span<const std::string> argomenti, Console& console) {
    const bool windows = console.abitudini_windows;
    const auto esce = [&](const std::string& testo, int stato) {
        static_cast<void>(scrivi_messaggio(console, console.err, testo));
        return stato;
    };
    std::vector<std::string_view> percorsi;
    std::string_view risposta;  // to the first option
    for (const std::string& argomento : argomenti) {
        if (const std::string_view opzione = risposta_a(argomento, windows); !opzione.empty()) {
            risposta = risposta.empty() ? opzione : risposta;
        } else if (sistema::esiste(argomento)) {
            percorsi.push_back(argomento);
        } else {
            // An option typed is the user's own bytes, quoted as they are in a message that is
            // ASCII around them; Windows gives its arguments as text, shown as the messages are.
            const std::string testo = "turnolista: opzione non riconosciuta: " +
                                      citazione(argomento, console.utf8 || utf8_valido(argomento)) +
                                      "\nPer l'aiuto: turnolista --help\n";
            static_cast<void>(windows ? scrivi_messaggio(console, console.err, testo)
                                      : console.err.scrivi(testo));
            return 2;
        }
    }
    if (!risposta.empty()) {
        const Esito esito = scrivi_messaggio(console, console.out, risposta);
        return esito.ok() ? 0 : esce(messaggio(esito), 1);
    }
    if (percorsi.size() > 1) {
        return esce("turnolista: hai dato " + std::to_string(percorsi.size()) +
                        " file o cartelle, ma turnolista legge un calendario alla volta: "
                        "dagliene uno solo\n",
                    2);
    }
    // The list a path names, its folder made the current one.
    Origine da_leggere;
    if (!percorsi.empty()) {
        const std::string partenza = sistema::cartella_corrente();
        auto lista = sistema::entra_nella_cartella(percorsi.front());
        if (!lista) {
            return esce(messaggio(lista.errore()), 1);
        }
        std::string cartella = sistema::cartella_corrente();
        da_leggere = {std::move(*lista), cartella == partenza ? "" : std::move(cartella)};
    }
    sistema::pulisci_su_segnale();
    return dialogo(console, da_leggere);
}

}  // namespace turnolista
