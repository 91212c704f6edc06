#include "ricerca/lettore.hpp"

#include <algorithm>
#include <cstring>

namespace turnolista {

namespace {
constexpr std::size_t BLOCCO = std::size_t{64} * 1024;
}

LettoreRighe::LettoreRighe(std::istream& in) : in_(in), buffer_(BLOCCO) {}

LettoreRighe::Stato LettoreRighe::leggi(std::string_view& riga) {
    std::size_t cerca_da = inizio_;
    for (;;) {
        const char* base = buffer_.data();
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
            std::memmove(buffer_.data(), buffer_.data() + inizio_, fine_ - inizio_);
            fine_ -= inizio_;
            cerca_da -= inizio_;
            inizio_ = 0;
        }
        if (fine_ == buffer_.size()) {
            buffer_.resize(buffer_.size() * 2);
        }
        if (!riempi()) {
            return Stato::errore;
        }
    }
}

// Reads what the stream has at hand, at least one byte unless it has ended, so that a line
// typed at the console is handled as soon as it arrives.
bool LettoreRighe::riempi() {
    std::streambuf* sorgente = in_.rdbuf();
    if (sorgente == nullptr) {
        in_.setstate(std::ios::badbit);
        return false;
    }
    try {
        if (std::streambuf::traits_type::eq_int_type(sorgente->sgetc(),
                                                     std::streambuf::traits_type::eof())) {
            finito_ = true;
            in_.setstate(std::ios::eofbit);
            return true;
        }
        const auto pronti =
            static_cast<std::size_t>(std::max<std::streamsize>(sorgente->in_avail(), 1));
        const auto spazio = buffer_.size() - fine_;
        const auto letti = sorgente->sgetn(buffer_.data() + fine_,
                                           static_cast<std::streamsize>(std::min(pronti, spazio)));
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
