#pragma once
// What differs between systems in putting a pass's files in place: file.cpp goes through
// the steps, and file_posix.cpp or file_windows.cpp does these three. Nothing outside
// src/sistema/ includes this header.

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "comune/esito.hpp"
#include "sistema/segnali.hpp"

namespace turnolista::sistema {

// A name of the program's, in UTF-8, as the system's path: a path made from a narrow string
// would read it in the ANSI code page on Windows.
std::filesystem::path percorso(std::string_view nome);

// A list of `byte` bytes, more than any list.
Esito troppo_grande(const Oggetto& oggetto, std::uint64_t byte);

namespace proprio {

// A destination as it stands: where its content goes (the file a chain of symbolic links
// ends at), whether a file is there, and what a new file takes of it: permission bits, or
// attributes.
struct Destinazione {
    std::filesystem::path percorso;
    bool esiste = false;
    std::uint32_t come = 0;
};

// Refuses an existing regular file the user may not replace: one the user may not write or
// another program holds; and says what a new file takes of it.
Esito esamina(Destinazione& destinazione, const Oggetto& oggetto);
// Makes `nascosto` beside the destination, holding `contenuto`; EEXIST where the name is
// taken.
Esito scrivi(Nascosto& nascosto, const Destinazione& destinazione, std::string_view contenuto,
             const Oggetto& oggetto);
// Puts `nascosto` in place of the destination.
Esito rinomina(const Nascosto& nascosto, const Destinazione& destinazione, const Oggetto& oggetto);

}  // namespace proprio

}  // namespace turnolista::sistema
