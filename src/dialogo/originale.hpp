#pragma once
// When "originale.txt" cannot be opened, what the user is told besides the reason: the folder
// it was looked for in, a file there that the user may have meant, and whether that folder
// is where Explorer shows a zip it opened without extracting it.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "comune/esito.hpp"

namespace turnolista {

// Of the names in a folder, as they are stored, the one a user may have meant by
// "originale.txt", in this order and in any letter case: the name itself in other capital
// letters, "originale.txt.txt" (Notepad with extensions hidden), "originale (2).txt" (a
// second download), "originale.txt.csv" and "originale.csv" (Excel).
std::optional<std::string> nome_simile(std::span<const std::string> nomi);

// The zip whose temporary folder `cartella` is ("...\Temp\Temp1_turnolista.zip\...", as
// Explorer extracts a program started from inside a zip); nullopt for any other folder.
std::optional<std::string> zip_aperto(std::string_view cartella);

// `errore`, a failure to read the list, with the current folder and what it tells.
Esito nella_cartella(Esito errore);

}  // namespace turnolista
