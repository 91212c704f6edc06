#include "esporta/giornate.hpp"

#include <algorithm>

#include "comune/codifica.hpp"
#include "esporta/date.hpp"

namespace turnolista {

namespace {

constexpr auto FINE = std::string_view::npos;

}  // namespace

std::optional<std::string_view> data_della_giornata(std::string_view riga) {
    if (trova_ascii(riga, "giornata") == FINE && trova_ascii(riga, "turno") == FINE) {
        return std::nullopt;
    }
    // The date among its words, the longest: "13/09/2026", "sabato 13 settembre 2026".
    for (std::size_t da = 0; da < riga.size(); da = std::min(riga.find(' ', da), riga.size()) + 1) {
        // A date starts with its day, after its weekday if it has one.
        const std::string_view dopo = senza_giorno(riga.substr(da));
        if (dopo.empty() || !cifra(dopo.front())) {
            continue;
        }
        for (std::size_t parole = 4; parole > 0; --parole) {
            std::size_t fine = da;
            for (std::size_t p = 0; p < parole && fine < riga.size(); ++p) {
                fine = std::min(riga.find(' ', fine + 1), riga.size());
            }
            if (leggi_data(riga.substr(da, fine - da))) {
                return riga.substr(da, fine - da);
            }
        }
    }
    return std::nullopt;
}

void campi_nella_giornata(std::string_view riga, Campi& campi) {
    campi = {};
    std::string_view resto = senza_spazi(riga);
    // The time first: "ore 17:00", "17:00".
    for (std::size_t parole = 2; parole > 0; --parole) {
        std::size_t fine = 0;
        for (std::size_t p = 0; p < parole; ++p) {
            fine = std::min(resto.find(' ', fine + 1), resto.size());
        }
        if (leggi_ora(resto.substr(0, fine))) {
            campi.campo[CAMPO_ORA] = resto.substr(0, fine);
            resto = senza_spazi(resto.substr(fine));
            break;
        }
    }
    // Then the place, up to a colon, and the match.
    const std::size_t due_punti = resto.find(": ");
    if (due_punti != FINE) {
        campi.campo[CAMPO_LUOGO] = senza_spazi(resto.substr(0, due_punti));
        resto = senza_spazi(resto.substr(due_punti + 1));
    }
    campi.campo[CAMPO_PARTITA] = resto;
}

}  // namespace turnolista
