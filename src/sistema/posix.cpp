#include "sistema/posix.hpp"

#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <vector>

namespace turnolista::sistema::posix {

bool fai_come(int fd, const std::string& nome, const struct stat& esistente) {
    struct stat nuovo {};
    const bool stesso_proprietario = ::fstat(fd, &nuovo) == 0 && nuovo.st_uid == esistente.st_uid &&
                                     nuovo.st_gid == esistente.st_gid;
    if ((!stesso_proprietario && ::fchown(fd, esistente.st_uid, esistente.st_gid) != 0) ||
        ::fchmod(fd, esistente.st_mode & 0777) != 0) {
        return false;
    }
    std::string nomi(4096, '\0');
    const ssize_t lunghezza = ::llistxattr(nome.c_str(), nomi.data(), nomi.size());
    if (lunghezza <= 0) {
        return lunghezza == 0 || errno == ENOTSUP;
    }
    nomi.resize(static_cast<std::size_t>(lunghezza));
    std::vector<char> valore(65536);
    for (std::size_t da = 0; da < nomi.size(); da = nomi.find('\0', da) + 1) {
        const char* attributo = nomi.c_str() + da;
        const ssize_t n = ::lgetxattr(nome.c_str(), attributo, valore.data(), valore.size());
        if (n < 0 ||
            ::fsetxattr(fd, attributo, valore.data(), static_cast<std::size_t>(n), 0) != 0) {
            return false;
        }
    }
    return true;
}

Risultato<Descrittore> file_anonimo() {
    std::vector<std::string> cartelle;
    if (const char* tmpdir = std::getenv("TMPDIR"); tmpdir != nullptr && *tmpdir != '\0') {
        cartelle.emplace_back(tmpdir);
    }
    if (cartelle.empty() || cartelle.front() != "/tmp") {
        cartelle.emplace_back("/tmp");
    }
    int causa = 0;
    for (const auto& cartella : cartelle) {
        const Oggetto oggetto = Oggetto::cartella_temporanea(cartella);
        int fd = ::open(cartella.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (fd < 0) {
            std::string percorso = cartella + "/.turnolista-XXXXXX";
            fd = ::mkostemp(percorso.data(), O_CLOEXEC);
            if (fd >= 0) {
                ::unlink(percorso.c_str());
            }
        }
        if (fd >= 0) {
            return Descrittore(fd, oggetto);
        }
        causa = errno;
    }
    return Esito::scrittura(Oggetto::cartella_temporanea(cartelle.back()), causa);
}

Esito copia(Descrittore& da, Descrittore& a) {
    if (::lseek(da.nativo(), 0, SEEK_SET) != 0) {
        return Esito::lettura(da.oggetto(), errno);
    }
    std::array<char, std::size_t{64} * 1024> blocco;
    for (;;) {
        const auto letti = da.leggi(blocco);
        if (!letti || *letti == 0) {
            return letti ? Esito() : letti.errore();
        }
        if (Esito esito = a.scrivi({blocco.data(), *letti}); !esito.ok()) {
            return esito;
        }
    }
}

}  // namespace turnolista::sistema::posix
