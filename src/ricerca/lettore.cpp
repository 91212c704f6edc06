#include "ricerca/lettore.hpp"

#include <algorithm>
#include <cstring>

namespace turnolista {

namespace {
// Large enough that a file is read in few calls.
constexpr std::size_t BLOCCO = std::size_t{256} * 1024;
// A longer line grows the buffer by doubling up to this step, then by this step: while the
// old and the new buffer both exist they hold at most twice the line plus one step.
constexpr std::size_t PASSO_MASSIMO = std::size_t{4} * 1024 * 1024;
}  // namespace

LettoreRighe::LettoreRighe(std::istream& in, std::size_t limite)
    : in_(in),
      diretta_(dynamic_cast<LetturaDiretta*>(in.rdbuf())),
      limite_(limite),
      buffer_(std::make_unique_for_overwrite<char[]>(std::min(BLOCCO, limite + 1))),
      capienza_(std::min(BLOCCO, limite + 1)) {}

LettoreRighe::Stato LettoreRighe::leggi(std::string_view& riga) {
    std::size_t cerca_da = inizio_;
    for (;;) {
        const char* base = buffer_.get();
        if (const void* a_capo = std::memchr(base + cerca_da, '\n', fine_ - cerca_da)) {
            const auto fine_riga =
                static_cast<std::size_t>(static_cast<const char*>(a_capo) - base);
            if (fine_riga - inizio_ > limite_) {
                return Stato::troppo_lunga;
            }
            riga = std::string_view(base + inizio_, fine_riga - inizio_);
            inizio_ = fine_riga + 1;
            return Stato::riga;
        }
        if (fine_ - inizio_ > limite_) {
            return Stato::troppo_lunga;
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
        cerca_da -= inizio_;
        compatta();
        if (fine_ == capienza_) {
            cresci();
        }
        if (!riempi()) {
            return Stato::errore;
        }
    }
}

LettoreRighe::Stato LettoreRighe::altro() {
    if (inizio_ == fine_ && !finito_) {
        compatta();
        if (!riempi()) {
            return Stato::errore;
        }
    }
    return inizio_ < fine_ ? Stato::riga : Stato::fine;
}

// Keeps only the unfinished line, at the front, so that the room after it can be filled.
void LettoreRighe::compatta() {
    if (inizio_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + inizio_, fine_ - inizio_);
        fine_ -= inizio_;
        inizio_ = 0;
    }
}

void LettoreRighe::cresci() {
    // One byte past the limit is enough to tell that a line is too long.
    const std::size_t nuova = std::min(capienza_ + std::min(capienza_, PASSO_MASSIMO), limite_ + 1);
    auto piu_grande = std::make_unique_for_overwrite<char[]>(nuova);
    std::memcpy(piu_grande.get(), buffer_.get(), fine_);
    buffer_ = std::move(piu_grande);
    capienza_ = nuova;
}

bool LettoreRighe::riempi() {
    std::streambuf* sorgente = in_.rdbuf();
    if (sorgente == nullptr) {
        in_.setstate(std::ios::badbit);
        return false;
    }
    if (diretta_ == nullptr) {
        return riempi_da(*sorgente);
    }
    const auto letti = diretta_->leggi_diretto(buffer_.get() + fine_, capienza_ - fine_);
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
