#include <cerrno>

#include "sistema/standard.hpp"
#include "sistema/windows.hpp"

namespace turnolista::sistema {

int stato_standard(int fd) {
    return windows::maniglia(fd) == INVALID_HANDLE_VALUE ? EBADF : 0;
}

// On a console the messages go as wide characters, so they show their accented letters
// whatever the console's code page; redirected, they are the bytes of the messages in
// ISO-8859-1, which the Windows ANSI code page shows the same.
bool console_utf8() {
    return windows::console(windows::maniglia(1));
}

// Only a file can go back; a pipe or the console cannot.
void torna_indietro(std::size_t quanti) {
    const HANDLE h = windows::maniglia(0);
    if (h != INVALID_HANDLE_VALUE && ::GetFileType(h) == FILE_TYPE_DISK) {
        LARGE_INTEGER passo;
        passo.QuadPart = -static_cast<LONGLONG>(quanti);
        ::SetFilePointerEx(h, passo, nullptr, FILE_CURRENT);
    }
}

}  // namespace turnolista::sistema
