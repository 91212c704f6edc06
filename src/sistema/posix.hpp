#pragma once
// What the POSIX implementations of src/sistema/ share; nothing outside that folder
// includes this header.

#include <cerrno>

namespace turnolista::sistema::posix {

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

}  // namespace turnolista::sistema::posix
