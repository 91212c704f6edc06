#pragma once
// A run: its command line, then the dialogue with the user (the format, the team name, the
// summary, and the question whether to start again, pass after pass), then its end.

#include <span>
#include <string>

#include "comune/console.hpp"
#include "comune/costanti.hpp"

namespace turnolista {

// The list a run reads, by its name in the current folder, and that folder as the messages
// name it where the user started the program in another one (empty where not).
struct Origine {
    std::string lista{FILE_ORIGINALE};
    std::string cartella;
};

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
