#pragma once
// Signals as people send them: Ctrl-C, a closed terminal, kill and Ctrl-\ (INT, HUP, TERM,
// QUIT; on Windows Ctrl-C, Ctrl-Break and the window closed) remove the hidden files this
// run is writing, then end the program as the signal would. A signal ignored when the
// program started stays ignored. A broken pipe and a file-size limit (PIPE, XFSZ) are
// ignored, so that they come back as the reason a write failed.

#include <functional>
#include <string>

namespace turnolista::sistema {

// Installs the handlers; called once, before any file is written.
void pulisci_su_segnale();

// Makes a hidden file by `crea`, its name already known to the handlers when the file
// comes to exist, so that no signal can leave it. Returns the place the name takes, which
// dimenticalo() frees once the file is renamed or removed.
int crea_temporaneo(const std::string& nome, const std::function<void()>& crea);
void dimenticalo(int posto);

}  // namespace turnolista::sistema
