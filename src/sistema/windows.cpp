#include "sistema/windows.hpp"

#include <algorithm>
#include <array>
#include <cerrno>
#include <utility>

namespace turnolista::sistema::windows {

int errno_da(DWORD errore) {
    // The errors a user of the program can meet; any other is a failure of the device.
    // clang-format off
    static constexpr std::array<std::pair<DWORD, int>, 16> CAUSE{{
        {ERROR_FILE_NOT_FOUND, ENOENT}, {ERROR_PATH_NOT_FOUND, ENOENT},
        {ERROR_INVALID_NAME, ENOENT}, {ERROR_BAD_NETPATH, ENOENT},
        {ERROR_ACCESS_DENIED, EACCES}, {ERROR_SHARING_VIOLATION, EACCES},
        {ERROR_LOCK_VIOLATION, EACCES}, {ERROR_WRITE_PROTECT, EROFS},
        {ERROR_INVALID_HANDLE, EBADF}, {ERROR_DISK_FULL, ENOSPC},
        {ERROR_HANDLE_DISK_FULL, ENOSPC}, {ERROR_FILE_EXISTS, EEXIST},
        {ERROR_ALREADY_EXISTS, EEXIST}, {ERROR_BROKEN_PIPE, EPIPE},
        {ERROR_NO_DATA, EPIPE}, {ERROR_FILENAME_EXCED_RANGE, ENAMETOOLONG},
    }};
    // clang-format on
    const auto* causa = std::find_if(CAUSE.begin(), CAUSE.end(),
                                     [&](const auto& voce) { return voce.first == errore; });
    return causa != CAUSE.end() ? causa->second : EIO;
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

std::string stretto(std::wstring_view nome, UINT pagina) {
    if (nome.empty()) {
        return {};
    }
    const int n = static_cast<int>(nome.size());
    // No "best fit": a letter the code page lacks is not made another.
    const DWORD modo = pagina == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int lunghezza =
        ::WideCharToMultiByte(pagina, modo, nome.data(), n, nullptr, 0, nullptr, nullptr);
    std::string risultato(static_cast<std::size_t>(lunghezza), '\0');
    ::WideCharToMultiByte(pagina, modo, nome.data(), n, risultato.data(), lunghezza, nullptr,
                          nullptr);
    return risultato;
}

}  // namespace turnolista::sistema::windows
