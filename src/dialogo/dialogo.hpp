#pragma once
// A run: its command line, the dialogue pass after pass, each pass's files, and the messages.

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "comune/costanti.hpp"
#include "comune/esito.hpp"
#include "esporta/calendario.hpp"
#include "ricerca/ricerca.hpp"
#include "sistema/sistema.hpp"

namespace turnolista {

// The output formats, chosen at the console by one letter each, in this order "twxhc".
enum class Formato { testo, word, excel, pagina, ics };

struct Passata {
    std::vector<sistema::FileNuovo> file;     // in the order they are put in place
    std::uint64_t RIGHE = 0;                  // matching lines
    std::optional<AltraGrafia> altra_grafia;  // used where no line holds the name as typed
    EsitoCalendario calendario;  // with the calendar: its season, events and lines left out
};

// A pass over the list `testo`, in UTF-8, for `nome` as typed: its files in `codifica`, with
// `fine_riga`; `adesso` decides the calendar's season.
Passata passata(std::string_view testo, Codifica codifica, std::string_view nome, Formato formato,
                std::chrono::sys_seconds adesso, FineRiga fine_riga);

// Of the names in a folder, the one a user may have meant by "originale.txt", in any case.
std::optional<std::string> nome_simile(std::span<const std::string> nomi);
// The zip whose temporary folder `cartella` is, "...\Temp\Temp1_turnolista.zip\...", where
// Explorer starts a program from inside a zip.
std::optional<std::string> zip_aperto(std::string_view cartella);
// Refuses a list whose bytes start as a workbook's, a document's, a PDF's, a zip's or an
// image's, whatever its name: such a file is no list until its program saves it as text.
Esito solo_testo(std::string_view nome, std::string_view byte);

// The user's bytes with control characters (and, unless `barre` is false as for a path, the
// backslash) as C escapes, as `ls -b` shows an odd name: nothing typed steers the terminal.
std::string citazione(std::string_view testo, bool utf8, bool barre = true);

// The sentence, in UTF-8 and ending with a newline, that tells the user of a failure.
std::string messaggio(const Esito& errore);

// A pass's summary and where its file is; then what it warns of: the first ten lines of
// `lista` the calendar left out, and why; the name as the list writes it, if not as typed.
std::string riepilogo(Formato formato, const Passata& esito, std::string_view cartella);
std::string avvertenze(const Passata& esito, std::string_view nome, std::string_view lista);

// The dialogue over originale.txt, or the file or folder given (one dropped on the program in
// Explorer); --help and --version answer; anything else is refused before any file is touched.
int riga_di_comando(std::span<const std::string> argomenti, Console& console);

// Passes over `origine` until the user declines to start again or the input ends: 0 when
// every pass succeeded, 1 when one or the console failed.
int dialogo(Console& console, const Origine& origine);

// After a failure, a window opened for the run stays until Enter. Returns `stato`.
int congedo(Console& console, int stato);

}  // namespace turnolista
