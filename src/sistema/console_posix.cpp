#include <fcntl.h>
#include <langinfo.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstring>

#include "sistema/standard.hpp"

namespace turnolista::sistema {

// A closed descriptor gets /dev/null in its place, so that no file the program opens can
// take its number; the lowest closed one is taken first.
int stato_standard(int fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) {
        return 0;
    }
    ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    return EBADF;
}

bool console_utf8() {
    // Only the character set matters, to show the accented letters of the messages.
    std::setlocale(LC_CTYPE, "");
    return std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
}

// Fails harmlessly on a pipe or a terminal, which cannot go back.
void torna_indietro(std::size_t quanti) {
    ::lseek(0, -static_cast<off_t>(quanti), SEEK_CUR);
}

}  // namespace turnolista::sistema
