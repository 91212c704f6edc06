#include "sistema/windows.hpp"

#include <cerrno>

namespace turnolista::sistema::windows {

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
    const int lunghezza = ::MultiByteToWideChar(CP_UTF8, 0, nome.data(), n, nullptr, 0);
    std::wstring risultato(static_cast<std::size_t>(lunghezza), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, nome.data(), n, risultato.data(), lunghezza);
    return risultato;
}

std::string stretto(std::wstring_view nome) {
    if (nome.empty()) {
        return {};
    }
    const int n = static_cast<int>(nome.size());
    const int lunghezza =
        ::WideCharToMultiByte(CP_UTF8, 0, nome.data(), n, nullptr, 0, nullptr, nullptr);
    std::string risultato(static_cast<std::size_t>(lunghezza), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, nome.data(), n, risultato.data(), lunghezza, nullptr,
                          nullptr);
    return risultato;
}

Esito esito_scrittura(const Oggetto& oggetto, DWORD errore) {
    if (errore == ERROR_SHARING_VIOLATION || errore == ERROR_LOCK_VIOLATION ||
        errore == ERROR_UNABLE_TO_REMOVE_REPLACED || errore == ERROR_USER_MAPPED_FILE) {
        return Esito::aperto_altrove(oggetto.nome, false);
    }
    return Esito::scrittura(oggetto, errno_da(errore));
}

std::wstring completo(const wchar_t* nome) {
    std::wstring percorso(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            ::GetFullPathNameW(nome, static_cast<DWORD>(percorso.size()), percorso.data(), nullptr);
        if (n == 0) {
            return nome;
        }
        if (n < percorso.size()) {
            percorso.resize(n);
            return percorso;
        }
        percorso.resize(n);
    }
}

}  // namespace turnolista::sistema::windows
