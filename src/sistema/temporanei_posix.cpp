#include <dirent.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <memory>

#include "sistema/temporanei.hpp"

namespace turnolista::sistema {

unsigned long processo_corrente() {
    return static_cast<unsigned long>(::getpid());
}

// A process that exists, even one this user may not signal, keeps its files.
int rimuovi_abbandonati(std::span<const std::string_view> destinazioni) {
    const std::unique_ptr<DIR, int (*)(DIR*)> cartella(::opendir("."), ::closedir);
    if (!cartella) {
        return errno;
    }
    const pid_t io = ::getpid();
    while (const dirent* voce = ::readdir(cartella.get())) {
        if (voce->d_name[0] != '.') {
            continue;
        }
        for (const std::string_view destinazione : destinazioni) {
            const auto processo = processo_di(voce->d_name, destinazione);
            if (processo && *processo != static_cast<unsigned long>(io) &&
                ::kill(static_cast<pid_t>(*processo), 0) != 0 && errno == ESRCH) {
                ::unlinkat(::dirfd(cartella.get()), voce->d_name, 0);
            }
        }
    }
    return 0;
}

}  // namespace turnolista::sistema
