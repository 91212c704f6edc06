#pragma once
// Line ends in text files. The program works with LF alone; a Windows text file stores
// each LF as CR LF.

#include <cstddef>
#include <string_view>

namespace turnolista {

enum class FineRiga { lf, crlf };

// Copies `testo` to `a` with each LF made CR LF; `a` has room for twice `testo`. Returns
// how many bytes were written.
std::size_t metti_cr(std::string_view testo, char* a);

}  // namespace turnolista
