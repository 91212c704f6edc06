#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "dialogo/dialogo.hpp"
#include "dialogo/riga_di_comando.hpp"
#include "sistema/segnali.hpp"
#include "sistema/standard.hpp"

int main(int argc, char** argv) {
    turnolista::Console& console = turnolista::sistema::console_standard();

    const std::vector<std::string> dati = turnolista::sistema::argomenti(argc, argv);
    const std::vector<std::string_view> argomenti(dati.begin(), dati.end());
    const auto comando = turnolista::riga_di_comando(argomenti, console);
    if (const int* stato = std::get_if<int>(&comando)) {
        return turnolista::congedo(console, *stato);
    }
    turnolista::sistema::pulisci_su_segnale();
    return turnolista::congedo(
        console, turnolista::dialogo(console, std::get<turnolista::Origine>(comando)));
}
