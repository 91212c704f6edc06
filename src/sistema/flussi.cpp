#include "sistema/flussi.hpp"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace turnolista::sistema {

namespace {
constexpr std::size_t BLOCCO = std::size_t{64} * 1024;
}

BufferScrittura::BufferScrittura(Canale& canale, FineRiga fine_riga)
    : canale_(canale),
      fine_riga_(fine_riga),
      spazio_(std::make_unique_for_overwrite<char[]>(BLOCCO)) {
    setp(spazio_.get(), spazio_.get() + BLOCCO);
}

bool BufferScrittura::scrivi_grezzi(const char* dati, std::size_t quanti) {
    if (esito_.ok()) {
        esito_ = canale_.scrivi({dati, quanti});
    }
    return esito_.ok();
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

}  // namespace turnolista::sistema
