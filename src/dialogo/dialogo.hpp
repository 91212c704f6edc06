#pragma once
// A run: its command line, the list it reads, then the dialogue with the user (the format,
// the team name, the summary, and the question whether to start again, pass after pass),
// then its end.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "comune/console.hpp"
#include "comune/costanti.hpp"
#include "comune/esito.hpp"

namespace turnolista {

// The list a run reads, by its name in the current folder, and that folder as the messages
// name it where the user started the program in another one (empty where not).
struct Origine {
    std::string lista{FILE_ORIGINALE};
    std::string cartella;
};

// The list `nome` of the current folder, or why it cannot be read, with that folder and what
// it tells: a file there that the user may have meant, and the zip it is in.
Risultato<std::string> leggi_originale(std::string_view nome);
// Of the names in a folder, as they are stored, the one a user may have meant by
// "originale.txt", in this order and in any letter case: the name itself in other capital
// letters, "originale.txt.txt" (Notepad with extensions hidden), "originale (2).txt" (a
// second download), "originale.txt.csv" and "originale.csv" (Excel).
std::optional<std::string> nome_simile(std::span<const std::string> nomi);
// The zip whose temporary folder `cartella` is ("...\Temp\Temp1_turnolista.zip\...", as
// Explorer extracts a program started from inside a zip); nullopt for any other folder.
std::optional<std::string> zip_aperto(std::string_view cartella);
// Refuses the list `nome` whose bytes start as a workbook, a document, a PDF, a zip or an
// image do, whatever its name: such a file is no list until its program saves it as text.
Esito solo_testo(std::string_view nome, std::string_view byte);

// With no arguments the dialogue runs over originale.txt of the current folder; with a file
// or a folder, as Explorer gives one dropped on the program, over that file or that folder's
// originale.txt, there; --help and --version answer and end; anything else is refused before
// any file is touched. Returns the exit status.
int riga_di_comando(std::span<const std::string> argomenti, Console& console);

// Runs passes over `origine` until the user declines to start again or the input ends.
// Returns the exit status: 0 when every pass succeeded, 1 when one failed or the console
// itself failed.
int dialogo(Console& console, const Origine& origine);

// The end of a run: a console window opened for this run alone stays, after a failure,
// until the user has read it and pressed Enter. Returns `stato`.
int congedo(Console& console, int stato);

}  // namespace turnolista
