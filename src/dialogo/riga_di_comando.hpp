#pragma once
// The command line: with no arguments the program runs its dialogue; --help and --version
// answer and end; anything else is refused before any file is touched.

#include <optional>
#include <span>
#include <string_view>

#include "comune/console.hpp"

namespace turnolista {

// Handles the arguments that end the program at once and returns its exit status;
// nullopt means: run the dialogue.
std::optional<int> riga_di_comando(std::span<const std::string_view> argomenti,
                                   const Console& console);

}  // namespace turnolista
