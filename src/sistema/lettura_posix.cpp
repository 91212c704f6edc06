#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "sistema/lettura.hpp"
#include "sistema/posix.hpp"

namespace turnolista::sistema {

Risultato<std::unique_ptr<FileLettura>> FileLettura::apri_il_nome(std::string_view nome) {
    const std::string percorso(nome);
    const int fd =
        posix::senza_interruzioni([&] { return ::open(percorso.c_str(), O_RDONLY | O_CLOEXEC); });
    if (fd < 0) {
        return Esito::lettura(Oggetto::file(nome), errno);
    }
    return std::unique_ptr<FileLettura>(new FileLettura(Descrittore(fd, Oggetto::file(nome))));
}

std::optional<std::string> trova(std::string_view nome) {
    std::string percorso(nome);
    struct stat info {};
    if (::stat(percorso.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        return percorso;
    }
    return std::nullopt;
}

}  // namespace turnolista::sistema
