#pragma once
// One pass, from the list's text to every file's bytes: what the dialogue prints and the
// system puts in place.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "comune/codifica.hpp"
#include "esporta/calendario.hpp"
#include "ricerca/ricerca.hpp"
#include "sistema/sistema.hpp"

namespace turnolista {

// The output formats, chosen at the console by one letter each, in this order "twxhc".
enum class Formato { testo, word, excel, pagina, ics };

struct Passata {
    std::vector<sistema::FileNuovo> file;  // in the order they are put in place
    std::uint64_t RIGHE = 0;               // matching lines
    // Where no line holds the name as typed: the name as the list writes it otherwise,
    // whose lines the pass used.
    std::optional<AltraGrafia> altra_grafia;
    EsitoCalendario calendario;  // with the calendar: its season, events and lines left out
};

// `testo` is the list's text in UTF-8, its files to be written in `codifica`; `nome` is as it
// was typed; `adesso` decides the calendar's season; `fine_riga` is how the system's text
// files end their lines.
Passata passata(std::string_view testo, Codifica codifica, std::string_view nome, Formato formato,
                std::chrono::sys_seconds adesso, FineRiga fine_riga);

}  // namespace turnolista
