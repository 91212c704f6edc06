#pragma once
// A list laid out by rounds, as copied from a PDF: "1ª GIORNATA - Domenica 13/09/2026", then
// the round's matches, "ore 17:00 Palestra Cantù: Cantù - San Luigi". A match line without a
// date of its own takes its round's.

#include <optional>
#include <string_view>

#include "esporta/disposizione.hpp"

namespace turnolista {

// The date of a round's line ("1ª GIORNATA - Domenica 13/09/2026"), where it is one; a
// match line without a date of its own takes it.
std::optional<std::string_view> data_della_giornata(std::string_view riga);

// A match line of a round: its time, place and match from "ore 17:00 Palestra: A - B".
void campi_nella_giornata(std::string_view riga, Campi& campi);

}  // namespace turnolista
