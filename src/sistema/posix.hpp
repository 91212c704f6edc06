#pragma once
// What the POSIX implementations of src/sistema/ share; nothing outside that folder
// includes this header.

#include <sys/stat.h>

#include <cerrno>
#include <string>

#include "comune/esito.hpp"
#include "sistema/descrittore.hpp"

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

// Gives the file open as `fd` what the file `nome` has: owner, group, permissions (never
// setuid, setgid or sticky), then the ACL and other extended attributes, which set the
// group's bits again from the ACL's mask. False where any of it cannot be given.
bool fai_come(int fd, const std::string& nome, const struct stat& esistente);

// A file with no name in the temporary folder, $TMPDIR or else /tmp, open for reading and
// writing; it disappears when closed. Where neither folder can take it, the failure names
// the last one, with its own reason; a write that fails there names its folder too.
Risultato<Descrittore> file_anonimo();

// Copies all of `da`, from its start, to `a`.
Esito copia(Descrittore& da, Descrittore& a);

}  // namespace turnolista::sistema::posix
