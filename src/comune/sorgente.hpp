#pragma once
// Where bytes come from: a file, the console, or in a test a string. The line reader reads
// any of them through this one small interface.

#include <cstddef>
#include <span>

#include "comune/esito.hpp"

namespace turnolista {

class Sorgente {
  public:
    // Reads into `dove` at least one byte unless the data has ended: how many, 0 at the
    // end, or why reading failed.
    [[nodiscard]] virtual Risultato<std::size_t> leggi(std::span<char> dove) = 0;

  protected:
    Sorgente() = default;
    Sorgente(const Sorgente&) = default;
    Sorgente& operator=(const Sorgente&) = default;
    ~Sorgente() = default;
};

}  // namespace turnolista
