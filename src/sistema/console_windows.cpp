#include <cerrno>

#include "sistema/console.hpp"
#include "sistema/windows.hpp"

namespace turnolista {

namespace {

// 0 for a standard stream the program has; EBADF for one it was started without.
int stato_di(int fd) {
    return windows::maniglia(fd) == INVALID_HANDLE_VALUE ? EBADF : 0;
}

}  // namespace

// On a console the messages go as wide characters, so they show their accented letters
// whatever the console's code page; redirected, they are the bytes of the messages in
// ISO-8859-1, which the Windows ANSI code page shows the same.
ConsoleStandard::ConsoleStandard()
    : tastiera_(0, stato_di(0)),
      schermo_(1, stato_di(1)),
      errori_(2, stato_di(2)),
      in_(&tastiera_),
      out_(&schermo_),
      err_(&errori_),
      console_{.in = in_,
               .out = out_,
               .err = err_,
               .utf8 = windows::console(windows::maniglia(1)),
               .causa_in = [this] { return tastiera_.errore(); },
               .causa_out = [this] { return schermo_.errore(); },
               .restituisci =
                   [this](std::size_t non_usati) {
                       // Only a file can go back; a pipe or the console cannot.
                       const HANDLE h = windows::maniglia(0);
                       const auto indietro = tastiera_.da_restituire(non_usati);
                       if (indietro > 0 && h != INVALID_HANDLE_VALUE &&
                           ::GetFileType(h) == FILE_TYPE_DISK) {
                           LARGE_INTEGER passo;
                           passo.QuadPart = -static_cast<LONGLONG>(indietro);
                           ::SetFilePointerEx(h, passo, nullptr, FILE_CURRENT);
                       }
                   }} {}

}  // namespace turnolista
