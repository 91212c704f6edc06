#pragma once
// The team search: hands on every line of the fixture list that holds the team name.

#include <functional>
#include <string_view>

#include "comune/esito.hpp"
#include "comune/sorgente.hpp"

namespace turnolista {

struct Conteggio {
    int RIGHE = 0;          // lines handed on
    bool troncato = false;  // the fixture list goes on after its first NUM lines
};

// True when `nome` occurs in `riga` as an exact, case-sensitive run of bytes. The empty
// name matches nothing.
bool contiene(std::string_view riga, std::string_view nome);

// Hands `copia`, in order and without their newlines, the lines among the first NUM of
// `originale` (the contents of "originale.txt") that contain `nome`.
Risultato<Conteggio> cerca(Sorgente& originale, std::string_view nome,
                           const std::function<void(std::string_view)>& copia);

}  // namespace turnolista
