#pragma once
// Line ends in text files. The program works with LF alone; a Windows text file stores
// each LF as CR LF. These turn one form into the other, a block at a time.

#include <cstddef>
#include <string_view>

namespace turnolista {

enum class FineRiga { lf, crlf };

// Copies `grezzo` to `a` with each CR LF made LF; a CR not followed by LF stays. The
// caller holds back a CR that ends a block until it knows what follows. Returns how many
// bytes were written; `a` may be `grezzo.data()` itself.
std::size_t togli_cr(std::string_view grezzo, char* a);

// Copies `testo` to `a` with each LF made CR LF; `a` has room for twice `testo`. Returns
// how many bytes were written.
std::size_t metti_cr(std::string_view testo, char* a);

// How many bytes at the end of `grezzo` became its last `tradotti` bytes after togli_cr:
// what to step back in the file to stand before them.
std::size_t grezzi_in_coda(std::string_view grezzo, std::size_t tradotti);

}  // namespace turnolista
