#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <string>

#include "sistema/file.hpp"
#include "sistema/posix.hpp"
#include "sistema/segnali.hpp"

namespace turnolista::sistema {

namespace {

// As many links as the system itself follows before it gives up with ELOOP.
constexpr int SALTI_MASSIMI = 40;
constexpr std::size_t BLOCCO_COPIA = std::size_t{64} * 1024;

#ifdef O_PATH
constexpr int APERTURA_CARTELLA = O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
constexpr int APERTURA_CARTELLA = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif

using posix::senza_interruzioni;

// The folder part of a path ("" for a bare name) and the name within it.
std::string cartella_di(const std::string& percorso) {
    const auto barra = percorso.rfind('/');
    if (barra == std::string::npos) {
        return "";
    }
    return barra == 0 ? "/" : percorso.substr(0, barra);
}

std::string nome_in(const std::string& percorso) {
    const auto barra = percorso.rfind('/');
    return barra == std::string::npos ? percorso : percorso.substr(barra + 1);
}

// Where a name leads once symbolic links are followed: a file that need not exist yet (a
// dangling link names the file to create), described by `info` when it does.
struct Meta {
    std::string percorso;
    struct stat info {};
    bool esiste = false;
};

// Follows symbolic links to the file they name; returns 0 or the reason (an errno value).
int risolvi(const std::string& nome, Meta& meta) {
    meta.percorso = nome;
    for (int salti = 0; salti < SALTI_MASSIMI; ++salti) {
        meta.esiste = ::lstat(meta.percorso.c_str(), &meta.info) == 0;
        if (!meta.esiste) {
            return errno == ENOENT ? 0 : errno;
        }
        if (!S_ISLNK(meta.info.st_mode)) {
            return 0;
        }
        std::string bersaglio(static_cast<std::size_t>(meta.info.st_size) + 1, '\0');
        for (;;) {
            const ssize_t n = ::readlink(meta.percorso.c_str(), bersaglio.data(), bersaglio.size());
            if (n < 0) {
                return errno;
            }
            if (static_cast<std::size_t>(n) < bersaglio.size()) {
                bersaglio.resize(static_cast<std::size_t>(n));
                break;
            }
            bersaglio.resize(bersaglio.size() * 2);
        }
        // A relative target is relative to the folder of the link.
        std::string da = cartella_di(meta.percorso);
        if (bersaglio.starts_with('/') || da.empty()) {
            meta.percorso = std::move(bersaglio);
        } else {
            meta.percorso = std::move(da.append("/").append(bersaglio));
        }
    }
    return ELOOP;
}

// A file with no name, for content on its way; it disappears when closed. Its failures
// are told as failures to write `oggetto`.
Risultato<Descrittore> file_anonimo(const Oggetto& oggetto) {
    const char* cartella = std::getenv("TMPDIR");
    if (cartella == nullptr || *cartella == '\0') {
        cartella = "/tmp";
    }
#ifdef O_TMPFILE
    const int fd =
        senza_interruzioni([&] { return ::open(cartella, O_TMPFILE | O_RDWR | O_CLOEXEC, 0600); });
    if (fd >= 0) {
        return Descrittore(fd, oggetto);
    }
#endif
    std::string modello = std::string(cartella) + "/.turnolista-XXXXXX";
    const int anonimo = ::mkostemp(modello.data(), O_CLOEXEC);
    if (anonimo < 0) {
        return Esito::scrittura(oggetto, errno);
    }
    ::unlink(modello.c_str());
    return Descrittore(anonimo, oggetto);
}

// Copies all of `da`, from its start, to `a` at its current offset.
Esito copia(Descrittore& da, Descrittore& a) {
    if (::lseek(da.nativo(), 0, SEEK_SET) != 0) {
        return Esito::scrittura(a.oggetto(), errno);
    }
    std::array<char, BLOCCO_COPIA> blocco;
    for (;;) {
        const auto letti = da.leggi(blocco);
        if (!letti) {
            return Esito::scrittura(a.oggetto(), letti.errore().causa());
        }
        if (*letti == 0) {
            return {};
        }
        if (Esito esito = a.scrivi({blocco.data(), *letti}); !esito.ok()) {
            return esito;
        }
    }
}

// Empties `a` and writes all of `da` into it.
Esito riscrivi(Descrittore& da, Descrittore& a) {
    if (::ftruncate(a.nativo(), 0) != 0 || ::lseek(a.nativo(), 0, SEEK_SET) != 0) {
        return Esito::scrittura(a.oggetto(), errno);
    }
    return copia(da, a);
}

}  // namespace

struct FileNuovo::Piano {
    Descrittore cartella;    // the folder of the file replaced, links followed
    std::string nome;        // the file's name there
    std::string temporaneo;  // the temporary file beside it; empty when copied in place
    int posto = -1;          // its place among the files a signal removes
    bool esiste = false;
    bool regolare = true;
    mode_t modo = 0;
    bool in_posto = false;
};

Risultato<std::unique_ptr<FileLettura>> FileLettura::apri(std::string_view nome) {
    const std::string percorso(nome);
    const int fd =
        senza_interruzioni([&] { return ::open(percorso.c_str(), O_RDONLY | O_CLOEXEC); });
    if (fd < 0) {
        return Esito::lettura(Oggetto::file(nome), errno);
    }
    return std::unique_ptr<FileLettura>(new FileLettura(Descrittore(fd, Oggetto::file(nome))));
}

FileNuovo::FileNuovo(Descrittore contenuto, std::string destinazione, std::unique_ptr<Piano> piano)
    : contenuto_(std::move(contenuto)),
      destinazione_(std::move(destinazione)),
      piano_(std::move(piano)),
      buffer_(contenuto_),
      flusso_(&buffer_) {}

FileNuovo::~FileNuovo() {
    contenuto_.chiudi();
    if (!piano_->temporaneo.empty() && !piano_->in_posto) {
        ::unlinkat(piano_->cartella.nativo(), piano_->temporaneo.c_str(), 0);
    }
    dimenticalo(piano_->posto);
}

namespace {

// The temporary file beside the destination, owned and permitted as the destination is;
// an empty Descrittore where the owner or group cannot be given to a new file, or the
// folder takes no new files, so that the content goes in place instead.
Risultato<Descrittore> crea_temporaneo(FileNuovo::Piano& piano, const struct stat& esistente,
                                       const Oggetto& oggetto) {
    const int cartella = piano.cartella.nativo();
    const std::string base = "." + piano.nome + "." + std::to_string(::getpid()) + "-";
    for (int tentativo = 0; tentativo < 100; ++tentativo) {
        std::string nome = base + std::to_string(tentativo);
        // Remembered before it exists, so that no signal can come between; a name that
        // turns out to be taken was never this run's and is forgotten at once.
        const int posto = ricorda_temporaneo(cartella, nome);
        // A new file gets what the umask leaves of 0666, as any newly created file; one that
        // replaces a file starts private and then takes that file's permissions.
        Descrittore fd(senza_interruzioni([&] {
                           return ::openat(cartella, nome.c_str(),
                                           O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                                           piano.esiste ? 0600 : 0666);
                       }),
                       oggetto);
        if (!fd.aperto()) {
            const int causa = errno;
            dimenticalo(posto);
            if (causa == EEXIST) {
                continue;
            }
            if (piano.esiste && (causa == EACCES || causa == EPERM)) {
                return Descrittore(oggetto);
            }
            return Esito::scrittura(oggetto, causa);
        }
        piano.temporaneo = std::move(nome);
        piano.posto = posto;
        if (!piano.esiste) {
            return fd;
        }
        struct stat nuovo {};
        const bool stesso_proprietario = ::fstat(fd.nativo(), &nuovo) == 0 &&
                                         nuovo.st_uid == esistente.st_uid &&
                                         nuovo.st_gid == esistente.st_gid;
        if ((stesso_proprietario ||
             ::fchown(fd.nativo(), esistente.st_uid, esistente.st_gid) == 0) &&
            ::fchmod(fd.nativo(), esistente.st_mode & 0777) == 0) {
            return fd;
        }
        fd.chiudi();
        ::unlinkat(cartella, piano.temporaneo.c_str(), 0);
        dimenticalo(piano.posto);
        piano.temporaneo.clear();
        piano.posto = -1;
        return Descrittore(oggetto);
    }
    return Esito::scrittura(oggetto, EEXIST);
}

// Where the new content of `destinazione` goes, links followed: the folder and the name
// there, and what stands there now. A destination the user may not write is refused here.
Risultato<std::unique_ptr<FileNuovo::Piano>> pianifica(const std::string& destinazione,
                                                       const Oggetto& oggetto, Meta& meta) {
    if (const int causa = risolvi(destinazione, meta); causa != 0) {
        return Esito::scrittura(oggetto, causa);
    }
    auto piano = std::make_unique<FileNuovo::Piano>();
    piano->esiste = meta.esiste;
    piano->nome = nome_in(meta.percorso);
    std::string cartella = cartella_di(meta.percorso);
    if (cartella.empty()) {
        cartella = ".";
    }
    if (piano->nome.empty() || piano->nome == "." || piano->nome == "..") {
        return Esito::scrittura(oggetto, EISDIR);
    }
    piano->cartella = Descrittore(
        senza_interruzioni([&] { return ::open(cartella.c_str(), APERTURA_CARTELLA); }), oggetto);
    if (!piano->cartella.aperto()) {
        return Esito::scrittura(oggetto, errno);
    }
    if (piano->esiste) {
        piano->regolare = S_ISREG(meta.info.st_mode);
        piano->modo = meta.info.st_mode;
        if (S_ISDIR(meta.info.st_mode)) {
            return Esito::scrittura(oggetto, EISDIR);
        }
        if (::faccessat(piano->cartella.nativo(), piano->nome.c_str(), W_OK, AT_EACCESS) != 0) {
            return Esito::scrittura(oggetto, errno);
        }
    }
    return piano;
}

}  // namespace

Risultato<std::unique_ptr<FileNuovo>> FileNuovo::crea(std::string_view destinazione) {
    const Oggetto oggetto = Oggetto::file(destinazione);
    Meta meta;
    auto piano = pianifica(std::string(destinazione), oggetto, meta);
    if (!piano) {
        return piano.errore();
    }
    // A rename keeps nothing of the old file: it is the way only where the new file can be
    // made the same (one link, an owner and group it can be given) in a folder that takes
    // new files. Elsewhere, and for a device or a pipe, the content goes in place.
    const bool si_rinomina =
        !meta.esiste || ((*piano)->regolare && meta.info.st_nlink == 1 &&
                         (meta.info.st_uid == ::geteuid() || ::geteuid() == 0));
    Descrittore contenuto(oggetto);
    if (si_rinomina) {
        auto temporaneo = crea_temporaneo(**piano, meta.info, oggetto);
        if (!temporaneo) {
            return temporaneo.errore();
        }
        contenuto = std::move(*temporaneo);
    }
    if (!contenuto.aperto()) {
        auto anonimo = file_anonimo(oggetto);
        if (!anonimo) {
            return anonimo.errore();
        }
        contenuto = std::move(*anonimo);
    }
    return std::unique_ptr<FileNuovo>(
        new FileNuovo(std::move(contenuto), std::string(destinazione), std::move(*piano)));
}

// The destination must still be a file that can take the new content.
Esito FileNuovo::verifica() const {
    struct stat info {};
    if (::fstatat(piano_->cartella.nativo(), piano_->nome.c_str(), &info, AT_SYMLINK_NOFOLLOW) ==
            0 &&
        S_ISDIR(info.st_mode)) {
        return Esito::scrittura(Oggetto::file(destinazione_), EISDIR);
    }
    return {};
}

namespace {

// Writes the new content into the existing file itself, as an editor does for a file that
// a rename would change; the old content is kept aside and put back if the copy fails.
Esito copia_sul_posto(const FileNuovo::Piano& piano, Descrittore& contenuto) {
    const Oggetto& oggetto = contenuto.oggetto();
    const int cartella = piano.cartella.nativo();
    const char* nome = piano.nome.c_str();
    const int modi = O_NOCTTY | O_CLOEXEC;
    if (!piano.regolare) {
        Descrittore uscita(
            senza_interruzioni([&] { return ::openat(cartella, nome, O_WRONLY | modi); }), oggetto);
        if (!uscita.aperto()) {
            return Esito::scrittura(oggetto, errno);
        }
        Esito esito = copia(contenuto, uscita);
        Esito chiusura = uscita.chiudi();
        return esito.ok() ? chiusura : esito;
    }
    Descrittore uscita(senza_interruzioni([&] { return ::openat(cartella, nome, O_RDWR | modi); }),
                       oggetto);
    // A file that may be written but not read cannot be kept aside.
    const bool leggibile = uscita.aperto();
    if (!leggibile && errno == EACCES) {
        uscita = Descrittore(
            senza_interruzioni([&] { return ::openat(cartella, nome, O_WRONLY | modi); }), oggetto);
    }
    if (!uscita.aperto()) {
        return Esito::scrittura(oggetto, errno);
    }
    Descrittore da_parte(oggetto);
    Esito esito;
    if (leggibile) {
        auto anonimo = file_anonimo(oggetto);
        if (anonimo) {
            da_parte = std::move(*anonimo);
            esito = copia(uscita, da_parte);
        } else {
            esito = anonimo.errore();
        }
    }
    // Until the old content is safe aside, the file is left alone.
    if (esito.ok()) {
        esito = riscrivi(contenuto, uscita);
        if (esito.ok() && ::fsync(uscita.nativo()) != 0 && errno != EINVAL) {
            esito = Esito::scrittura(oggetto, errno);
        }
        if (!esito.ok() && da_parte.aperto()) {
            riscrivi(da_parte, uscita);
        }
    }
    if (esito.ok() && (piano.modo & 07000) != 0) {
        ::fchmod(uscita.nativo(), piano.modo & 0777);
    }
    Esito chiusura = uscita.chiudi();
    return esito.ok() ? chiusura : esito;
}

}  // namespace

// Content to be copied in place stays open until it is copied; content to be renamed is
// closed now, so that a failure to keep it shows before any file is put in place.
Esito FileNuovo::chiudi() {
    Esito esito = svuota();
    if (esito.ok() && !piano_->temporaneo.empty()) {
        esito = contenuto_.chiudi();
    }
    return esito;
}

Esito FileNuovo::metti_al_posto() {
    if (piano_->temporaneo.empty()) {
        return copia_sul_posto(*piano_, contenuto_);
    }
    const int cartella = piano_->cartella.nativo();
    if (::renameat(cartella, piano_->temporaneo.c_str(), cartella, piano_->nome.c_str()) != 0) {
        return Esito::scrittura(Oggetto::file(destinazione_), errno);
    }
    // From here the temporary name is gone: a signal must not remove what now stands there.
    piano_->in_posto = true;
    dimenticalo(piano_->posto);
    return {};
}

}  // namespace turnolista::sistema
