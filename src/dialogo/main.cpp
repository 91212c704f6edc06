#include <langinfo.h>

#include <clocale>
#include <cstring>
#include <istream>
#include <ostream>
#include <string_view>
#include <vector>

#include "dialogo/dialogo.hpp"
#include "dialogo/file.hpp"
#include "dialogo/flussi.hpp"
#include "dialogo/riga_di_comando.hpp"

int main(int argc, char** argv) {
    // Only the character set matters, to show the accented letters of the messages.
    std::setlocale(LC_CTYPE, "");
    const bool utf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;

    turnolista::BufferLettura tastiera(0);
    turnolista::BufferScrittura schermo(1);
    turnolista::BufferScrittura errori(2);
    std::istream in(&tastiera);
    std::ostream out(&schermo);
    std::ostream err(&errori);
    turnolista::Console console{in, out, err, utf8};

    const std::vector<std::string_view> argomenti(argv + 1, argv + argc);
    if (const auto stato = turnolista::riga_di_comando(argomenti, console)) {
        return *stato;
    }
    turnolista::pulisci_su_segnale();
    return turnolista::dialogo(console);
}
