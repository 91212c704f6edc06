#include <fcntl.h>
#include <langinfo.h>

#include <cerrno>
#include <clocale>
#include <cstring>

#include "sistema/standard.hpp"

namespace turnolista::sistema {

// A closed descriptor gets /dev/null in its place, so that no file the program opens can
// take its number; the lowest closed one is taken first.
std::unique_ptr<Canale> canale_standard(int quale) {
    if (::fcntl(quale, F_GETFD) != -1 || errno != EBADF) {
        return std::make_unique<Descrittore>(quale, oggetto_standard(quale));
    }
    ::open("/dev/null", quale == 0 ? O_RDONLY : O_WRONLY);
    return std::make_unique<Descrittore>(oggetto_standard(quale));
}

bool console_utf8() {
    // Only the character set matters, to show the accented letters of the messages.
    std::setlocale(LC_CTYPE, "");
    return std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
}

}  // namespace turnolista::sistema
