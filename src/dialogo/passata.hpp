#pragma once
// The file work of one pass: search "originale.txt", write the chosen format's file (and
// "temp.txt" for the table formats), and put each in place once it is complete.

#include <string_view>

#include "comune/codifica.hpp"
#include "comune/esito.hpp"
#include "dialogo/formati.hpp"
#include "ricerca/ricerca.hpp"

namespace turnolista {

struct RisultatoPassata {
    Conteggio conteggio;                  // what the search found
    Codifica codifica = Codifica::ascii;  // the fixture list's
    // With the calendar: the season it assumed (S of S/S+1), and the matching lines left
    // out for want of a date, with the first one's number in the list.
    int stagione = 0;
    int senza_data = 0;
    long prima_senza_data = 0;
    Esito esito;  // how the pass ended
};

// `nome` as it was typed: its characters are looked for in the list's encoding.
RisultatoPassata esegui_passata(Formato formato, std::string_view nome);

}  // namespace turnolista
