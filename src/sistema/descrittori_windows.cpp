#include <io.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <vector>

#include "sistema/descrittori.hpp"
#include "sistema/flussi.hpp"
#include "sistema/windows.hpp"

namespace turnolista {

FineRiga fine_riga_del_sistema() {
    return FineRiga::crlf;
}

namespace windows {

HANDLE maniglia(int fd) {
    const intptr_t h = ::_get_osfhandle(fd);
    // -2 is a standard stream of a program started without one.
    if (h == -1 || h == -2 || h == 0) {
        return INVALID_HANDLE_VALUE;
    }
    // The runtime gives the handle as an integer.
    return reinterpret_cast<HANDLE>(h);  // NOLINT(performance-no-int-to-ptr)
}

bool console(HANDLE h) {
    DWORD modo = 0;
    return h != INVALID_HANDLE_VALUE && ::GetConsoleMode(h, &modo) != 0;
}

int errno_da(DWORD errore) {
    switch (errore) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_BAD_NETPATH:
        case ERROR_INVALID_DRIVE:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_NETWORK_ACCESS_DENIED:
        case ERROR_CANNOT_MAKE:
        case ERROR_CURRENT_DIRECTORY:
        case ERROR_PRIVILEGE_NOT_HELD:
        case ERROR_UNABLE_TO_REMOVE_REPLACED:
            return EACCES;
        case ERROR_WRITE_PROTECT:
            return EROFS;
        case ERROR_INVALID_HANDLE:
            return EBADF;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return ENOMEM;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_BROKEN_PIPE:
        case ERROR_NO_DATA:
            return EPIPE;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        case ERROR_DIRECTORY:
            return ENOTDIR;
        case ERROR_TOO_MANY_OPEN_FILES:
            return EMFILE;
        case ERROR_INVALID_PARAMETER:
            return EINVAL;
        case ERROR_NOT_SAME_DEVICE:
            return EXDEV;
        case ERROR_FILE_TOO_LARGE:
            return EFBIG;
        case ERROR_WAIT_NO_CHILDREN:
        case ERROR_TIMEOUT:
            return EAGAIN;
        default:
            return EIO;
    }
}

std::wstring largo(std::string_view nome) {
    if (nome.empty()) {
        return {};
    }
    const int n = static_cast<int>(nome.size());
    const int lunghezza = ::MultiByteToWideChar(CP_ACP, 0, nome.data(), n, nullptr, 0);
    std::wstring risultato(static_cast<std::size_t>(lunghezza), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, nome.data(), n, risultato.data(), lunghezza);
    return risultato;
}

}  // namespace windows

