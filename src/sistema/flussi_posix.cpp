#include "sistema/flussi.hpp"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "sistema/posix.hpp"

namespace turnolista {

namespace {
constexpr std::size_t BLOCCO = std::size_t{64} * 1024;
}

BufferLettura::BufferLettura(int fd, int errore) : fd_(fd), errore_(errore) {}

std::ptrdiff_t BufferLettura::leggi(char* dove, std::size_t quanti) {
    if (errore_ != 0) {
        return -1;
    }
    const ssize_t letti = posix::senza_interruzioni([&] { return ::read(fd_, dove, quanti); });
    if (letti < 0) {
        errore_ = errno;
    }
    return letti;
}

std::ptrdiff_t BufferLettura::leggi_diretto(char* dove, std::size_t quanti) {
    if (gptr() < egptr()) {
        const auto pronti = std::min(quanti, static_cast<std::size_t>(egptr() - gptr()));
        std::memcpy(dove, gptr(), pronti);
        gbump(static_cast<int>(pronti));
        return static_cast<std::ptrdiff_t>(pronti);
    }
    return leggi(dove, quanti);
}

BufferLettura::int_type BufferLettura::underflow() {
    if (gptr() < egptr()) {
        return traits_type::to_int_type(*gptr());
    }
    // Only a reader that does not read directly needs a buffer here.
    if (!spazio_) {
        spazio_ = std::make_unique_for_overwrite<char[]>(BLOCCO);
    }
    const auto letti = leggi(spazio_.get(), BLOCCO);
    if (letti < 0) {
        throw std::system_error(errore_, std::generic_category());
    }
    if (letti == 0) {
        return traits_type::eof();
    }
    setg(spazio_.get(), spazio_.get(), spazio_.get() + letti);
    return traits_type::to_int_type(*gptr());
}

BufferScrittura::BufferScrittura(int fd, int errore)
    : fd_(fd), errore_(errore), spazio_(std::make_unique_for_overwrite<char[]>(BLOCCO)) {
    setp(spazio_.get(), spazio_.get() + BLOCCO);
}

bool BufferScrittura::scrivi_tutto(const char* dati, std::size_t quanti) {
    if (errore_ != 0) {
        return false;
    }
    if (!posix::scrivi_tutto(fd_, dati, quanti)) {
        errore_ = errno;
        return false;
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
