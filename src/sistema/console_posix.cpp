#include <fcntl.h>
#include <langinfo.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstring>

#include "sistema/console.hpp"

namespace turnolista {

namespace {

// 0 for an open descriptor; EBADF for a closed one, which then gets /dev/null in its place.
int tieni_occupato(int fd) {
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

}  // namespace

// The descriptors are checked in order, so that /dev/null lands on the lowest closed one.
ConsoleStandard::ConsoleStandard()
    : tastiera_(0, tieni_occupato(0)),
      schermo_(1, tieni_occupato(1)),
      errori_(2, tieni_occupato(2)),
      in_(&tastiera_),
      out_(&schermo_),
      err_(&errori_),
      console_{.in = in_,
               .out = out_,
               .err = err_,
               .utf8 = console_utf8(),
               .causa_in = [this] { return tastiera_.errore(); },
               .causa_out = [this] { return schermo_.errore(); },
               .restituisci =
                   [this](std::size_t non_usati) {
                       // Fails harmlessly on a pipe or a terminal, which cannot go back.
                       if (const auto indietro = tastiera_.da_restituire(non_usati); indietro > 0) {
                           ::lseek(0, -static_cast<off_t>(indietro), SEEK_CUR);
                       }
                   }} {}

}  // namespace turnolista
