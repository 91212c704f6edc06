#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "sistema/file.hpp"
#include "sistema/posix.hpp"
#include "sistema/segnali.hpp"
#include "sistema/serratura.hpp"

namespace turnolista {

namespace {

// As many links as the system itself follows before it gives up with ELOOP.
constexpr int SALTI_MASSIMI = 40;
// How long a pass waits for another run in the same folder to put its files in place.
constexpr auto ATTESA_MASSIMA = std::chrono::seconds(10);
constexpr std::size_t BLOCCO_COPIA = std::size_t{64} * 1024;

#ifdef O_PATH
constexpr int APERTURA_CARTELLA = O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
constexpr int APERTURA_CARTELLA = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif

using posix::scrivi_tutto;
using posix::senza_interruzioni;

int errno_o(int predefinito) {
    return errno != 0 ? errno : predefinito;
}

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

// Follows symbolic links to the file they name, which need not exist yet: a dangling link
// names the file to create. `esiste` tells whether it does, and `info` then describes it.
int risolvi(const std::string& nome, std::string& percorso, struct stat& info, bool& esiste) {
    percorso = nome;
    for (int salti = 0; salti < SALTI_MASSIMI; ++salti) {
        esiste = ::lstat(percorso.c_str(), &info) == 0;
        if (!esiste) {
            return errno == ENOENT ? 0 : errno;
        }
        if (!S_ISLNK(info.st_mode)) {
            return 0;
        }
        std::string bersaglio(static_cast<std::size_t>(info.st_size) + 1, '\0');
        for (;;) {
            const ssize_t n = ::readlink(percorso.c_str(), bersaglio.data(), bersaglio.size());
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
        std::string da = cartella_di(percorso);
        if (bersaglio.starts_with('/') || da.empty()) {
            percorso = std::move(bersaglio);
        } else {
            percorso = std::move(da.append("/").append(bersaglio));
        }
    }
    return ELOOP;
}

// A file with no name, for content on its way; it disappears when closed.
int file_anonimo() {
    const char* cartella = std::getenv("TMPDIR");
    if (cartella == nullptr || *cartella == '\0') {
        cartella = "/tmp";
    }
#ifdef O_TMPFILE
    const int fd =
        senza_interruzioni([&] { return ::open(cartella, O_TMPFILE | O_RDWR | O_CLOEXEC, 0600); });
    if (fd >= 0) {
        return fd;
    }
#endif
    std::string modello = std::string(cartella) + "/.turnolista-XXXXXX";
    const int anonimo = ::mkostemp(modello.data(), O_CLOEXEC);
    if (anonimo >= 0) {
        ::unlink(modello.c_str());
    }
    return anonimo;
}

// Copies all of `da`, from its start, to `a` at its current offset; returns 0 or errno.
int copia(int da, int a) {
    if (::lseek(da, 0, SEEK_SET) != 0) {
        return errno;
    }
    std::array<char, BLOCCO_COPIA> blocco;
    for (;;) {
        const ssize_t letti =
            senza_interruzioni([&] { return ::read(da, blocco.data(), blocco.size()); });
        if (letti < 0) {
            return errno;
        }
        if (letti == 0) {
            return 0;
        }
        if (!scrivi_tutto(a, blocco.data(), static_cast<std::size_t>(letti))) {
            return errno_o(EIO);
        }
    }
}

// Empties `a` and writes all of `da` into it.
int riscrivi(int da, int a) {
    if (::ftruncate(a, 0) != 0 || ::lseek(a, 0, SEEK_SET) != 0) {
        return errno;
    }
    return copia(da, a);
}

}  // namespace

// Where the new content goes and how it is put in place.
struct FileNuovo::Piano {
    Piano() = default;
    Piano(const Piano&) = delete;
    Piano& operator=(const Piano&) = delete;
    ~Piano() {
        if (cartella >= 0) {
            ::close(cartella);
        }
    }

