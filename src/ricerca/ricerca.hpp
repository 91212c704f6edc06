#pragma once
// The team search: copies every line of the fixture list that holds the team name.

#include <iosfwd>
#include <string_view>

#include "comune/esito.hpp"

namespace turnolista {

struct EsitoRicerca {
    Esito esito = Esito::ok;
    int RIGHE = 0;          // lines copied
    bool troncato = false;  // the fixture list goes on after its first NUM lines
};

// True when `nome` occurs in `riga` as an exact, case-sensitive run of bytes. The empty
// name matches nothing.
bool contiene(std::string_view riga, std::string_view nome);

// Copies to `uscita`, in order and each with a newline, the lines among the first NUM of
// `originale` that contain `nome`; with `riga_vuota_dopo` each copy is followed by an empty
// line, as the text formats want it.
EsitoRicerca cerca(std::istream& originale, std::string_view nome, std::ostream& uscita,
                   bool riga_vuota_dopo);

}  // namespace turnolista
