#pragma once
// The output formats, chosen at the console by one letter, upper or lower case.

#include <iosfwd>
#include <optional>
#include <string_view>

#include "comune/esito.hpp"

namespace turnolista {

enum class Formato { testo, word, excel, pagina };

struct VoceFormato {
    char lettera;  // lower case; the upper case letter is accepted as well
    std::string_view file;
    // The table formats convert the matching lines, which the search leaves in "temp.txt";
    // the text formats get the lines straight from the search, each followed by an empty line.
    Esito (*esporta)(std::istream& righe, std::ostream& uscita);
    std::string_view messaggio;
};

const VoceFormato& voce(Formato formato);
std::optional<Formato> formato_da_lettera(char lettera);

}  // namespace turnolista
