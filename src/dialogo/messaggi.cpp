#include "dialogo/dialogo.hpp"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <map>

#include "comune/codifica.hpp"

namespace turnolista {

namespace {

// A name or a path of the user's in a message: UTF-8 whatever its bytes, controls escaped.
std::string in_chiaro(std::string_view nome) {
    return citazione(in_utf8(nome), true, false);
}

// What a document is and how its program saves it as text, in the order of Documento.
constexpr std::array<std::string_view, 6> DOCUMENTI{
    "è un file di Excel, non di testo: aprilo in Excel, scegli Salva con nome e come tipo «CSV "
    "(delimitato dal separatore di elenco)»",
    "è un documento di Word, non di testo: aprilo in Word, scegli Salva con nome e come tipo "
    "«Testo normale»",
    "è un PDF, non un file di testo: aprilo, seleziona la tabella delle partite, copiala, "
    "incollala nel Blocco note e salvala",
    "è un documento di LibreOffice, non di testo: aprilo in LibreOffice, scegli Salva con nome e "
    "come tipo «Testo CSV» (o «Testo» per un documento di Writer)",
    "è un archivio zip, non un file di testo: estrailo (tasto destro, Estrai tutto...)",
    "è un'immagine, non un file di testo: scarica il calendario come testo, CSV o Excel, o "
    "scrivi le partite nel Blocco note e salvale",
};

// The reason an errno value names, in the program's own words where a user can meet it.
std::string testo_della_causa(int causa) {
    static const std::map<int, std::string_view> MOTIVI{
        {EACCES, "permesso negato"},
        {EPERM, "operazione non permessa"},
        {ENOENT, "non esiste"},
        {EISDIR, "è una cartella"},
        {ENOTDIR, "una parte del percorso non è una cartella"},
        {EROFS, "il disco è di sola lettura"},
        {ENOSPC, "il disco è pieno"},
        {sistema::QUOTA_ESAURITA, "lo spazio concesso all'utente sul disco è esaurito"},
        {ELOOP, "troppi collegamenti simbolici uno dentro l'altro"},
        {EMLINK, "troppi collegamenti"},
        {ENAMETOOLONG, "il nome è troppo lungo"},
        {EFBIG, "il file è troppo grande"},
        {EIO, "errore di lettura o scrittura sul dispositivo"},
        {EBUSY, "è occupato"},
        {EAGAIN, "risorsa momentaneamente non disponibile"},
        {EPIPE, "chi leggeva ha chiuso la comunicazione"},
        {EBADF, "non è aperto"},
        {ENXIO, "nessun dispositivo risponde a quel nome"},
        {ENOMEM, "la memoria non basta"},
    };
    const auto trovato = MOTIVI.find(causa);
    return trovato != MOTIVI.end() ? std::string(trovato->second) : std::strerror(causa);
}

// Why the file could not be read or written: the program's own words, or the system's.
std::string motivo(const Esito& errore) {
    const std::string& nome = errore.oggetto.nome;
    switch (errore.tipo) {
        case Esito::Tipo::non_regolare:
            return std::string("è ") +
                   (errore.natura == std::filesystem::file_type::fifo     ? "una pipe (FIFO)"
                    : errore.natura == std::filesystem::file_type::socket ? "un socket"
                                                                          : "un dispositivo") +
                   ", non un file";
        case Esito::Tipo::troppo_grande: {
            constexpr std::uint64_t MIB = std::uint64_t{1024} * 1024;
            return "è di " + std::to_string((errore.byte + MIB - 1) / MIB) +
                   " MiB, troppo per un calendario (al massimo " +
                   std::to_string(LISTA_MASSIMA / MIB) + " MiB): controlla che sia il file giusto";
        }
        case Esito::Tipo::cartella_chiusa:
            return "nella sua cartella non si possono creare file (" +
                   testo_della_causa(errore.causa) + ")";
        case Esito::Tipo::non_testo:
            return std::string(DOCUMENTI.at(static_cast<std::size_t>(errore.documento))) +
                   ", poi dai a turnolista " +
                   (errore.documento == Documento::zip ? "il calendario che contiene"
                                                       : "il file salvato");
        case Esito::Tipo::stesso_file:
            return errore.altro == nome
                       ? "è il calendario che turnolista sta leggendo, che verrebbe cancellato: "
                         "scegli un altro formato, o rinominalo"
                       : "è lo stesso file di " + errore.altro +
                             ", che verrebbe cancellato; fai puntare " + nome + " a un altro file";
        case Esito::Tipo::aperto_altrove:
            return "è aperto in un altro programma, per esempio Excel o Word: chiudilo e riprova";
        default:
            break;
    }
    if (errore.altro.empty()) {
        return testo_della_causa(errore.causa);
    }
    // Explorer hides known extensions by default: there the name to type is without ".txt",
    // and a ".csv" cannot become ".txt" until the extensions are shown.
    const bool csv = minuscolo_ascii(errore.altro).ends_with(".csv");
    return "non c'è, ma c'è " + in_chiaro(errore.altro) + ": rinominalo in " + nome +
           " (in Esplora file, se le estensioni non si vedono, " +
           (csv ? "falle vedere prima: Visualizza, Mostra, Estensioni nomi file)"
                : "scrivi solo originale)");
}

}  // namespace

std::string citazione(std::string_view testo, bool utf8, bool barre) {
    std::string uscita;
    for (std::size_t n = 1; !testo.empty(); testo.remove_prefix(std::max<std::size_t>(n, 1))) {
        // Outside UTF-8 each byte is a character; in UTF-8 a byte that starts none (n is 0) stays.
        const char32_t c = utf8 ? carattere(testo, n) : static_cast<unsigned char>(testo[0]);
        const std::string_view pezzo = testo.substr(0, std::max<std::size_t>(n, 1));
        // C0 controls, DEL and C1 controls (U+0080 to U+009F), each of their bytes in octal.
        if (c < 0x20 || (c >= 0x7F && c < 0xA0 && n > 0)) {
            for (const unsigned char b : pezzo) {
                uscita += '\\';
                for (const int cifre : {6, 3, 0}) {
                    uscita += static_cast<char>('0' + ((b >> cifre) & 7));
                }
            }
        } else if (c == '\\' && barre) {
            uscita += "\\\\";
        } else {
            uscita += pezzo;
        }
    }
    return uscita;
}

std::string messaggio(const Esito& errore) {
    // "leggere il file originale.txt", "leggere lo standard input"; but one writes on a
    // standard stream: "scrivere sullo standard output".
    const Oggetto::Tipo tipo = errore.oggetto.tipo;
    std::string testo =
        std::string(errore.in_lettura             ? "Impossibile leggere "
                    : tipo == Oggetto::Tipo::file ? "Impossibile scrivere "
                                                  : "Impossibile scrivere sul") +
        // In the order of Oggetto::Tipo; a standard stream has no name.
        std::array{"il file ", "lo standard input", "lo standard output", "lo standard error"}.at(
            static_cast<std::size_t>(tipo)) +
        errore.oggetto.nome +
        (errore.cartella.empty() ? "" : " nella cartella " + in_chiaro(errore.cartella)) + ": " +
        motivo(errore);
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

std::string riepilogo(Formato formato, const Passata& esito, std::string_view cartella) {
    // The English line is the program's own, kept as its users know it.
    std::string testo =
        "\nL'espressione cercata è presente in " + std::to_string(esito.RIGHE) +
        " righe\n- Turnolista successfully executed - Congratulations by Velmaro -\n";
    if (formato == Formato::ics && esito.calendario.eventi == 0) {
        return testo +
               "Il file calendario.ics non è stato scritto: nessuna riga trovata ha una data che "
               "turnolista sa leggere\n";
    }
    testo += "Complimenti! Il tuo calendario si trova nel file " +
             std::string(esito.file.front().nome) +
             (cartella.empty() ? "" : " nella cartella " + in_chiaro(cartella));
    if (formato != Formato::ics) {
        return testo + "\n";
    }
    return testo + " (stagione " + esito.calendario.stagione +
           ")\nPer averlo nel telefono, mandalo a te stesso per posta elettronica e aprilo dal "
           "telefono (i passi sono nella guida, LEGGIMI.txt)\n";
}

std::string avvertenze(const Passata& esito, std::string_view nome, std::string_view lista) {
    constexpr std::size_t DIECI = 10;
    const std::vector<Scartata>& scartate = esito.calendario.scartate;
    std::string testo;
    for (const Scartata& s : std::span(scartate).first(std::min(scartate.size(), DIECI))) {
        const std::string citato = "«" + citazione(s.testo, true) + "»";
        // Why, in the order of Scartata::Motivo.
        const std::array<std::string, 6> perche{
            "non ha una data",
            "la data " + citato +
                " non si capisce (si scrive come 13/09, 13/09/2026 o 13 settembre)",
            "l'orario " + citato + " non si capisce (si scrive come 15:30 o ore 21)",
            "la partita è segnata " + citato,
            "la data " + s.testo + " non esiste",
            "non si capisce quali sono le due squadre (si scrivono come Lupi - Orsi)"};
        testo += "Attenzione: la riga " + std::to_string(s.numero) + " del file " +
                 in_chiaro(lista) +
                 " non è nel calendario: " + perche.at(static_cast<std::size_t>(s.motivo)) + "\n";
    }
    if (scartate.size() > DIECI) {
        testo += "Attenzione: altre " + std::to_string(scartate.size() - DIECI) +
                 " righe trovate non sono nel calendario\n";
    }
    if (!esito.altra_grafia) {
        return testo;
    }
    // The lines so written are the team's: the member is told which, and why.
    const AltraGrafia& altra = *esito.altra_grafia;
    return testo + "Nessuna riga contiene «" + citazione(in_utf8(nome), true) +
           "» scritto così: uso le " + std::to_string(altra.righe) +
           (altra.righe == 1 ? " riga" : " righe") + " con «" +
           citazione(altra.come_scritto, true) + "», che cambia solo per " +
           std::array{"le lettere", "gli accenti o le lettere",
                      "gli apostrofi, le virgolette, i trattini, gli accenti o le lettere"}
               .at(static_cast<std::size_t>(altra.differenza)) +
           " maiuscole e minuscole\n";
}

}  // namespace turnolista
