#pragma once
// The output formats, chosen at the console by one letter, upper or lower case.

#include <optional>
#include <string_view>

#include "esporta/tabella.hpp"

namespace turnolista {

enum class Formato { testo, word, excel, pagina, ics };

struct VoceFormato {
    char lettera;  // lower case; the upper case letter is accepted as well
    std::string_view file;
    // The table formats also leave the bare matching lines in "temp.txt"; the text formats
    // get each line followed by an empty line.
    std::optional<TipoTabella> tabella;
    bool ics;  // the season as a calendar file, written once the whole list is read
    std::string_view messaggio;  // the calendar's adds the season it assumed
};

const VoceFormato& voce(Formato formato);
std::optional<Formato> formato_da_lettera(char lettera);

}  // namespace turnolista
