#pragma once
// The team search: hands on every line of the fixture list that holds the team name.

#include <functional>
#include <iosfwd>
#include <string_view>

#include "comune/esito.hpp"

namespace turnolista {

struct EsitoRicerca {
    Esito esito = Esito::ok;
    int RIGHE = 0;          // lines copied
    bool troncato = false;  // the fixture list goes on after its first NUM lines
    int riga = 0;           // with Esito::riga_troppo_lunga, the number of that line
};

// True when `nome` occurs in `riga` as an exact, case-sensitive run of bytes. The empty
// name matches nothing.
bool contiene(std::string_view riga, std::string_view nome);

// Hands `copia`, in order and without their newlines, the lines among the first NUM of
// `originale` that contain `nome`. `copia` returns false when the line could not be
// written, which ends the search with Esito::errore_scrittura.
EsitoRicerca cerca(std::istream& originale, std::string_view nome,
                   const std::function<bool(std::string_view)>& copia);

}  // namespace turnolista
