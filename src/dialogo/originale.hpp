#pragma once
// When the list cannot be read, what the user is told besides the reason: the folder it was
// looked for in, a file there that the user may have meant by "originale.txt", and whether
// that folder is where Explorer shows a zip it opened without extracting it; and a list that
// is a document of another program rather than text.

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

// The list `nome` of the current folder, or why it cannot be read, with that folder and what
// it tells.
Risultato<std::string> leggi_originale(std::string_view nome);

// Refuses the list `nome` whose bytes start as a workbook, a document, a PDF, a zip or an
// image do, whatever its name: such a file is no list until its program saves it as text.
Esito solo_testo(std::string_view nome, std::string_view byte);

}  // namespace turnolista
