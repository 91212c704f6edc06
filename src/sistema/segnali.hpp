#pragma once
// Signals as people send them: Ctrl-C, a closed terminal, kill and Ctrl-\ (INT, HUP, TERM,
// QUIT; on Windows Ctrl-C, Ctrl-Break and the window closed) remove the temporary files this
// run made, then end the program as the signal would. A signal ignored when the program
// started stays ignored, and nothing is ever held back. A broken pipe and a file-size limit
// (PIPE, XFSZ) are ignored, so that they come back as the reason a write failed.

#include <string_view>

namespace turnolista::sistema {

// Installs the handlers; called once, before any file is written.
void pulisci_su_segnale();

// Remembers a temporary file this run has made, by its name in the current folder, so that
// a signal removes it. Returns the place it takes, or -1 when it cannot be remembered.
int ricorda_temporaneo(std::string_view nome);
// Forgets it, once it has been put in place or removed.
void dimenticalo(int posto);

}  // namespace turnolista::sistema
