#pragma once
// The current folder and the fixture list in it, read whole and never written. Paths are
// UTF-8 on Windows, the system's bytes elsewhere.

#include <string>
#include <string_view>
#include <vector>

#include "comune/esito.hpp"

namespace turnolista::sistema {

// The whole of `nome`, a regular file of at most LISTA_MASSIMA bytes; anything else is
// refused before it is read, and a list that grows past that meanwhile when it gets there.
Risultato<std::string> leggi_lista(std::string_view nome);

// Makes `percorso`, a folder, or the folder of the file it names, the current folder, so
// that the list is read, and the files put, there as if the program had been started in it;
// returns the list's name there: the file's, or originale.txt for a folder.
Risultato<std::string> entra_nella_cartella(std::string_view percorso);

// The current folder's full path, as the system shows it; empty where it cannot be told.
std::string cartella_corrente();

// The names in the current folder, as they are stored; none where it cannot be read.
std::vector<std::string> nomi_nella_cartella();

// Whether `percorso` names a file or a folder that can be seen.
bool esiste(std::string_view percorso);

}  // namespace turnolista::sistema
