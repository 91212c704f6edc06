#include "esporta/colonne.hpp"

namespace turnolista {

namespace {

bool e_riposo(std::string_view riga) {
    return riga.starts_with("Gio");
}

Celle celle_di_riposo(std::string_view riga) {
    Celle celle;
    celle.quante = celle.testo.size();
    // Without "Ri" the last cell stays empty.
    if (const auto ri = riga.find("Ri"); ri != std::string_view::npos) {
        celle.testo.back() = riga.substr(ri);
    }
    return celle;
}

Celle celle_ordinarie(std::string_view riga) {
    Celle celle;
    while (celle.quante < static_cast<std::size_t>(COLONNEEXCEL)) {
        const auto spazio = riga.find(' ');
        if (spazio == std::string_view::npos) {
            break;
        }
        celle.testo[celle.quante++] = riga.substr(0, spazio);
        riga.remove_prefix(spazio + 1);
    }
    celle.testo[celle.quante++] = riga;
    return celle;
}

}  // namespace

Celle taglia_in_celle(std::string_view riga) {
    return e_riposo(riga) ? celle_di_riposo(riga) : celle_ordinarie(riga);
}

}  // namespace turnolista
