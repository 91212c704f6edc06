#pragma once
// The file work of one pass: search "originale.txt", write the chosen format's file (and
// "temp.txt" for the table formats) and put them in place only when all went well.

#include <optional>
#include <string_view>

#include "comune/esito.hpp"
#include "dialogo/formati.hpp"

namespace turnolista {

struct RisultatoPassata {
    int RIGHE = 0;
    bool troncato = false;    // "originale.txt" has more lines than were searched
    int senza_serratura = 0;  // why the folder could not be locked for the pass, or 0
    Esito esito;              // how the pass ended
};

RisultatoPassata esegui_passata(Formato formato, std::string_view nome);

}  // namespace turnolista
