#pragma once
// Writing text to a stream as one block, straight to its buffer: a pass writes many short
// pieces, and each formatted write would build and check a sentry for nothing.

#include <ostream>
#include <string_view>

namespace turnolista {

// A failure sets the stream's badbit, as ostream::write would.
inline void scrivi(std::ostream& uscita, std::string_view testo) {
    const auto quanti = static_cast<std::streamsize>(testo.size());
    if (uscita.rdbuf()->sputn(testo.data(), quanti) != quanti) {
        uscita.setstate(std::ios::badbit);
    }
}

}  // namespace turnolista
