#pragma once
// A byte source over a string, for the tests: the line reader, the search and the dialogue
// read it as they read a file or the console.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "comune/sorgente.hpp"

namespace turnolista {

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
