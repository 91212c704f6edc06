#pragma once
// Signals as people send them: Ctrl-C, a closed terminal, kill and Ctrl-\ (INT, HUP, TERM,
// QUIT; on Windows Ctrl-C, Ctrl-Break and the window closed) remove the hidden files this
// run is writing, then end the program as the signal would. A signal ignored when the
// program started stays ignored. A broken pipe and a file-size limit (PIPE, XFSZ) are
// ignored, so that they come back as the reason a write failed.

#include <filesystem>

namespace turnolista::sistema {

// Installs the handlers; called once, before any file is written.
void pulisci_su_segnale();

// A hidden file of this run and its place among the names the handlers remove, as one: the
// handlers know the name from before the file exists until rinominato() says it is in
// place. Going, it removes the file unless it was renamed or this run did not make it.
class Nascosto {
  public:
    // The name a new file is written under beside `destinazione`: hidden, in the same folder
    // so that a rename puts it in place, with this process's id in hexadecimal and "-1",
    // "-2" after it for a later `tentativo`, should that name be taken; of a long name only
    // its start, so that a name that fits fits with what is added.
    Nascosto(const std::filesystem::path& destinazione, int tentativo);
    ~Nascosto();
    Nascosto(const Nascosto&) = delete;
    Nascosto& operator=(const Nascosto&) = delete;

    const std::filesystem::path& nome() const { return nome_; }
    void rinominato();

    bool creato = false;  // by this run: a name that was taken is someone else's file

  private:
    std::filesystem::path nome_;
    int posto_ = -1;
    bool messo_ = false;
};

// While one lives, a signal does not end the program half-way through a step: making a
// hidden file, or renaming it and forgetting it. On Windows the handler runs beside the
// program and waits; elsewhere it interrupts the program between two system calls, and
// each such step is one call.
class Indivisibile {
  public:
    Indivisibile();
    ~Indivisibile();  // NOLINT(performance-trivially-destructible): gives the lock back
    Indivisibile(const Indivisibile&) = delete;
    Indivisibile& operator=(const Indivisibile&) = delete;
};

}  // namespace turnolista::sistema
