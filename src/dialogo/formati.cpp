#include "dialogo/formati.hpp"

#include <array>

#include "comune/codifica.hpp"

namespace turnolista {

namespace {

constexpr std::array<VoceFormato, 5> FORMATI{{
    {'t', "calendario.txt", std::nullopt, false,
     "Complimenti! Il tuo calendario si trova nel file calendario.txt"},
    {'w', "calendario.doc", std::nullopt, false,
     "Complimenti! Il tuo calendario si trova nel file calendario.doc"},
    {'x', "calendario.xls", TipoTabella::excel, false,
     "Complimenti! Il tuo calendario si trova nel file calendario.xls"},
    {'h', "calendario.html", TipoTabella::pagina, false,
     "Complimenti! Il tuo calendario si trova nel file calendario.html"},
    {'c', "calendario.ics", std::nullopt, true,
     "Complimenti! Il tuo calendario si trova nel file calendario.ics"},
}};

}  // namespace

const VoceFormato& voce(Formato formato) {
    return FORMATI.at(static_cast<std::size_t>(formato));
}

std::optional<Formato> formato_da_lettera(char lettera) {
    // Only the ASCII letters count: no locale may fold some other byte onto them.
    const char minuscola = minuscola_ascii(lettera);
    for (std::size_t i = 0; i < FORMATI.size(); ++i) {
        if (FORMATI[i].lettera == minuscola) {
            return static_cast<Formato>(i);
        }
    }
    return std::nullopt;
}

}  // namespace turnolista
