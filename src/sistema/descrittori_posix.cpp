#include <unistd.h>

#include <cerrno>

#include "sistema/descrittori.hpp"
#include "sistema/flussi.hpp"
#include "sistema/posix.hpp"

namespace turnolista {

FineRiga fine_riga_del_sistema() {
    return FineRiga::lf;
}

namespace sistema {

std::ptrdiff_t leggi(int fd, char* dove, std::size_t quanti, int& causa) {
    const ssize_t letti = posix::senza_interruzioni([&] { return ::read(fd, dove, quanti); });
    if (letti < 0) {
        causa = errno;
    }
    return letti;
}

bool scrivi(int fd, const char* dati, std::size_t quanti, int& causa) {
    if (!posix::scrivi_tutto(fd, dati, quanti)) {
        causa = errno != 0 ? errno : EIO;
        return false;
    }
    return true;
}

}  // namespace sistema
}  // namespace turnolista
