#pragma once
// The command line: with no arguments the program runs its dialogue over originale.txt of the
// current folder; with a file or a folder, as Explorer gives one dropped on the program, over
// that file or that folder's originale.txt, there; --help and --version answer and end;
// anything else is refused before any file is touched.

#include <span>
#include <string_view>
#include <variant>

#include "comune/console.hpp"
#include "dialogo/dialogo.hpp"

namespace turnolista {

// The list to run the dialogue over, its folder made the current one; or the exit status of
// a run that ends at once, having said why.
std::variant<Origine, int> riga_di_comando(std::span<const std::string_view> argomenti,
                                           const Console& console);

}  // namespace turnolista
