#pragma once
// Where bytes come from: a file, the console, or in a test a string. The line reader reads
// any of them through this one small interface.

#include <algorithm>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "comune/esito.hpp"

namespace turnolista {

class Sorgente {
  public:
    // Reads into `dove` at least one byte unless the data has ended: how many, 0 at the
    // end, or why reading failed.
    virtual Risultato<std::size_t> leggi(std::span<char> dove) = 0;

  protected:
    Sorgente() = default;
    Sorgente(const Sorgente&) = default;
    Sorgente& operator=(const Sorgente&) = default;
    ~Sorgente() = default;
};

// Bytes held in memory, handed out at most `pezzo` at a time, as a pipe hands them out.
class SorgenteTesto final : public Sorgente {
  public:
    explicit SorgenteTesto(std::string testo, std::size_t pezzo = SIZE_MAX)
        : testo_(std::move(testo)), pezzo_(pezzo) {}

    Risultato<std::size_t> leggi(std::span<char> dove) override {
        const std::size_t n = std::min({dove.size(), pezzo_, testo_.size() - letti_});
        std::copy_n(testo_.data() + letti_, n, dove.data());
        letti_ += n;
        return n;
    }

    // How many bytes have been handed out.
    std::size_t letti() const { return letti_; }

  private:
    std::string testo_;
    std::size_t pezzo_;
    std::size_t letti_ = 0;
};

}  // namespace turnolista
