#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <new>

#include "comune/costanti.hpp"
#include "sistema/file.hpp"
#include "sistema/file_proprio.hpp"

namespace turnolista::sistema {

namespace {

constexpr int APERTURA = O_CLOEXEC | O_NOCTTY;

// A descriptor, closed when it goes unless it was closed already.
struct Descrittore {
    int fd;
    explicit Descrittore(int d) : fd(d) {}
    ~Descrittore() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    Descrittore(const Descrittore&) = delete;
    Descrittore& operator=(const Descrittore&) = delete;
    int chiudi() { return ::close(std::exchange(fd, -1)); }
};

}  // namespace

Risultato<std::string> leggi_lista(std::string_view nome) {
    const Oggetto oggetto = Oggetto::file(nome);
    // Not waiting for a writer, should the name be a named pipe.
    const Descrittore file(::open(std::string(nome).c_str(), O_RDONLY | O_NONBLOCK | APERTURA));
    struct stat info {};
    if (file.fd < 0 || ::fstat(file.fd, &info) != 0) {
        return Esito::lettura(oggetto, errno);
    }
    if (S_ISDIR(info.st_mode)) {
        return Esito::lettura(oggetto, EISDIR);
    }
    if (!S_ISREG(info.st_mode)) {
        return Esito{.tipo = Esito::Tipo::non_regolare,
                     .oggetto = oggetto,
                     .in_lettura = true,
                     .natura = S_ISFIFO(info.st_mode)   ? Natura::fifo
                               : S_ISSOCK(info.st_mode) ? Natura::socket
                                                        : Natura::dispositivo};
    }
    const auto dimensione = static_cast<std::uint64_t>(info.st_size);
    if (dimensione > LISTA_MASSIMA) {
        return troppo_grande(oggetto, dimensione);
    }
    std::string testo;
    try {
        testo.reserve(dimensione);
        std::array<char, std::size_t{64} * 1024> pezzo{};
        for (ssize_t letti = 0; (letti = ::read(file.fd, pezzo.data(), pezzo.size())) != 0;) {
            if (letti < 0) {
                return Esito::lettura(oggetto, errno);
            }
            testo.append(pezzo.data(), static_cast<std::size_t>(letti));
            if (testo.size() > LISTA_MASSIMA) {
                return troppo_grande(oggetto, testo.size());
            }
        }
    } catch (const std::bad_alloc&) {
        return Esito::lettura(oggetto, ENOMEM);
    }
    return testo;
}

namespace proprio {

Esito esamina(Destinazione& destinazione, const Oggetto& oggetto) {
    struct stat info {};
    if (::stat(destinazione.percorso.c_str(), &info) != 0 ||
        ::faccessat(AT_FDCWD, destinazione.percorso.c_str(), W_OK, AT_EACCESS) != 0) {
        return Esito::scrittura(oggetto, errno);
    }
    destinazione.come = info.st_mode & 0777;
    return {};
}

// A new file starts as the umask and the folder's default ACL make it; one that replaces
// another starts private, then takes the old file's permission bits and nothing that a
// default ACL of the folder would add.
Esito scrivi(Nascosto& nascosto, const Destinazione& destinazione, std::string_view contenuto,
             const Oggetto& oggetto) {
    Descrittore file(::open(nascosto.nome().c_str(), O_WRONLY | O_CREAT | O_EXCL | APERTURA,
                            destinazione.esiste ? 0600 : 0666));
    if (file.fd < 0) {
        return errno == EACCES || errno == EPERM
                   ? Esito{.tipo = Esito::Tipo::cartella_chiusa, .oggetto = oggetto, .causa = errno}
                   : Esito::scrittura(oggetto, errno);
    }
    nascosto.creato = true;
    if (destinazione.esiste) {
        ::fremovexattr(file.fd, "system.posix_acl_access");
        if (::fchmod(file.fd, destinazione.come) != 0) {
            return Esito::scrittura(oggetto, errno);
        }
    }
    while (!contenuto.empty()) {
        const ssize_t scritti = ::write(file.fd, contenuto.data(), contenuto.size());
        if (scritti <= 0) {
            return Esito::scrittura(oggetto, scritti < 0 ? errno : EIO);
        }
        contenuto.remove_prefix(static_cast<std::size_t>(scritti));
    }
    return file.chiudi() == 0 ? Esito() : Esito::scrittura(oggetto, errno);
}

Esito rinomina(const Nascosto& nascosto, const Destinazione& destinazione, const Oggetto& oggetto) {
    return ::rename(nascosto.nome().c_str(), destinazione.percorso.c_str()) == 0
               ? Esito()
               : Esito::scrittura(oggetto, errno);
}

}  // namespace proprio

}  // namespace turnolista::sistema
