#pragma once
// Reading and writing a descriptor, as the system does it; used by the stream buffers and
// by nothing outside src/sistema/.

#include <cstddef>

namespace turnolista::sistema {

// Reads at most `quanti` bytes: how many, 0 at the end of the data, or -1 with the reason
// (an errno value) in `causa`.
std::ptrdiff_t leggi(int fd, char* dove, std::size_t quanti, int& causa);

// Writes all of `dati`, however many calls it takes; false with the reason in `causa`.
bool scrivi(int fd, const char* dati, std::size_t quanti, int& causa);

}  // namespace turnolista::sistema
