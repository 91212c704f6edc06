#include "ricerca/lettore.hpp"

#include <algorithm>
#include <cstring>

namespace turnolista {

namespace {
// Large enough that a file is read in few calls; grown for a longer line.
constexpr std::size_t BLOCCO = std::size_t{256} * 1024;
}  // namespace

LettoreRighe::LettoreRighe(std::istream& in)
    : in_(in), buffer_(std::make_unique_for_overwrite<char[]>(BLOCCO)), capienza_(BLOCCO) {}

LettoreRighe::Stato LettoreRighe::leggi(std::string_view& riga) {
    std::size_t cerca_da = inizio_;
    for (;;) {
        const char* base = buffer_.get();
        if (const void* a_capo = std::memchr(base + cerca_da, '\n', fine_ - cerca_da)) {
            const auto fine_riga =
                static_cast<std::size_t>(static_cast<const char*>(a_capo) - base);
            riga = std::string_view(base + inizio_, fine_riga - inizio_);
            inizio_ = fine_riga + 1;
            return Stato::riga;
        }
        cerca_da = fine_;
        if (finito_) {
            if (inizio_ == fine_) {
                return Stato::fine;
            }
            riga = std::string_view(base + inizio_, fine_ - inizio_);
            inizio_ = fine_;
            return Stato::riga;
        }
        // Keep only the unfinished line, at the front, and make room after it.
        if (inizio_ > 0) {
            std::memmove(buffer_.get(), buffer_.get() + inizio_, fine_ - inizio_);
            fine_ -= inizio_;
            cerca_da -= inizio_;
            inizio_ = 0;
        }
        if (fine_ == capienza_) {
            auto piu_grande = std::make_unique_for_overwrite<char[]>(capienza_ * 2);
            std::memcpy(piu_grande.get(), buffer_.get(), fine_);
            buffer_ = std::move(piu_grande);
            capienza_ *= 2;
        }
        if (!riempi()) {
            return Stato::errore;
        }
    }
}

bool LettoreRighe::riempi() {
    std::streambuf* sorgente = in_.rdbuf();
    if (sorgente == nullptr) {
        in_.setstate(std::ios::badbit);
        return false;
    }
    auto* diretta = dynamic_cast<LetturaDiretta*>(sorgente);
    if (diretta == nullptr) {
        return riempi_da(*sorgente);
    }
    const auto letti = diretta->leggi_diretto(buffer_.get() + fine_, capienza_ - fine_);
    if (letti < 0) {
        in_.setstate(std::ios::badbit);
        return false;
    }
    if (letti == 0) {
        finito_ = true;
        in_.setstate(std::ios::eofbit);
    }
    fine_ += static_cast<std::size_t>(letti);
    return true;
}

// Takes what the stream has at hand, at least one byte unless it has ended, so that a line
// typed at the console is handled as soon as it arrives.
bool LettoreRighe::riempi_da(std::streambuf& sorgente) {
    try {
        if (std::streambuf::traits_type::eq_int_type(sorgente.sgetc(),
                                                     std::streambuf::traits_type::eof())) {
            finito_ = true;
            in_.setstate(std::ios::eofbit);
            return true;
        }
        const auto pronti =
            static_cast<std::size_t>(std::max<std::streamsize>(sorgente.in_avail(), 1));
        const auto letti =
            sorgente.sgetn(buffer_.get() + fine_,
                           static_cast<std::streamsize>(std::min(pronti, capienza_ - fine_)));
        fine_ += static_cast<std::size_t>(letti);
        return true;
    } catch (...) {
        in_.setstate(std::ios::badbit);
        return false;
    }
}

std::string_view senza_ritorno_carrello(std::string_view riga) {
    if (!riga.empty() && riga.back() == '\r') {
        riga.remove_suffix(1);
    }
    return riga;
}

}  // namespace turnolista
