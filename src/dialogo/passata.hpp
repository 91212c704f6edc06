#pragma once
// The file work of one pass: search "originale.txt", write the chosen format's file (and
// "temp.txt" for the table formats) and put them in place only when all went well.

#include <optional>
#include <string_view>

#include <string>

#include "comune/codifica.hpp"
#include "comune/esito.hpp"
#include "dialogo/formati.hpp"

namespace turnolista {

struct RisultatoPassata {
    int RIGHE = 0;
    Codifica codifica = Codifica::ascii;  // the fixture list's
    // With no line found: the lines that hold the name in other capital letters, and how
    // the first of them writes it.
    int altre_maiuscole = 0;
    std::string come_scritto;
    bool troncato = false;    // "originale.txt" has more lines than were searched
    int senza_serratura = 0;  // why the folder could not be locked for the pass, or 0
    Esito esito;              // how the pass ended
};

// `nome` as it was typed: its characters are looked for in the list's encoding.
RisultatoPassata esegui_passata(Formato formato, std::string_view nome);

}  // namespace turnolista
