#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <optional>
#include <utility>

#include "comune/costanti.hpp"
#include "sistema/file.hpp"

namespace turnolista::sistema {

namespace {

constexpr int APERTURA = O_CLOEXEC | O_NOCTTY;

// A descriptor, closed when it goes unless it was given up.
class Chiudi {
  public:
    explicit Chiudi(int d) : fd(d) {}
    ~Chiudi() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    Chiudi(const Chiudi&) = delete;
    Chiudi& operator=(const Chiudi&) = delete;
    int rilascia() const { return std::exchange(fd, -1); }

    mutable int fd;
};

Natura natura_di(mode_t modo) {
    return S_ISFIFO(modo) ? Natura::fifo : S_ISSOCK(modo) ? Natura::socket : Natura::dispositivo;
}

// Where the content of `nome` goes: the file a chain of symbolic links ends at, which may
// not exist yet.
Risultato<std::string> percorso_reale(std::string_view nome) {
    std::string percorso(nome);
    for (int salti = 0; salti < 40; ++salti) {
        struct stat info {};
        if (::lstat(percorso.c_str(), &info) != 0) {
            return errno == ENOENT ? Risultato<std::string>(percorso)
                                   : Esito::scrittura(Oggetto::file(nome), errno);
        }
        if (!S_ISLNK(info.st_mode)) {
            return percorso;
        }
        std::array<char, 4096> bersaglio{};
        const ssize_t n = ::readlink(percorso.c_str(), bersaglio.data(), bersaglio.size());
        if (n < 0 || static_cast<std::size_t>(n) == bersaglio.size()) {
            return Esito::scrittura(Oggetto::file(nome), n < 0 ? errno : ENAMETOOLONG);
        }
        const std::string_view letto(bersaglio.data(), static_cast<std::size_t>(n));
        const std::size_t barra = percorso.rfind('/');
        percorso = letto.starts_with('/') || barra == std::string::npos
                       ? std::string(letto)
                       : percorso.substr(0, barra + 1).append(letto);
    }
    return Esito::scrittura(Oggetto::file(nome), ELOOP);
}

std::string identita_di(const struct stat& info) {
    return std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
}

}  // namespace

void Libera::operator()(char* memoria) const {
    if (mappati > 0) {
        ::munmap(memoria, mappati);
    } else {
        std::free(memoria);
    }
}

namespace proprio {

Risultato<Destinazione> esamina(std::string_view nome) {
    const Oggetto oggetto = Oggetto::file(nome);
    auto percorso = percorso_reale(nome);
    if (!percorso) {
        return percorso.errore();
    }
    Destinazione destinazione{.percorso = std::move(*percorso)};
    struct stat info {};
    if (::stat(destinazione.percorso.c_str(), &info) != 0) {
        return errno == ENOENT ? Risultato(destinazione) : Esito::scrittura(oggetto, errno);
    }
    if (S_ISDIR(info.st_mode)) {
        return Esito::scrittura(oggetto, EISDIR);
    }
    if (!S_ISREG(info.st_mode)) {
        return Esito{.tipo = Esito::Tipo::non_regolare,
                     .oggetto = oggetto,
                     .natura = natura_di(info.st_mode)};
    }
    if (::faccessat(AT_FDCWD, destinazione.percorso.c_str(), W_OK, AT_EACCESS) != 0) {
        return Esito::scrittura(oggetto, errno);
    }
    destinazione.identita = identita_di(info);
    destinazione.come = info.st_mode & 0777;
    return destinazione;
}

// A list of megabytes goes into huge pages, where the system offers them: the kernel then
// fills a few pages rather than thousands, which is most of the time a long list takes. They
// need a mapping that starts at a huge page's boundary: one huge page more, less what is not
// needed.
Memoria memoria(std::size_t quanti) {
    constexpr std::size_t GRANDE = std::size_t{2} * 1024 * 1024;
    if (quanti < GRANDE) {
        return Memoria(static_cast<char*>(std::malloc(quanti)));
    }
    constexpr std::size_t PAGINA = 4096;
    const std::size_t lunghezza = (quanti + PAGINA - 1) / PAGINA * PAGINA;
    void* const spazio = ::mmap(nullptr, lunghezza + GRANDE, PROT_READ | PROT_WRITE,
                                MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (spazio == MAP_FAILED) {
        return {};
    }
    const std::size_t avanti =
        (GRANDE - reinterpret_cast<std::uintptr_t>(spazio) % GRANDE) % GRANDE;
    char* const inizio = static_cast<char*>(spazio) + avanti;
    ::munmap(spazio, avanti);
    ::munmap(inizio + lunghezza, GRANDE - avanti);
    ::madvise(inizio, lunghezza, MADV_HUGEPAGE);
    return {inizio, Libera{lunghezza}};
}

std::string identita(std::string_view nome) {
    struct stat info {};
    return ::stat(std::string(nome).c_str(), &info) == 0 ? identita_di(info) : std::string();
}

// A new file starts as the umask and the folder's default ACL make it; one that replaces
// another starts private, then takes the old file's permission bits and nothing that a
// default ACL of the folder would add.
Esito scrivi_nascosto(const std::string& nascosto, const Destinazione& destinazione,
                      std::string_view contenuto, const Oggetto& oggetto) {
    const bool sostituisce = !destinazione.identita.empty();
    const Chiudi file(::open(nascosto.c_str(), O_WRONLY | O_CREAT | O_EXCL | APERTURA,
                             sostituisce ? 0600 : 0666));
    if (file.fd < 0) {
        return errno == EACCES || errno == EPERM
                   ? Esito{.tipo = Esito::Tipo::cartella_chiusa, .oggetto = oggetto, .causa = errno}
                   : Esito::scrittura(oggetto, errno);
    }
    if (sostituisce) {
        ::fremovexattr(file.fd, "system.posix_acl_access");
        if (::fchmod(file.fd, destinazione.come) != 0) {
            return Esito::scrittura(oggetto, errno);
        }
    }
    for (; !contenuto.empty();) {
        const ssize_t scritti = ::write(file.fd, contenuto.data(), contenuto.size());
        if (scritti <= 0) {
            return Esito::scrittura(oggetto, scritti < 0 ? errno : EIO);
        }
        contenuto.remove_prefix(static_cast<std::size_t>(scritti));
    }
    return ::close(file.rilascia()) == 0 ? Esito() : Esito::scrittura(oggetto, errno);
}

Esito rinomina(const std::string& nascosto, const Destinazione& destinazione,
               const Oggetto& oggetto) {
    return ::rename(nascosto.c_str(), destinazione.percorso.c_str()) == 0
               ? Esito()
               : Esito::scrittura(oggetto, errno);
}

void rimuovi(const std::string& nascosto) {
    ::unlink(nascosto.c_str());
}

unsigned long processo() {
    return static_cast<unsigned long>(::getpid());
}

}  // namespace proprio

Risultato<Lista> leggi_lista(std::string_view nome) {
    const Oggetto oggetto = Oggetto::file(nome);
    // Not waiting for a writer, should the name be a named pipe.
    const Chiudi file(::open(std::string(nome).c_str(), O_RDONLY | O_NONBLOCK | APERTURA));
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
                     .natura = natura_di(info.st_mode)};
    }
    return proprio::leggi_tutta(static_cast<std::uint64_t>(info.st_size), oggetto,
                                [&](std::span<char> dove) -> Risultato<std::size_t> {
                                    const ssize_t n = ::read(file.fd, dove.data(), dove.size());
                                    return n >= 0 ? Risultato(static_cast<std::size_t>(n))
                                                  : Esito::lettura(oggetto, errno);
                                });
}

FineRiga fine_riga_del_sistema() {
    return FineRiga::lf;
}

std::string cartella_corrente() {
    const std::unique_ptr<char, decltype(&std::free)> percorso(::getcwd(nullptr, 0), &std::free);
    return percorso ? std::string(percorso.get()) : std::string();
}

std::vector<std::string> nomi_nella_cartella() {
    std::vector<std::string> nomi;
    const std::unique_ptr<DIR, int (*)(DIR*)> cartella(::opendir("."), &::closedir);
    while (cartella) {
        const dirent* voce = ::readdir(cartella.get());
        if (voce == nullptr) {
            break;
        }
        nomi.emplace_back(voce->d_name);
    }
    return nomi;
}

Voce che_cosa_e(std::string_view percorso) {
    struct stat info {};
    if (::stat(std::string(percorso).c_str(), &info) != 0) {
        return Voce::nessuna;
    }
    return S_ISDIR(info.st_mode) ? Voce::cartella : Voce::file;
}

}  // namespace turnolista::sistema
