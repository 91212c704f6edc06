#pragma once
// Signals as people send them: Ctrl-C, a closed terminal, kill and Ctrl-\ (INT, HUP, TERM,
// QUIT; on Windows Ctrl-C, Ctrl-Break and the window closed) remove the hidden files this
// run is writing, then end the program as the signal would. A signal ignored when the
// program started stays ignored. A broken pipe and a file-size limit (PIPE, XFSZ) are
// ignored, so that they come back as the reason a write failed.

#include <filesystem>
#include <mutex>

namespace turnolista::sistema {

// Installs the handlers; called once, before any file is written.
void pulisci_su_segnale();

// A hidden file of this run and its place among the names the handlers remove, as one: the
// handlers know the name from before the file exists until rinominato() says it is in
// place. Going, it removes the file if it is still this run's.
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

    // Made by this run and not yet renamed: a name that was taken is someone else's file.
    bool nostro = false;

  private:
    std::filesystem::path nome_;
    int posto_ = -1;
};

// Held while a hidden file is made, or renamed and forgotten, so that a signal does not end
// the program half-way through either. On Windows the handler runs beside the program: it
// takes this lock and never gives it back. Elsewhere it interrupts the program between two
// system calls, and each such step is one call.
extern std::mutex serratura;

}  // namespace turnolista::sistema