    int cartella = -1;       // the folder of the file replaced, links followed; owned
    std::string nome;        // the file's name there
    std::string temporaneo;  // the temporary file beside it; empty when copied in place
    int posto = -1;          // its place among the files a signal removes
    bool esiste = false;
    bool regolare = true;
    mode_t modo = 0;
    bool in_posto = false;
};

FileLettura::FileLettura(int fd) : fd_(fd), buffer_(fd), flusso_(&buffer_) {}

FileLettura::~FileLettura() {
    ::close(fd_);
}

std::unique_ptr<FileLettura> FileLettura::apri(const std::string& percorso, int& causa) {
    const int fd =
        senza_interruzioni([&] { return ::open(percorso.c_str(), O_RDONLY | O_CLOEXEC); });
    if (fd < 0) {
        causa = errno;
        return nullptr;
    }
    return std::unique_ptr<FileLettura>(new FileLettura(fd));
}

FileNuovo::FileNuovo(int fd, std::string destinazione, std::unique_ptr<Piano> piano)
    : fd_(fd),
      destinazione_(std::move(destinazione)),
      piano_(std::move(piano)),
      buffer_(fd),
      flusso_(&buffer_) {}

FileNuovo::~FileNuovo() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (!piano_->temporaneo.empty() && !piano_->in_posto) {
        ::unlinkat(piano_->cartella, piano_->temporaneo.c_str(), 0);
    }
    dimenticalo(piano_->posto);
}

namespace {

// Creates the temporary file beside the destination, owned and permitted as the
// destination is. Returns its descriptor, or -1 with errno set; -1 with errno 0 when the
// owner or group cannot be given to a new file.
int crea_temporaneo(FileNuovo::Piano& piano, const struct stat& esistente) {
    const std::string base = "." + piano.nome + "." + std::to_string(::getpid()) + "-";
    for (int tentativo = 0; tentativo < 100; ++tentativo) {
        std::string nome = base + std::to_string(tentativo);
        // Remembered before it exists, so that no signal can come between; a name that
        // turns out to be taken was never this run's and is forgotten at once.
        const int posto = ricorda_temporaneo(piano.cartella, nome);
        // A new file gets what the umask leaves of 0666, as any newly created file; one that
        // replaces a file starts private and then takes that file's permissions.
        const int fd = senza_interruzioni([&] {
            return ::openat(piano.cartella, nome.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                            piano.esiste ? 0600 : 0666);
        });
        if (fd < 0) {
            const int causa = errno;
            dimenticalo(posto);
            if (causa == EEXIST) {
                continue;
            }
            errno = causa;
            return -1;
        }
        piano.temporaneo = std::move(nome);
        piano.posto = posto;
        if (!piano.esiste) {
            return fd;
        }
        struct stat nuovo {};
        const bool stesso_proprietario = ::fstat(fd, &nuovo) == 0 &&
                                         nuovo.st_uid == esistente.st_uid &&
                                         nuovo.st_gid == esistente.st_gid;
        if ((stesso_proprietario || ::fchown(fd, esistente.st_uid, esistente.st_gid) == 0) &&
            ::fchmod(fd, esistente.st_mode & 0777) == 0) {
            return fd;
        }
        ::close(fd);
        ::unlinkat(piano.cartella, piano.temporaneo.c_str(), 0);
        dimenticalo(piano.posto);
        piano.temporaneo.clear();
        piano.posto = -1;
        errno = 0;
        return -1;
    }
    errno = EEXIST;
    return -1;
}

}  // namespace

std::unique_ptr<FileNuovo> FileNuovo::crea(const std::string& destinazione, int& causa) {
    std::string percorso;
    struct stat esistente {};
    auto piano = std::make_unique<Piano>();
    if ((causa = risolvi(destinazione, percorso, esistente, piano->esiste)) != 0) {
        return nullptr;
    }
    piano->nome = nome_in(percorso);
    std::string cartella = cartella_di(percorso);
    if (cartella.empty()) {
        cartella = ".";
    }
    if (piano->nome.empty() || piano->nome == "." || piano->nome == "..") {
        causa = EISDIR;
        return nullptr;
    }
    piano->cartella =
        senza_interruzioni([&] { return ::open(cartella.c_str(), APERTURA_CARTELLA); });
    if (piano->cartella < 0) {
        causa = errno;
        return nullptr;
    }

    if (piano->esiste) {
        piano->regolare = S_ISREG(esistente.st_mode);
        piano->modo = esistente.st_mode;
        if (S_ISDIR(esistente.st_mode)) {
            causa = EISDIR;
            return nullptr;
        }
        if (::faccessat(piano->cartella, piano->nome.c_str(), W_OK, AT_EACCESS) != 0) {
            causa = errno;
            return nullptr;
        }
    }

    // A rename keeps nothing of the old file: it is the way only where the new file can be
    // made the same (one link, an owner and group it can be given) in a folder that takes
    // new files. Elsewhere, and for a device or a pipe, the content goes in place.
    const bool si_rinomina =
        !piano->esiste || (piano->regolare && esistente.st_nlink == 1 &&
                           (esistente.st_uid == ::geteuid() || ::geteuid() == 0));
    int fd = -1;
    if (si_rinomina) {
        fd = crea_temporaneo(*piano, esistente);
        if (fd < 0 && !(piano->esiste && (errno == 0 || errno == EACCES || errno == EPERM))) {
            causa = errno_o(EIO);
            return nullptr;
        }
    }
    if (fd < 0 && (fd = file_anonimo()) < 0) {
        causa = errno;
        return nullptr;
    }
    return std::unique_ptr<FileNuovo>(new FileNuovo(fd, destinazione, std::move(piano)));
}

int FileNuovo::chiudi() {
    flusso_.flush();
    int causa = buffer_.errore();
    if (causa == 0 && !flusso_) {
        causa = EIO;
    }
    // Content to be copied in place stays open until it is copied.
    if (piano_->temporaneo.empty() || causa != 0) {
        return causa;
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        return errno;
    }
    return 0;
}

// The destination must still be a file that can take the new content.
int FileNuovo::verifica() const {
    struct stat info {};
    if (::fstatat(piano_->cartella, piano_->nome.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISDIR(info.st_mode)) {
        return EISDIR;
    }
    return 0;
}

int FileNuovo::metti_al_posto() {
    if (piano_->temporaneo.empty()) {
        return copia_sul_posto();
    }
    if (::renameat(piano_->cartella, piano_->temporaneo.c_str(), piano_->cartella,
                   piano_->nome.c_str()) != 0) {
        return errno;
    }
    // From here the temporary name is gone: a signal must not remove what now stands there.
    piano_->in_posto = true;
    dimenticalo(piano_->posto);
    return 0;
}

// Writes the new content into the existing file itself, as an editor does for a file that
// a rename would change; the old content is kept aside and put back if the copy fails.
int FileNuovo::copia_sul_posto() const {
    const char* nome = piano_->nome.c_str();
    const int modi = O_NOCTTY | O_CLOEXEC;
    if (!piano_->regolare) {
        const int uscita =
            senza_interruzioni([&] { return ::openat(piano_->cartella, nome, O_WRONLY | modi); });
        if (uscita < 0) {
            return errno;
        }
        int causa = copia(fd_, uscita);
        if (::close(uscita) != 0 && causa == 0) {
            causa = errno;
        }
        return causa;
    }
    int uscita =
        senza_interruzioni([&] { return ::openat(piano_->cartella, nome, O_RDWR | modi); });
    // A file that may be written but not read cannot be kept aside.
    const bool leggibile = uscita >= 0;
    if (!leggibile && errno == EACCES) {
        uscita =
            senza_interruzioni([&] { return ::openat(piano_->cartella, nome, O_WRONLY | modi); });
    }
    if (uscita < 0) {
        return errno;
    }
    int da_parte = -1;
    int causa = 0;
    if (leggibile) {
        if ((da_parte = file_anonimo()) < 0) {
            causa = errno;
        } else {
            causa = copia(uscita, da_parte);
        }
    }
    // Until the old content is safe aside, the file is left alone.
    if (causa == 0) {
        causa = riscrivi(fd_, uscita);
        if (causa == 0 && ::fsync(uscita) != 0 && errno != EINVAL) {
            causa = errno;
        }
        if (causa != 0 && da_parte >= 0) {
            riscrivi(da_parte, uscita);
        }
    }
    if (causa == 0 && (piano_->modo & 07000) != 0) {
        ::fchmod(uscita, piano_->modo & 0777);
    }
    if (::close(uscita) != 0 && causa == 0) {
        causa = errno;
    }
    if (da_parte >= 0) {
        ::close(da_parte);
    }
    return causa;
}

SerraturaCartella::SerraturaCartella() {
    const int fd = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    maniglia_ = fd;
    const auto fino_a = std::chrono::steady_clock::now() + ATTESA_MASSIMA;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() > fino_a) {
            causa_ = errno == EWOULDBLOCK ? errno : 0;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// The lock ends with the descriptor.
SerraturaCartella::~SerraturaCartella() {
    if (maniglia_ >= 0) {
        ::close(static_cast<int>(maniglia_));
    }
}

}  // namespace turnolista
