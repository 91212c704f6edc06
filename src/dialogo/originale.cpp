#include "dialogo/dialogo.hpp"

#include <algorithm>
#include <array>

#include "comune/codifica.hpp"

namespace turnolista {

namespace {

// Whether `nome` is `prima`, then one or more digits, then `dopo`.
bool numerato(std::string_view nome, std::string_view prima, std::string_view dopo) {
    return nome.size() > prima.size() + dopo.size() && nome.starts_with(prima) &&
           nome.ends_with(dopo) &&
           std::all_of(nome.begin() + prima.size(), nome.end() - dopo.size(), cifra);
}

using namespace std::string_view_literals;

// How each document's bytes start; a '?' stands for any byte.
constexpr std::array<std::pair<std::string_view, Documento>, 12> FIRME{{
    {"%PDF-", Documento::pdf},
    {"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", Documento::excel},  // old .xls or .doc
    {"PK\x03\x04", Documento::zip},                          // also .xlsx, .docx and OpenDocument
    {"PK\x05\x06", Documento::zip},
    {"\x89PNG", Documento::immagine},
    {"\xFF\xD8\xFF", Documento::immagine},  // JPEG
    {"GIF8", Documento::immagine},
    {"II*\0"sv, Documento::immagine},  // TIFF
    {"MM\0*"sv, Documento::immagine},
    {"????????WEBPVP8", Documento::immagine},
    {"????ftypheic", Documento::immagine},  // a phone's photo
    {"????ftypmif1", Documento::immagine},
}};

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

std::optional<std::string> nome_simile(std::span<const std::string> nomi) {
    // Nearest first: in other capitals, as Notepad saves it with extensions hidden, a second
    // download ("originale (2).txt", of any number: the empty one), as Excel saves it.
    constexpr std::array<std::string_view, 5> SIMILI{FILE_ORIGINALE, "originale.txt.txt", "",
                                                     "originale.txt.csv", "originale.csv"};
    for (const std::string_view simile : SIMILI) {
        for (const std::string& nome : nomi) {
            const std::string minuscolo = minuscolo_ascii(nome);
            if (nome != FILE_ORIGINALE &&
                (simile.empty() ? numerato(minuscolo, "originale (", ").txt")
                                : minuscolo == simile)) {
                return nome;
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> zip_aperto(std::string_view cartella) {
    for (std::size_t da = 0, fine = 0; da < cartella.size(); da = fine + 1) {
        fine = std::min(cartella.find_first_of("\\/", da), cartella.size());
        const std::string_view parte = cartella.substr(da, fine - da);
        const std::string minuscola = minuscolo_ascii(parte);
        const std::size_t trattino = minuscola.find('_');
        // "temp1_x.zip"; with no '_', npos + 1 is 0 and the part is no number.
        if (numerato(minuscola.substr(0, trattino + 1), "temp", "_") &&
            minuscola.ends_with(".zip")) {
            return std::string(parte.substr(trattino + 1));
        }
    }
    return std::nullopt;
}

Esito solo_testo(std::string_view nome, std::string_view byte) {
    for (const auto& [firma, tipo] : FIRME) {
        if (!std::ranges::equal(firma, byte.substr(0, firma.size()),
                                [](char f, char b) { return f == '?' || f == b; })) {
            continue;
        }
        // Which program's an old Office file or a zip is, by its parts' names; OpenDocument
        // stores its kind first, uncompressed, as the file "mimetype", named at byte 30.
        const auto ha = [&](std::string_view parte) { return byte.find(parte) != FINE; };
        Documento documento = tipo;
        if (documento == Documento::excel) {
            documento = ha("W\0o\0r\0d\0D\0o\0c\0u\0m\0e\0n\0t\0"sv) ? Documento::word : documento;
        } else if (documento == Documento::zip) {
            constexpr std::string_view ODF = "mimetypeapplication/vnd.oasis.opendocument";
            documento = byte.size() > 30 && byte.substr(30).starts_with(ODF)
                            ? Documento::opendocument
                        : ha("xl/workbook")   ? Documento::excel
                        : ha("word/document") ? Documento::word
                                              : documento;
        }
        return {.tipo = Esito::Tipo::non_testo,
                .oggetto = Oggetto::file(nome),
                .in_lettura = true,
                .documento = documento};
    }
    return {};
}

int riga_di_comando(std::span<const std::string> argomenti, Console& console) {
    const bool windows = console.abitudini_windows;
    const auto esce = [&](const std::string& testo, int stato) {
        static_cast<void>(console.scrivi(console.err, testo));
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
            static_cast<void>(windows ? console.scrivi(console.err, testo)
                                      : console.err.scrivi(testo));
            return 2;
        }
    }
    if (!risposta.empty()) {
        const Esito esito = console.scrivi(console.out, risposta);
        return esito.ok() ? 0 : esce(messaggio(esito), 1);
    }
    if (percorsi.size() > 1) {
        return esce("turnolista: hai dato " + std::to_string(percorsi.size()) +
                        " file o cartelle, ma turnolista legge un calendario alla volta: "
                        "dagliene uno solo\n",
                    2);
    }
    const auto origine =
        percorsi.empty() ? Origine{} : sistema::entra_nella_cartella(percorsi.front());
    if (!origine) {
        return esce(messaggio(origine.errore()), 1);
    }
    sistema::pulisci_su_segnale();
    return dialogo(console, *origine);
}

}  // namespace turnolista
