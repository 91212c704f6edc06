#pragma once
// Signals that end the program (Ctrl-C, a closed terminal, kill and the like): the
// temporary files being written are removed first, then the program ends as the signal
// says. A signal that the caller had set to be ignored stays ignored.

#include <string_view>

#include "sistema/descrittore.hpp"

namespace turnolista::sistema {

// Installs the handlers; called once, before any file is written.
void pulisci_su_segnale();

// Remembers a temporary file, by its folder (where the system names files relative to an
// open folder) and its name, so that a signal removes it. Returns the place it takes, or
// -1 when it cannot be remembered.
int ricorda_temporaneo(Nativo cartella, std::string_view nome);
// Forgets it, once it has been put in place or removed.
void dimenticalo(int posto);

// Holds the terminating signals back for as long as it lives, so that files being put in
// place are put there together; a signal that arrives meanwhile takes effect afterwards.
class SegnaliTrattenuti {
  public:
    SegnaliTrattenuti();
    ~SegnaliTrattenuti();
    SegnaliTrattenuti(const SegnaliTrattenuti&) = delete;
    SegnaliTrattenuti& operator=(const SegnaliTrattenuti&) = delete;
};

}  // namespace turnolista::sistema
