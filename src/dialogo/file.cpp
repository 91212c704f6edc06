#include "dialogo/file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>

namespace turnolista {

namespace {

// Temporary files being written, for the signal handler: plain arrays, since a handler
// may touch nothing else.
constexpr std::size_t POSTI = 4;
constexpr std::size_t LUNGHEZZA = 256;
std::array<std::array<char, LUNGHEZZA>, POSTI> in_scrittura{};
std::array<volatile std::sig_atomic_t, POSTI> occupato{};

void registra(const std::string& percorso) {
    if (percorso.size() >= LUNGHEZZA) {
        return;
    }
    for (std::size_t i = 0; i < POSTI; ++i) {
        if (occupato[i] == 0) {
            std::memcpy(in_scrittura[i].data(), percorso.c_str(), percorso.size() + 1);
            occupato[i] = 1;
            return;
        }
    }
}

void dimentica(const std::string& percorso) {
    for (std::size_t i = 0; i < POSTI; ++i) {
        if (occupato[i] != 0 && percorso == in_scrittura[i].data()) {
            occupato[i] = 0;
        }
    }
}

extern "C" void al_segnale(int segnale) {
    for (std::size_t i = 0; i < POSTI; ++i) {
        if (occupato[i] != 0) {
            ::unlink(in_scrittura[i].data());
        }
    }
    std::signal(segnale, SIG_DFL);
    std::raise(segnale);
}

int apri_senza_interruzioni(const char* percorso, int modi, mode_t permessi = 0) {
    for (;;) {
        const int fd = ::open(percorso, modi | O_CLOEXEC, permessi);
        if (fd >= 0 || errno != EINTR) {
            return fd;
        }
    }
}

}  // namespace

FileLettura::FileLettura(int fd) : fd_(fd), buffer_(fd), flusso_(&buffer_) {}

FileLettura::~FileLettura() {
    ::close(fd_);
}

std::unique_ptr<FileLettura> FileLettura::apri(const std::string& percorso, int& causa) {
    const int fd = apri_senza_interruzioni(percorso.c_str(), O_RDONLY);
    if (fd < 0) {
        causa = errno;
        return nullptr;
    }
    return std::unique_ptr<FileLettura>(new FileLettura(fd));
}

FileNuovo::FileNuovo(int fd, std::string destinazione, std::string temporaneo)
    : fd_(fd),
      destinazione_(std::move(destinazione)),
      temporaneo_(std::move(temporaneo)),
      buffer_(fd),
      flusso_(&buffer_) {
    registra(temporaneo_);
}

FileNuovo::~FileNuovo() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (!in_posto_) {
        ::unlink(temporaneo_.c_str());
    }
    dimentica(temporaneo_);
}

std::unique_ptr<FileNuovo> FileNuovo::crea(const std::string& destinazione, int& causa) {
    // The mode 0666 lets the umask decide, as for any newly created file; a file that
    // already exists keeps its own permissions.
    const std::string base = "." + destinazione + "." + std::to_string(::getpid()) + "-";
    for (int tentativo = 0; tentativo < 100; ++tentativo) {
        std::string nome_temporaneo = base + std::to_string(tentativo);
        const int fd =
            apri_senza_interruzioni(nome_temporaneo.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            causa = errno;
            return nullptr;
        }
        struct stat esistente {};
        if (::stat(destinazione.c_str(), &esistente) == 0 && S_ISREG(esistente.st_mode)) {
            ::fchmod(fd, esistente.st_mode & 07777);
        }
        return std::unique_ptr<FileNuovo>(
            new FileNuovo(fd, destinazione, std::move(nome_temporaneo)));
    }
    causa = EEXIST;
    return nullptr;
}

int FileNuovo::chiudi() {
    flusso_.flush();
    int causa = buffer_.errore();
    if (causa == 0 && !flusso_) {
        causa = EIO;
    }
    if (::close(fd_) != 0 && causa == 0) {
        causa = errno;
    }
    fd_ = -1;
    return causa;
}

int sostituisci(std::span<FileNuovo* const> file, std::string& fallito) {
    for (const FileNuovo* f : file) {
        struct stat esistente {};
        if (::stat(f->destinazione().c_str(), &esistente) == 0 && S_ISDIR(esistente.st_mode)) {
            fallito = f->destinazione();
            return EISDIR;
        }
    }
    for (FileNuovo* f : file) {
        if (::rename(f->temporaneo().c_str(), f->destinazione().c_str()) != 0) {
            fallito = f->destinazione();
            return errno;
        }
        // From here the temporary name is gone: a signal must not remove what now stands
        // there.
        f->in_posto_ = true;
        dimentica(f->temporaneo());
    }
    return 0;
}

void pulisci_su_segnale() {
    for (const int segnale : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        std::signal(segnale, al_segnale);
    }
}

}  // namespace turnolista
