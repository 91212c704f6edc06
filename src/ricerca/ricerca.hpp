#pragma once
// The team search: hands on every line of the fixture list that holds the team name.

#include <functional>
#include <string>
#include <string_view>

#include "comune/codifica.hpp"
#include "comune/esito.hpp"
#include "comune/sorgente.hpp"

namespace turnolista {

struct Conteggio {
    int RIGHE = 0;  // lines handed on
    // With no line handed on: how many lines hold the name written with other capital
    // letters or accents, and how the first of them writes it.
    int altra_grafia = 0;
    std::string come_scritto;
    bool accenti = false;  // it differs from the name in its accents, not only in letter case
};

// True when `nome` occurs in `riga` as an exact, case-sensitive run of bytes. The empty
// name matches nothing.
bool contiene(std::string_view riga, std::string_view nome);

using Consegna = std::function<void(std::string_view)>;

// Hands `copia`, in order and without their line ends (LF, or CR LF), the lines of
// `originale` (the text of "originale.txt") that contain `nome`, which is in the list's
// encoding `codifica`; every line of the list is searched. `ogni_riga`, where given, sees
// every line first, matching or not.
Risultato<Conteggio> cerca(Sorgente& originale, std::string_view nome, const Consegna& copia,
                           Codifica codifica = Codifica::ascii, const Consegna& ogni_riga = {});

}  // namespace turnolista
