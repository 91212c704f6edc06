#pragma once
// One pass, from the list's text to every file's bytes: what the dialogue prints and the
// system puts in place.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "comune/codifica.hpp"
#include "dialogo/formati.hpp"
#include "esporta/calendario.hpp"
#include "ricerca/ricerca.hpp"
#include "sistema/file.hpp"

namespace turnolista {

struct Passata {
    std::vector<sistema::FileNuovo> file;  // in the order they are put in place
    std::uint64_t RIGHE = 0;               // matching lines
    // With no matching line: the name as the list writes it otherwise, if it does.
    std::optional<AltraGrafia> altra_grafia;
    // With the calendar: the season it assumed (S of S/S+1), or the one year of a
    // tournament; how many events it has (with none it is not written); the matching lines
    // that are no event, and why.
    int stagione = 0;
    std::optional<int> anno;
    std::uint64_t eventi = 0;
    std::vector<Scartata> scartate;
};

// `testo` is the list's text in UTF-8, its files to be written in `codifica`; `nome` is as it
// was typed; `adesso` decides the calendar's season; `fine_riga` is how the system's text
// files end their lines.
Passata passata(std::string_view testo, Codifica codifica, std::string_view nome, Formato formato,
                std::chrono::sys_seconds adesso, FineRiga fine_riga);

}  // namespace turnolista
