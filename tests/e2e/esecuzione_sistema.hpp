#pragma once
// How the harness starts the program and what it does that only one system can do; one
// implementation per system.

#include <filesystem>
#include <string>

#include "esecuzione.hpp"

namespace prova::sistema {

// Whether this system's text files end lines in CR LF.
bool testo_crlf();

// A new, empty folder for one run.
std::filesystem::path cartella_nuova();

// Puts in `lavoro` what only this system has: links, named pipes, owners and modes.
// Throws when the run asks for something this system lacks.
void prepara(const Avvio& avvio, const std::filesystem::path& lavoro);

// Runs the program in `lavoro` with its standard input from `io`/in and its output and
// errors to `io`/out and `io`/err, and waits for it; returns its status.
int lancia(const Avvio& avvio, const std::filesystem::path& lavoro,
           const std::filesystem::path& io);

// Adds the entry's mode and owner to `esito`, where the system has them.
void descrivi(const std::filesystem::path& percorso, const std::string& nome, Esecuzione& esito);

// Whether the program is still running; it is not reaped.
bool in_corso(int programma);

// Removes the folder of a run and all it holds.
void rimuovi(const std::filesystem::path& cartella);

}  // namespace prova::sistema
