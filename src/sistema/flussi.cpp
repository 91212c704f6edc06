#include "sistema/flussi.hpp"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <system_error>

#include "sistema/descrittori.hpp"

namespace turnolista {

namespace {
constexpr std::size_t BLOCCO = std::size_t{64} * 1024;
}

BufferLettura::BufferLettura(int fd, int errore, FineRiga fine_riga)
    : fd_(fd), errore_(errore), fine_riga_(fine_riga) {}

std::ptrdiff_t BufferLettura::leggi(char* dove, std::size_t quanti) {
    if (errore_ != 0) {
        return -1;
    }
    return sistema::leggi(fd_, dove, quanti, errore_);
}

// Fills the buffer with the next data, its line ends as the program sees them; false on
// failure. Nothing in the buffer afterwards means the data has ended.
bool BufferLettura::riempi() {
    if (!spazio_) {
        spazio_ = std::make_unique_for_overwrite<char[]>(BLOCCO);
    }
    if (fine_riga_ == FineRiga::lf) {
        const auto letti = leggi(spazio_.get(), BLOCCO);
        if (letti < 0) {
            return false;
        }
        setg(spazio_.get(), spazio_.get(), spazio_.get() + letti);
        return true;
    }
    if (!grezzo_) {
        grezzo_ = std::make_unique_for_overwrite<char[]>(BLOCCO);
    }
    // A block of a lone CR held back gives nothing yet, so read until it does.
    for (;;) {
        // The CR held back goes first, before what follows it.
        const std::size_t inizio = cr_in_sospeso_ ? 1 : 0;
        if (cr_in_sospeso_) {
            grezzo_[0] = '\r';
        }
        const auto letti = leggi(grezzo_.get() + inizio, BLOCCO - inizio);
        if (letti < 0) {
            return false;
        }
        grezzi_ = inizio + static_cast<std::size_t>(letti);
        cr_in_sospeso_ = letti > 0 && grezzo_[grezzi_ - 1] == '\r';
        if (cr_in_sospeso_) {
            --grezzi_;
        }
        const std::size_t tradotti = togli_cr({grezzo_.get(), grezzi_}, spazio_.get());
        setg(spazio_.get(), spazio_.get(), spazio_.get() + tradotti);
        if (tradotti > 0 || letti == 0) {
            return true;
        }
    }
}

std::ptrdiff_t BufferLettura::leggi_diretto(char* dove, std::size_t quanti) {
    if (gptr() == egptr()) {
        if (fine_riga_ == FineRiga::lf) {
            return leggi(dove, quanti);
        }
        if (!riempi()) {
            return -1;
        }
    }
    const auto pronti = std::min(quanti, static_cast<std::size_t>(egptr() - gptr()));
    std::memcpy(dove, gptr(), pronti);
    gbump(static_cast<int>(pronti));
    return static_cast<std::ptrdiff_t>(pronti);
}

BufferLettura::int_type BufferLettura::underflow() {
    if (gptr() == egptr() && !riempi()) {
        throw std::system_error(errore_, std::generic_category());
    }
    if (gptr() == egptr()) {
        return traits_type::eof();
    }
    return traits_type::to_int_type(*gptr());
}

std::size_t BufferLettura::da_restituire(std::size_t non_usati) const {
    const auto in_coda = non_usati + static_cast<std::size_t>(egptr() - gptr());
    if (fine_riga_ == FineRiga::lf) {
        return in_coda;
    }
    return grezzi_in_coda({grezzo_.get(), grezzi_}, in_coda) + (cr_in_sospeso_ ? 1 : 0);
}

BufferScrittura::BufferScrittura(int fd, int errore, FineRiga fine_riga)
    : fd_(fd),
      errore_(errore),
      fine_riga_(fine_riga),
      spazio_(std::make_unique_for_overwrite<char[]>(BLOCCO)) {
    setp(spazio_.get(), spazio_.get() + BLOCCO);
}

bool BufferScrittura::scrivi_grezzi(const char* dati, std::size_t quanti) {
    return errore_ == 0 && sistema::scrivi(fd_, dati, quanti, errore_);
}

bool BufferScrittura::scrivi_tutto(const char* dati, std::size_t quanti) {
    if (fine_riga_ == FineRiga::lf) {
        return scrivi_grezzi(dati, quanti);
    }
    if (!esteso_) {
        esteso_ = std::make_unique_for_overwrite<char[]>(2 * BLOCCO);
    }
    while (quanti > 0) {
        const std::size_t pezzo = std::min(quanti, BLOCCO);
        const std::size_t estesi = metti_cr({dati, pezzo}, esteso_.get());
        if (!scrivi_grezzi(esteso_.get(), estesi)) {
            return false;
        }
        dati += pezzo;
        quanti -= pezzo;
    }
    return true;
}

bool BufferScrittura::svuota() {
    const auto pronti = static_cast<std::size_t>(pptr() - pbase());
    setp(spazio_.get(), spazio_.get() + BLOCCO);
    return scrivi_tutto(spazio_.get(), pronti);
}

BufferScrittura::int_type BufferScrittura::overflow(int_type c) {
    if (!svuota()) {
        return traits_type::eof();
    }
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

std::streamsize BufferScrittura::xsputn(const char* dati, std::streamsize quanti) {
    if (quanti <= 0) {
        return 0;  // an empty view may have no data pointer at all
    }
    const auto n = static_cast<std::size_t>(quanti);
    if (n <= static_cast<std::size_t>(epptr() - pptr())) {
        std::memcpy(pptr(), dati, n);
        pbump(static_cast<int>(n));
        return quanti;
    }
    // Too big for what is left of the buffer: send the buffer, then the data as it is.
    if (!svuota()) {
        return 0;
    }
    if (n < BLOCCO) {
        std::memcpy(pptr(), dati, n);
        pbump(static_cast<int>(n));
        return quanti;
    }
    return scrivi_tutto(dati, n) ? quanti : 0;
}

int BufferScrittura::sync() {
    return svuota() ? 0 : -1;
}

}  // namespace turnolista
