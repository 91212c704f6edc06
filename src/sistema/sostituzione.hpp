#pragma once
// Putting the files of a pass in place, all or none as far as the system allows. Every
// destination is checked first, so that a pass does not replace one file and then fail on
// the next; the files are then put in place in the order given, with the terminating
// signals held back, under a lock on the current folder that another run in the same
// folder waits for.

#include <span>

#include "comune/esito.hpp"
#include "sistema/file.hpp"

namespace turnolista::sistema {

// The closed files, put in place of their destinations.
Esito sostituisci(std::span<FileNuovo* const> file);

}  // namespace turnolista::sistema
