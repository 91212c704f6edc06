#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <utility>
#include <vector>

#include "sistema/posix.hpp"
#include "sistema/riserva.hpp"
#include "sistema/segnali.hpp"

namespace turnolista::sistema {

namespace {
constexpr std::size_t BLOCCO_COPIA = std::size_t{64} * 1024;
using posix::senza_interruzioni;

// Whether two files hold the same bytes, both read from their start.
bool stesso_contenuto(Descrittore& uno, Descrittore& altro) {
    if (::lseek(uno.nativo(), 0, SEEK_SET) != 0 || ::lseek(altro.nativo(), 0, SEEK_SET) != 0) {
        return false;
    }
    std::array<char, BLOCCO_COPIA> a;
    std::array<char, BLOCCO_COPIA> b;
    for (;;) {
        const auto n = uno.leggi(a);
        // A short read is not the end; read the other as far.
        std::size_t m = 0;
        while (n && m < *n) {
            const auto letti = altro.leggi({b.data() + m, *n - m});
            if (!letti || *letti == 0) {
                return false;
            }
            m += *letti;
        }
        if (!n || !std::equal(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(m), b.begin())) {
            return false;
        }
        if (*n == 0) {
            const auto coda = altro.leggi(b);
            return coda && *coda == 0;
        }
    }
}
}  // namespace

namespace {
// The folders for content on its way, in the order to try them.
std::vector<std::string> cartelle_temporanee() {
    std::vector<std::string> cartelle;
    if (const char* tmpdir = std::getenv("TMPDIR"); tmpdir != nullptr && *tmpdir != '\0') {
        cartelle.emplace_back(tmpdir);
    }
    if (cartelle.empty() || cartelle.front() != "/tmp") {
        cartelle.emplace_back("/tmp");
    }
    return cartelle;
}
}  // namespace

// Where $TMPDIR cannot take the file, /tmp is tried; where neither can, the failure named is
// the last folder's, with its own reason.
Risultato<FileTemporaneo> nella_cartella_temporanea(std::string_view modello, bool anonimo) {
    const auto cartelle = cartelle_temporanee();
    int causa = 0;
    for (const auto& cartella : cartelle) {
        const Oggetto oggetto = Oggetto::cartella_temporanea(cartella);
#ifdef O_TMPFILE
        if (anonimo) {
            const int fd = senza_interruzioni(
                [&] { return ::open(cartella.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600); });
            if (fd >= 0) {
                return FileTemporaneo{Descrittore(fd, oggetto), {}};
            }
        }
#endif
        std::string percorso = cartella;
        percorso.append("/").append(modello);
        const int fd = ::mkostemp(percorso.data(), O_CLOEXEC);
        if (fd >= 0) {
            if (anonimo) {
                ::unlink(percorso.c_str());
                percorso.clear();
            }
            return FileTemporaneo{Descrittore(fd, oggetto), std::move(percorso)};
        }
        causa = errno;
    }
    return Esito::scrittura(Oggetto::cartella_temporanea(cartelle.back()), causa);
}

Esito copia_tutto(Descrittore& da, Descrittore& a) {
    if (::lseek(da.nativo(), 0, SEEK_SET) != 0) {
        return Esito::lettura(da.oggetto(), errno);
    }
    std::array<char, BLOCCO_COPIA> blocco;
    for (;;) {
        const auto letti = da.leggi(blocco);
        if (!letti) {
            return letti.errore();
        }
        if (*letti == 0) {
            return {};
        }
        if (Esito esito = a.scrivi({blocco.data(), *letti}); !esito.ok()) {
            return esito;
        }
    }
}

Esito riscrivi(Descrittore& da, Descrittore& a) {
    if (::ftruncate(a.nativo(), 0) != 0 || ::lseek(a.nativo(), 0, SEEK_SET) != 0) {
        return Esito::scrittura(a.oggetto(), errno);
    }
    if (Esito esito = copia_tutto(da, a); !esito.ok()) {
        return esito;
    }
    // A device or a pipe has nothing to put on a disk.
    if (::fsync(a.nativo()) != 0 && errno != EINVAL && errno != EROFS) {
        return Esito::scrittura(a.oggetto(), errno);
    }
    return {};
}

Riserva::Riserva(Riserva&& altra) noexcept
    : percorso_(std::move(altra.percorso_)),
      copia_(std::move(altra.copia_)),
      posto_(std::exchange(altra.posto_, -1)),
      da_conservare_(altra.da_conservare_) {}

Riserva& Riserva::operator=(Riserva&& altra) noexcept {
    std::swap(percorso_, altra.percorso_);
    std::swap(copia_, altra.copia_);
    std::swap(posto_, altra.posto_);
    std::swap(da_conservare_, altra.da_conservare_);
    return *this;
}

Riserva::~Riserva() {
    if (copia_.aperto() && !da_conservare_) {
        ::unlink(percorso_.c_str());
    }
    dimenticalo(posto_);
}

void Riserva::conserva() {
    da_conservare_ = true;
    dimenticalo(posto_);
    posto_ = -1;
}

Esito Riserva::rimetti(Descrittore& file) {
    return riscrivi(copia_, file);
}

Risultato<Riserva> Riserva::crea(const std::string& nome, Descrittore& originale) {
    const Oggetto& oggetto = originale.oggetto();
    Riserva riserva;
    riserva.percorso_ = nome + "~";
    // Remembered before it exists, so that no signal can come between.
    riserva.posto_ = ricorda_temporaneo(AT_FDCWD, riserva.percorso_);
    riserva.copia_ = Descrittore(senza_interruzioni([&] {
                                     return ::open(riserva.percorso_.c_str(),
                                                   O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
                                 }),
                                 oggetto);
    if (!riserva.copia_.aperto() && errno == EEXIST) {
        dimenticalo(std::exchange(riserva.posto_, -1));
        // What an interrupted run left, if the file holds just the same, is no longer needed.
        Descrittore lasciata(::open(riserva.percorso_.c_str(), O_RDWR | O_CLOEXEC), oggetto);
        if (!lasciata.aperto() || !stesso_contenuto(lasciata, originale)) {
            return Esito::su_file(Esito::Tipo::riserva_presente, oggetto.nome)
                .con_riserva(riserva.percorso_);
        }
        riserva.copia_ = std::move(lasciata);
        riserva.posto_ = ricorda_temporaneo(AT_FDCWD, riserva.percorso_);
    } else if (!riserva.copia_.aperto()) {
        // A folder that takes no new files: the temporary folder holds it.
        dimenticalo(std::exchange(riserva.posto_, -1));
        auto copia = nella_cartella_temporanea(nome + "~XXXXXX", false);
        if (!copia) {
            return copia.errore();
        }
        riserva.percorso_ = std::move(copia->percorso);
        riserva.posto_ = ricorda_temporaneo(AT_FDCWD, riserva.percorso_);
        riserva.copia_ = std::move(copia->descrittore);
    }
    if (Esito esito = riscrivi(originale, riserva.copia_); !esito.ok()) {
        return esito;
    }
    return riserva;
}

}  // namespace turnolista::sistema
