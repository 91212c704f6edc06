#include <langinfo.h>

#include <clocale>
#include <cstring>
#include <istream>
#include <ostream>

#include "dialogo/dialogo.hpp"
#include "dialogo/file.hpp"
#include "dialogo/flussi.hpp"

int main() {
    // Only the character set matters, to show the accented letters of the messages.
    std::setlocale(LC_CTYPE, "");
    const bool utf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    turnolista::pulisci_su_segnale();

    turnolista::BufferLettura tastiera(0);
    turnolista::BufferScrittura schermo(1);
    turnolista::BufferScrittura errori(2);
    std::istream in(&tastiera);
    std::ostream out(&schermo);
    std::ostream err(&errori);
    turnolista::Console console{in, out, err, utf8};
    return turnolista::dialogo(console);
}
