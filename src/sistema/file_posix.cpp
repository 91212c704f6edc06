#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <variant>

#include "sistema/file.hpp"
#include "sistema/posix.hpp"
#include "sistema/segnali.hpp"

namespace turnolista::sistema {

namespace {

using posix::senza_interruzioni;
constexpr int APERTURA = O_NOCTTY | O_CLOEXEC;

// Replace: the new file beside the destination, removed unless it was renamed over it.
struct Accanto {
    Accanto(std::string n, int p) : nome(std::move(n)), posto(p) {}
    ~Accanto() {
        if (!in_posto) {
            ::unlink(nome.c_str());
        }
        dimenticalo(posto);
    }
    Accanto(const Accanto&) = delete;
    Accanto& operator=(const Accanto&) = delete;

    std::string nome;
    int posto;              // among the files a signal removes
    bool in_posto = false;  // renamed over the destination
};

// Write through: the fixture list, which the destination must not turn out to be.
struct Attraverso {
    dev_t dispositivo = 0;
    ino_t nodo = 0;
    bool e(const struct stat& file) const {
        return file.st_dev == dispositivo && file.st_ino == nodo;
    }
};

}  // namespace

struct FileNuovo::Piano {
    std::variant<Attraverso, Accanto> modo;
};

void FileNuovo::FinePiano::operator()(Piano* piano) const {
    delete piano;
}

namespace {

// Whether a rename keeps what the file has: its only name, the user's own (root's too, except
// in a sticky folder, where the kernel would not let it open another user's file).
bool sostituibile(const struct stat& info) {
    struct stat cartella {};
    return S_ISREG(info.st_mode) && info.st_nlink == 1 &&
           (info.st_uid == ::geteuid() ||
            (::geteuid() == 0 && ::stat(".", &cartella) == 0 && (cartella.st_mode & S_ISVTX) == 0));
}

// Refuses, before anything is written, a folder, a file the user may not write, the fixture
// list under another name or behind a link. Writing through a link to nothing creates it.
Esito controlla(const std::string& nome, const Attraverso& lista, const Oggetto& oggetto) {
    struct stat bersaglio {};
    if (::stat(nome.c_str(), &bersaglio) != 0) {
        return errno == ENOENT ? Esito() : Esito::scrittura(oggetto, errno);
    }
    if (S_ISDIR(bersaglio.st_mode)) {
        return Esito::scrittura(oggetto, EISDIR);
    }
    if (lista.e(bersaglio)) {
        return Esito::su_file(Esito::Tipo::stesso_file, oggetto.nome);
    }
    if (::faccessat(AT_FDCWD, nome.c_str(), W_OK, AT_EACCESS) != 0) {
        return Esito::scrittura(oggetto, errno);
    }
    return {};
}

// The new file beside the destination, made like `esistente` where there is one. Where it
// cannot be made so (the folder takes no new files; the owner, mode or attributes cannot be
// given), an empty Descrittore: the content is written through instead.
Risultato<Descrittore> crea_accanto(const std::string& nome, const struct stat* esistente,
                                    const Oggetto& oggetto, FileNuovo::Piano& piano) {
    for (int tentativo = 0; tentativo < 100; ++tentativo) {
        std::string accanto =
            nome_temporaneo(nome, static_cast<unsigned long>(::getpid()), tentativo);
        // New, it gets what the umask leaves of 0666; replacing a file, it starts private. A
        // name already taken, even by a link, is never written through.
        const int fd = senza_interruzioni([&] {
            return ::open(accanto.c_str(), O_WRONLY | O_CREAT | O_EXCL | APERTURA,
                          esistente != nullptr ? 0600 : 0666);
        });
        if (fd < 0) {
            const int causa = errno;
            if (causa == EEXIST) {
                continue;
            }
            if (esistente != nullptr && (causa == EACCES || causa == EPERM || causa == EROFS)) {
                return Descrittore(oggetto);
            }
            return Esito::scrittura(oggetto, causa);
        }
        piano.modo.emplace<Accanto>(accanto, ricorda_temporaneo(accanto));
        Descrittore nuovo(fd, oggetto);
        if (esistente == nullptr || posix::fai_come(fd, nome, *esistente)) {
            return nuovo;
        }
        piano.modo.emplace<Attraverso>();
        return Descrittore(oggetto);
    }
    return Esito::scrittura(oggetto, EEXIST);
}

// Opens the destination as the shell's ">" would, and empties it once it is known not to be
// the fixture list and is locked, so that two runs write it one after the other.
Esito scrivi_attraverso(Descrittore& contenuto, const std::string& nome, const Attraverso& lista) {
    const Oggetto oggetto = Oggetto::file(nome);
    const int fd = senza_interruzioni(
        [&] { return ::open(nome.c_str(), O_WRONLY | O_CREAT | APERTURA, 0666); });
    Descrittore bersaglio(fd, oggetto);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        return Esito::scrittura(oggetto, errno);
    }
    if (lista.e(info)) {
        return Esito::su_file(Esito::Tipo::stesso_file, nome);
    }
    if (S_ISREG(info.st_mode)) {
        static_cast<void>(senza_interruzioni([&] { return ::flock(fd, LOCK_EX); }));
        if (::ftruncate(fd, 0) != 0) {
            return Esito::scrittura(oggetto, errno);
        }
    }
    Esito esito = posix::copia(contenuto, bersaglio);
    return esito.ok() ? bersaglio.chiudi() : esito;
}

}  // namespace

Risultato<std::unique_ptr<FileNuovo>> FileNuovo::crea(std::string_view destinazione,
                                                      const FileLettura& originale,
                                                      FineRiga fine_riga) {
    const std::string nome(destinazione);
    const Oggetto oggetto = Oggetto::file(destinazione);
    struct stat info {};
    static_cast<void>(::fstat(originale.descrittore().nativo(), &info));
    const Attraverso lista{info.st_dev, info.st_ino};
    const bool esiste = ::lstat(nome.c_str(), &info) == 0;
    if (!esiste && errno != ENOENT) {
        return Esito::scrittura(oggetto, errno);
    }
    if (Esito esito = esiste ? controlla(nome, lista, oggetto) : Esito(); !esito.ok()) {
        return esito;
    }
    PianoProprio piano(new Piano());
    Descrittore contenuto(oggetto);
    if (!esiste || sostituibile(info)) {
        auto accanto = crea_accanto(nome, esiste ? &info : nullptr, oggetto, *piano);
        if (!accanto) {
            return accanto.errore();
        }
        contenuto = std::move(*accanto);
    }
    if (!contenuto.aperto()) {
        auto attesa = posix::file_anonimo();
        if (!attesa) {
            return attesa.errore();
        }
        contenuto = std::move(*attesa);
        piano->modo = lista;
    }
    return std::unique_ptr<FileNuovo>(
        new FileNuovo(std::move(contenuto), nome, std::move(piano), fine_riga));
}

Esito FileNuovo::metti_al_posto() {
    if (Esito esito = svuota(); !esito.ok()) {
        return esito;
    }
    auto* accanto = std::get_if<Accanto>(&piano_->modo);
    if (accanto == nullptr) {
        return scrivi_attraverso(contenuto_, destinazione_, std::get<Attraverso>(piano_->modo));
    }
    if (Esito esito = contenuto_.chiudi(); !esito.ok()) {
        return esito;
    }
    if (::rename(accanto->nome.c_str(), destinazione_.c_str()) != 0) {
        return Esito::scrittura(Oggetto::file(destinazione_), errno);
    }
    accanto->in_posto = true;
    return {};
}

}  // namespace turnolista::sistema
