#pragma once
// What each system tells about the process's standard streams, for the console built over
// them; nothing outside src/sistema/ includes this header.

#include <cstddef>

namespace turnolista::sistema {

// 0 for a standard stream the program was started with; EBADF for one it was started
// without, whose number is then kept from the next file the program opens.
int stato_standard(int fd);

// Whether the console shows UTF-8, rather than ISO-8859-1 bytes.
bool console_utf8();

// Steps standard input back by `quanti` bytes, where it can go back.
void torna_indietro(std::size_t quanti);

}  // namespace turnolista::sistema
