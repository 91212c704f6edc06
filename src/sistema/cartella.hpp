#pragma once
// The list given on the command line, or dropped on the program: its folder becomes the
// current one, so that the list is read, and the files are put, there as if the program had
// been started in it.

#include <string>
#include <string_view>

#include "comune/esito.hpp"

namespace turnolista::sistema {

// Makes `percorso`, a folder, or the folder of the file it names, the current folder;
// returns the list's name there: the file's, or originale.txt for a folder.
Risultato<std::string> entra_nella_cartella(std::string_view percorso);

}  // namespace turnolista::sistema
