#include "comune/lettore.hpp"

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

// One byte past the limit tells that a line is too long, and a CR may stand before its LF.
LettoreRighe::LettoreRighe(Sorgente& sorgente, Oggetto oggetto, std::size_t limite, Lunghe lunghe)
    : sorgente_(sorgente),
      oggetto_(std::move(oggetto)),
      limite_(limite),
      buffer_(std::make_unique_for_overwrite<char[]>(std::min(BLOCCO, limite + 2))),
      capienza_(std::min(BLOCCO, limite + 2)),
      lunghe_(lunghe) {}

// Passes over what is left of a line cut short, up to and with its newline.
Risultato<bool> LettoreRighe::salta_resto() {
    while (da_saltare_) {
        const char* base = buffer_.get();
        if (const void* a_capo = std::memchr(base + inizio_, '\n', fine_ - inizio_)) {
            inizio_ = static_cast<std::size_t>(static_cast<const char*>(a_capo) - base) + 1;
            da_saltare_ = false;
        } else if (finito_) {
            inizio_ = fine_;
            da_saltare_ = false;
        } else {
            inizio_ = fine_ = 0;
            if (auto errore = riempi()) {
                return *std::move(errore);
            }
        }
    }
    return true;
}

Risultato<std::optional<std::string_view>> LettoreRighe::leggi() {
    if (da_saltare_) {
        if (const auto saltato = salta_resto(); !saltato) {
            return saltato.errore();
        }
    }
    const bool tronca = lunghe_ == Lunghe::tronca;
    std::size_t cerca_da = inizio_;
    for (;;) {
        const char* base = buffer_.get();
        if (const void* a_capo = std::memchr(base + cerca_da, '\n', fine_ - cerca_da)) {
            const auto fine_riga =
                static_cast<std::size_t>(static_cast<const char*>(a_capo) - base);
            if (lunghezza(fine_riga) > limite_ && !tronca) {
                break;
            }
            return std::optional(consegna(fine_riga, fine_riga + 1, true));
        }
        if (lunghezza(fine_) > limite_) {
            if (!tronca) {
                break;
            }
            return std::optional(consegna(fine_, fine_, false));
        }
        if (finito_) {
            if (inizio_ == fine_) {
                return std::optional<std::string_view>();
            }
            return std::optional(consegna(fine_, fine_, true));
        }
        cerca_da = fine_ - inizio_;
        compatta();
        if (fine_ == capienza_) {
            cresci();
        }
        if (auto errore = riempi()) {
            return *std::move(errore);
        }
    }
    finito_ = true;
    inizio_ = fine_;
    return Esito::riga_troppo_lunga(oggetto_, righe_ + 1);
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
    const std::size_t nuova = std::min(capienza_ + std::min(capienza_, PASSO_MASSIMO), limite_ + 2);
    auto piu_grande = std::make_unique_for_overwrite<char[]>(nuova);
    std::memcpy(piu_grande.get(), buffer_.get(), fine_);
    buffer_ = std::move(piu_grande);
    capienza_ = nuova;
}

// Reads what the source has at hand into the room after the data; nullopt when it went well.
std::optional<Esito> LettoreRighe::riempi() {
    const auto letti = sorgente_.leggi({buffer_.get() + fine_, capienza_ - fine_});
    if (!letti) {
        finito_ = true;
        return letti.errore();
    }
    finito_ = *letti == 0;
    fine_ += *letti;
    return std::nullopt;
}

}  // namespace turnolista
