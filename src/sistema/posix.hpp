#pragma once
// Small helpers shared by the POSIX implementations of src/sistema/; nothing outside that
// folder includes this header.

#include <unistd.h>

#include <cerrno>
#include <cstddef>

namespace turnolista::posix {

// Repeats a system call that a signal interrupted before it did anything.
template <typename Chiamata>
auto senza_interruzioni(Chiamata chiamata) {
    for (;;) {
        const auto esito = chiamata();
        if (esito >= 0 || errno != EINTR) {
            return esito;
        }
    }
}

// Writes all of `dati`, however many calls it takes; false with errno set on failure.
inline bool scrivi_tutto(int fd, const char* dati, std::size_t quanti) {
    while (quanti > 0) {
        const ssize_t scritti = senza_interruzioni([&] { return ::write(fd, dati, quanti); });
        if (scritti < 0) {
            return false;
        }
        dati += scritti;
        quanti -= static_cast<std::size_t>(scritti);
    }
    return true;
}

}  // namespace turnolista::posix
