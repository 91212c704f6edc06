#include "dialogo/dialogo.hpp"

int main(int argc, char** argv) {
    turnolista::Console& console = turnolista::sistema::console_standard();
    return turnolista::congedo(
        console, turnolista::riga_di_comando(turnolista::sistema::argomenti(argc, argv), console));
}