namespace {

using windows::errno_ultimo;

// Text typed at the console arrives in UTF-16 and is handed on in UTF-8; a surrogate that
// ends one read waits for its pair.
wchar_t surrogato_in_sospeso = 0;

std::ptrdiff_t leggi_console(HANDLE h, char* dove, std::size_t quanti, int& causa) {
    // Three UTF-8 bytes at most for each UTF-16 unit.
    const std::size_t al_piu = std::max<std::size_t>(quanti / 3, 2);
    std::vector<wchar_t> largo(al_piu);
    for (;;) {
        std::size_t inizio = 0;
        if (surrogato_in_sospeso != 0) {
            largo[inizio++] = surrogato_in_sospeso;
            surrogato_in_sospeso = 0;
        }
        DWORD letti = 0;
        if (::ReadConsoleW(h, largo.data() + inizio, static_cast<DWORD>(al_piu - inizio), &letti,
                           nullptr) == 0) {
            causa = errno_ultimo();
            return -1;
        }
        if (letti == 0 && ::GetLastError() == ERROR_OPERATION_ABORTED) {
            // Ctrl-C: its handler, on another thread, is about to end the program.
            ::Sleep(1000);
            continue;
        }
        std::size_t n = inizio + letti;
        if (n == 0) {
            return 0;
        }
        if (n > 1 && IS_HIGH_SURROGATE(largo[n - 1])) {
            surrogato_in_sospeso = largo[--n];
        }
        // Ctrl-Z at the start of a line ends the input, as in any Windows console program.
        if (largo[0] == L'\x1A') {
            return 0;
        }
        const int scritti = ::WideCharToMultiByte(
            CP_UTF8, 0, largo.data(), static_cast<int>(n), dove,
            static_cast<int>(std::min<std::size_t>(quanti, INT_MAX)), nullptr, nullptr);
        if (scritti <= 0) {
            causa = errno_ultimo();
            return -1;
        }
        return scritti;
    }
}

// How much of `dati` is whole UTF-8 sequences: a sequence cut at the end waits for the
// next write.
std::size_t sequenze_intere(const char* dati, std::size_t quanti) {
    for (std::size_t indietro = 1; indietro <= 3 && indietro <= quanti; ++indietro) {
        const auto c = static_cast<unsigned char>(dati[quanti - indietro]);
        if ((c & 0xC0) == 0x80) {
            continue;  // a continuation byte: look further back
        }
        const std::size_t lunghezza = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return lunghezza > indietro ? quanti - indietro : quanti;
    }
    return quanti;
}

// The program's messages are in UTF-8 for a console; text that is not UTF-8 is shown as
// ISO-8859-1, the character set of the messages elsewhere.
std::wstring da_mostrare(const char* dati, std::size_t quanti) {
    const int n = static_cast<int>(quanti);
    UINT pagina = CP_UTF8;
    int lunghezza = ::MultiByteToWideChar(pagina, MB_ERR_INVALID_CHARS, dati, n, nullptr, 0);
    if (lunghezza == 0) {
        pagina = 28591;
        lunghezza = ::MultiByteToWideChar(pagina, 0, dati, n, nullptr, 0);
    }
    std::wstring largo(static_cast<std::size_t>(lunghezza), L'\0');
    ::MultiByteToWideChar(pagina, 0, dati, n, largo.data(), lunghezza);
    return largo;
}

// The cut sequence that waits for the next write, for each standard stream; the program
// writes to a console through no other descriptor.
std::array<std::string, 3> in_sospeso_per_console;

bool scrivi_console(int fd, HANDLE h, const char* dati, std::size_t quanti, int& causa) {
    std::string altrove;
    std::string* const in_sospeso =
        fd >= 0 && fd < 3 ? &in_sospeso_per_console[static_cast<std::size_t>(fd)] : &altrove;
    std::string testo = std::move(*in_sospeso);
    testo.append(dati, quanti);
    const std::size_t interi = sequenze_intere(testo.data(), testo.size());
    *in_sospeso = testo.substr(interi);
    const std::wstring largo = da_mostrare(testo.data(), interi);
    for (std::size_t fatti = 0; fatti < largo.size();) {
        DWORD scritti = 0;
        const auto resto = static_cast<DWORD>(std::min<std::size_t>(largo.size() - fatti, 16384));
        if (::WriteConsoleW(h, largo.data() + fatti, resto, &scritti, nullptr) == 0) {
            causa = errno_ultimo();
            return false;
        }
        fatti += scritti;
    }
    return true;
}

}  // namespace

namespace sistema {

std::ptrdiff_t leggi(int fd, char* dove, std::size_t quanti, int& causa) {
    const HANDLE h = windows::maniglia(fd);
    if (h == INVALID_HANDLE_VALUE) {
        causa = EBADF;
        return -1;
    }
    if (windows::console(h)) {
        return leggi_console(h, dove, quanti, causa);
    }
    DWORD letti = 0;
    const auto al_piu = static_cast<DWORD>(std::min<std::size_t>(quanti, 1u << 30));
    if (::ReadFile(h, dove, al_piu, &letti, nullptr) == 0) {
        const DWORD errore = ::GetLastError();
        // The writer of a pipe has closed it: the data has ended.
        if (errore == ERROR_BROKEN_PIPE || errore == ERROR_HANDLE_EOF) {
            return 0;
        }
        causa = windows::errno_da(errore);
        return -1;
    }
    return static_cast<std::ptrdiff_t>(letti);
}

bool scrivi(int fd, const char* dati, std::size_t quanti, int& causa) {
    const HANDLE h = windows::maniglia(fd);
    if (h == INVALID_HANDLE_VALUE) {
        causa = EBADF;
        return false;
    }
    if (windows::console(h)) {
        return scrivi_console(fd, h, dati, quanti, causa);
    }
    while (quanti > 0) {
        DWORD scritti = 0;
        const auto pezzo = static_cast<DWORD>(std::min<std::size_t>(quanti, 1u << 30));
        if (::WriteFile(h, dati, pezzo, &scritti, nullptr) == 0) {
            causa = errno_ultimo();
            return false;
        }
        dati += scritti;
        quanti -= scritti;
    }
    return true;
}

}  // namespace sistema
}  // namespace turnolista
