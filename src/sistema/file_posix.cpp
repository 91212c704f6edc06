#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "sistema/file.hpp"
#include "sistema/posix.hpp"
#include "sistema/riserva.hpp"
#include "sistema/segnali.hpp"
#include "sistema/temporanei.hpp"

namespace turnolista::sistema {

namespace {

using posix::senza_interruzioni;
constexpr int APERTURA = O_NOCTTY | O_CLOEXEC;

// A file with no name in the temporary folder, for content on its way to a file that is
// written in place; it disappears when closed.
Risultato<Descrittore> file_anonimo() {
    auto anonimo = nella_cartella_temporanea(".turnolista-XXXXXX", true);
    if (!anonimo) {
        return anonimo.errore();
    }
    return std::move(anonimo->descrittore);
}

bool stesso_file(const struct stat& uno, int fd) {
    struct stat altro {};
    return ::fstat(fd, &altro) == 0 && uno.st_dev == altro.st_dev && uno.st_ino == altro.st_ino;
}

// Gives the temporary file what the file it replaces has: owner, group, permissions (never
// setuid, setgid or sticky), then the ACL and other extended attributes, which set the
// group's bits again from the ACL's mask. False where any of it cannot be given.
bool fai_come(int fd, const std::string& nome, const struct stat& esistente) {
    struct stat nuovo {};
    const bool stesso_proprietario = ::fstat(fd, &nuovo) == 0 && nuovo.st_uid == esistente.st_uid &&
                                     nuovo.st_gid == esistente.st_gid;
    if ((!stesso_proprietario && ::fchown(fd, esistente.st_uid, esistente.st_gid) != 0) ||
        ::fchmod(fd, esistente.st_mode & 0777) != 0) {
        return false;
    }
    const ssize_t lunghezza = ::llistxattr(nome.c_str(), nullptr, 0);
    if (lunghezza <= 0) {
        return lunghezza == 0 || errno == ENOTSUP;
    }
    std::string nomi(static_cast<std::size_t>(lunghezza), '\0');
    const ssize_t letti = ::llistxattr(nome.c_str(), nomi.data(), nomi.size());
    if (letti < 0) {
        return false;
    }
    nomi.resize(static_cast<std::size_t>(letti));
    for (std::size_t da = 0; da < nomi.size(); da = nomi.find('\0', da) + 1) {
        const char* attributo = nomi.c_str() + da;
        const ssize_t quanto = ::lgetxattr(nome.c_str(), attributo, nullptr, 0);
        std::vector<char> valore(static_cast<std::size_t>(std::max<ssize_t>(quanto, 0)));
        if (quanto < 0 ||
            ::lgetxattr(nome.c_str(), attributo, valore.data(), valore.size()) != quanto ||
            ::fsetxattr(fd, attributo, valore.data(), valore.size(), 0) != 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

struct FileNuovo::Piano {
    Piano() = default;
    Piano(const Piano&) = delete;
    Piano& operator=(const Piano&) = delete;
    ~Piano() { lascia_temporaneo(); }

    // A temporary file not put in place is removed, and no signal looks for it any more.
    void lascia_temporaneo() {
        if (!temporaneo.empty() && !in_posto) {
            ::unlink(temporaneo.c_str());
        }
        temporaneo.clear();
        dimenticalo(std::exchange(posto, -1));
    }

    Modo modo = Modo::rinomina;
    std::string nome;  // the destination's name in the current folder
    // With rinomina: the temporary file beside it and its place among the files a signal
    // removes; the earlier file's second name while the pass may still be undone.
    std::string temporaneo;
    int posto = -1;
    bool esiste = false;
    std::string vecchio;
    bool in_posto = false;
    // With sul_posto and dispositivo: the destination as the system opened it, links
    // followed; with sul_posto, its old content kept aside.
    Descrittore bersaglio;
    mode_t modo_file = 0;
    Riserva riserva;
    bool riscritto = false;
};

Risultato<std::unique_ptr<FileLettura>> FileLettura::apri_il_nome(std::string_view nome) {
    const std::string percorso(nome);
    const int fd =
        senza_interruzioni([&] { return ::open(percorso.c_str(), O_RDONLY | O_CLOEXEC); });
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

FileNuovo::FileNuovo(Descrittore contenuto, std::string destinazione, std::unique_ptr<Piano> piano)
    : contenuto_(std::move(contenuto)),
      destinazione_(std::move(destinazione)),
      piano_(std::move(piano)),
      buffer_(contenuto_),
      flusso_(&buffer_) {}

// The plan removes a temporary file that was not put in place.
FileNuovo::~FileNuovo() = default;

FileNuovo::Modo FileNuovo::modo() const {
    return piano_->modo;
}

namespace {

// The temporary file beside the destination, made like it; an empty Descrittore where it
// cannot be made so (the folder takes no new files, the owner, group or ACL cannot be
// given), so that the content goes in place instead.
Risultato<Descrittore> crea_temporaneo(FileNuovo::Piano& piano, const struct stat& esistente,
                                       const Oggetto& oggetto) {
    for (int tentativo = 0; tentativo < 100; ++tentativo) {
        std::string nome = nome_temporaneo(piano.nome, processo_corrente(), tentativo);
        // Remembered before it exists, so that no signal can come between; a name that
        // turns out to be taken was never this run's and is forgotten at once.
        const int posto = ricorda_temporaneo(AT_FDCWD, nome);
        // A new file gets what the umask leaves of 0666, as any newly created file; one that
        // replaces a file starts private and then takes that file's permissions.
        Descrittore fd(senza_interruzioni([&] {
                           return ::open(nome.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                                         piano.esiste ? 0600 : 0666);
                       }),
                       oggetto);
        if (!fd.aperto()) {
            const int causa = errno;
            dimenticalo(posto);
            if (causa == EEXIST) {
                continue;
            }
            if (piano.esiste && (causa == EACCES || causa == EPERM || causa == EROFS)) {
                return Descrittore(oggetto);
            }
            return Esito::scrittura(oggetto, causa);
        }
        piano.temporaneo = std::move(nome);
        piano.posto = posto;
        if (!piano.esiste || fai_come(fd.nativo(), piano.nome, esistente)) {
            return fd;
        }
        piano.lascia_temporaneo();
        return Descrittore(oggetto);
    }
    return Esito::scrittura(oggetto, EEXIST);
}

// Opens the destination to write it where it stands: the system follows a symbolic link
// as it would for any program, with its protections. A regular file is opened for reading
// too, since its old content is kept aside; a pipe is opened for writing alone, which
// waits for a reader, and so does a device.
Esito apri_bersaglio(FileNuovo::Piano& piano, const Oggetto& oggetto, bool crea) {
    struct stat dove {};
    const bool esiste = ::stat(piano.nome.c_str(), &dove) == 0;
    const bool regolare = !esiste || S_ISREG(dove.st_mode) || S_ISDIR(dove.st_mode);
    const int accesso = (regolare ? O_RDWR : O_WRONLY) | (crea ? O_CREAT : 0);
    piano.bersaglio = Descrittore(
        senza_interruzioni([&] { return ::open(piano.nome.c_str(), accesso | APERTURA, 0666); }),
        oggetto);
    if (!piano.bersaglio.aperto()) {
        const int causa = errno;
        // A file that may be written but not read: no backup of it can be kept.
        if (regolare && causa == EACCES &&
            Descrittore(::open(piano.nome.c_str(), O_WRONLY | APERTURA), oggetto).aperto()) {
            return Esito::su_file(Esito::Tipo::illeggibile, oggetto.nome);
        }
        return Esito::scrittura(oggetto, causa);
    }
    struct stat aperto {};
    ::fstat(piano.bersaglio.nativo(), &aperto);
    piano.modo =
        S_ISREG(aperto.st_mode) ? FileNuovo::Modo::sul_posto : FileNuovo::Modo::dispositivo;
    piano.modo_file = aperto.st_mode;
    return {};
}

// How the destination is to be written, chosen once: refuses what cannot be written.
Esito pianifica(FileNuovo::Piano& piano, const Oggetto& oggetto, const FileLettura& originale,
                Descrittore& contenuto) {
    struct stat info {};
    if (::lstat(piano.nome.c_str(), &info) != 0) {
        if (errno != ENOENT) {
            return Esito::scrittura(oggetto, errno);
        }
        auto temporaneo = crea_temporaneo(piano, info, oggetto);
        if (temporaneo) {
            contenuto = std::move(*temporaneo);
        }
        return temporaneo ? Esito() : temporaneo.errore();
    }
    if (S_ISDIR(info.st_mode)) {
        return Esito::scrittura(oggetto, EISDIR);
    }
    if (S_ISREG(info.st_mode)) {
        piano.esiste = true;
        if (::faccessat(AT_FDCWD, piano.nome.c_str(), W_OK, AT_EACCESS) != 0) {
            return Esito::scrittura(oggetto, errno);
        }
        // A rename keeps nothing of the old file: it is the way only where the new file can
        // be made the same (one link, an owner and group it can be given, its ACL).
        if (info.st_nlink == 1 && (info.st_uid == ::geteuid() || ::geteuid() == 0)) {
            auto temporaneo = crea_temporaneo(piano, info, oggetto);
            if (!temporaneo) {
                return temporaneo.errore();
            }
            contenuto = std::move(*temporaneo);
        }
    }
    if (!contenuto.aperto()) {
        if (Esito esito = apri_bersaglio(piano, oggetto, S_ISLNK(info.st_mode)); !esito.ok()) {
            return esito;
        }
    }
    // The fixture list itself, under another name or behind a link, is never written.
    struct stat scritto = info;
    const bool confrontabile =
        piano.bersaglio.aperto() ? ::fstat(piano.bersaglio.nativo(), &scritto) == 0 : piano.esiste;
    if (confrontabile && stesso_file(scritto, originale.descrittore().nativo())) {
        return Esito::su_file(Esito::Tipo::stesso_file, oggetto.nome);
    }
    return {};
}

}  // namespace

Risultato<std::unique_ptr<FileNuovo>> FileNuovo::crea(std::string_view destinazione,
                                                      const FileLettura& originale) {
    const Oggetto oggetto = Oggetto::file(destinazione);
    auto piano = std::make_unique<Piano>();
    piano->nome = std::string(destinazione);
    Descrittore contenuto(oggetto);
    if (Esito esito = pianifica(*piano, oggetto, originale, contenuto); !esito.ok()) {
        return esito;
    }
    if (!contenuto.aperto()) {
        auto anonimo = file_anonimo();
        if (!anonimo) {
            return anonimo.errore();
        }
        contenuto = std::move(*anonimo);
    }
    return std::unique_ptr<FileNuovo>(
        new FileNuovo(std::move(contenuto), std::string(destinazione), std::move(piano)));
}

Esito FileNuovo::chiudi() {
    if (Esito esito = svuota(); !esito.ok()) {
        return esito;
    }
    switch (piano_->modo) {
        case Modo::rinomina:
            return contenuto_.chiudi();
        case Modo::dispositivo:
            return {};
        case Modo::sul_posto:
            break;
    }
    auto riserva = Riserva::crea(piano_->nome, piano_->bersaglio);
    if (!riserva) {
        return riserva.errore();
    }
    piano_->riserva = std::move(*riserva);
    // Room for the new content, so that a full disk shows now rather than half-way.
    struct stat nuovo {};
    if (::fstat(contenuto_.nativo(), &nuovo) == 0 && nuovo.st_size > 0) {
        const int causa = ::posix_fallocate(piano_->bersaglio.nativo(), 0, nuovo.st_size);
        if (causa == ENOSPC || causa == EDQUOT || causa == EFBIG) {
            return Esito::scrittura(Oggetto::file(destinazione_), causa);
        }
    }
    return {};
}

// The destination must still be what was planned for.
Esito FileNuovo::verifica() const {
    struct stat info {};
    if (piano_->modo == Modo::rinomina && ::lstat(piano_->nome.c_str(), &info) == 0 &&
        S_ISDIR(info.st_mode)) {
        return Esito::scrittura(Oggetto::file(destinazione_), EISDIR);
    }
    return {};
}

Esito FileNuovo::metti_al_posto() {
    Piano& piano = *piano_;
    switch (piano.modo) {
        case Modo::dispositivo:
            return copia_tutto(contenuto_, piano.bersaglio);
        case Modo::sul_posto: {
            piano.riscritto = true;
            Esito esito = riscrivi(contenuto_, piano.bersaglio);
            if (!esito.ok()) {
                if (!piano.riserva.rimetti(piano.bersaglio).ok()) {
                    piano.riserva.conserva();
                    return std::move(esito).con_riserva(piano.riserva.percorso());
                }
                return esito;
            }
            if ((piano.modo_file & 07000) != 0) {
                ::fchmod(piano.bersaglio.nativo(), piano.modo_file & 0777);
            }
            return {};
        }
        case Modo::rinomina:
            break;
    }
    // The earlier file keeps a second name until the whole pass is in place, so that it can
    // be put back; where the system allows no second name, it cannot.
    if (piano.esiste) {
        std::string vecchio = nome_temporaneo(piano.nome, processo_corrente(), 0) + "~";
        if (::link(piano.nome.c_str(), vecchio.c_str()) == 0) {
            piano.vecchio = std::move(vecchio);
        }
    }
    if (::rename(piano.temporaneo.c_str(), piano.nome.c_str()) != 0) {
        const int causa = errno;
        conferma();
        return Esito::scrittura(Oggetto::file(destinazione_), causa);
    }
    // From here the temporary name is gone: a signal must not remove what now stands there.
    piano.in_posto = true;
    dimenticalo(std::exchange(piano.posto, -1));
    return {};
}

void FileNuovo::rimetti() {
    Piano& piano = *piano_;
    if (piano.modo == Modo::sul_posto && piano.riscritto &&
        !piano.riserva.rimetti(piano.bersaglio).ok()) {
        piano.riserva.conserva();
    }
    if (piano.modo == Modo::rinomina && piano.in_posto) {
        if (!piano.vecchio.empty()) {
            ::rename(piano.vecchio.c_str(), piano.nome.c_str());
            piano.vecchio.clear();
        } else if (!piano.esiste) {
            ::unlink(piano.nome.c_str());
        }
    }
}

void FileNuovo::conferma() {
    if (!piano_->vecchio.empty()) {
        ::unlink(piano_->vecchio.c_str());
        piano_->vecchio.clear();
    }
    piano_->riserva = Riserva();
}

}  // namespace turnolista::sistema
