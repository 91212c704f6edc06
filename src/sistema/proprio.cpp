#include "sistema/proprio.hpp"

#include <algorithm>
#include <cerrno>
#include <utility>

namespace turnolista::sistema {

bool Aperto::chiudi() {
#ifdef _WIN32
    return ::CloseHandle(std::exchange(h, NESSUNO)) != 0;
#else
    return ::close(std::exchange(h, NESSUNO)) == 0;
#endif
}

std::ptrdiff_t leggi(Nativo da, std::span<char> dove) {
#ifdef _WIN32
    DWORD letti = 0;
    if (::ReadFile(da, dove.data(), static_cast<DWORD>(dove.size()), &letti, nullptr) != 0) {
        return letti;
    }
    const DWORD errore = ::GetLastError();
    return errore == ERROR_BROKEN_PIPE || errore == ERROR_HANDLE_EOF ? 0 : -1;
#else
    // No handler of the program returns (standard.cpp), so no call is interrupted.
    return ::read(da, dove.data(), dove.size());
#endif
}

bool scrivi_tutto(Nativo su, std::string_view testo) {
    while (!testo.empty()) {
#ifdef _WIN32
        DWORD scritti = 0;
        const auto quanti = static_cast<DWORD>(std::min<std::size_t>(testo.size(), 1U << 30));
        if (::WriteFile(su, testo.data(), quanti, &scritti, nullptr) == 0) {
            return false;
        }
#else
        const ssize_t scritti = ::write(su, testo.data(), testo.size());
        if (scritti <= 0) {
            errno = scritti < 0 ? errno : EIO;
            return false;
        }
#endif
        testo.remove_prefix(static_cast<std::size_t>(scritti));
    }
    return true;
}

Esito fallito(const Oggetto& oggetto, bool in_lettura) {
#ifdef _WIN32
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
    const DWORD errore = ::GetLastError();
    if (oggetto.tipo == Oggetto::Tipo::file &&
        (errore == ERROR_SHARING_VIOLATION || errore == ERROR_LOCK_VIOLATION ||
         errore == ERROR_UNABLE_TO_REMOVE_REPLACED || errore == ERROR_USER_MAPPED_FILE)) {
        return {.tipo = Esito::Tipo::aperto_altrove, .oggetto = oggetto, .in_lettura = in_lettura};
    }
    const auto* trovata = std::find_if(CAUSE.begin(), CAUSE.end(),
                                       [&](const auto& voce) { return voce.first == errore; });
    const int causa = trovata != CAUSE.end() ? trovata->second : EIO;
#else
    const int causa = errno;
#endif
    return in_lettura ? Esito::lettura(oggetto, causa) : Esito::scrittura(oggetto, causa);
}

Esito non_regolare(const Oggetto& oggetto, std::filesystem::file_type tipo, bool in_lettura) {
    using enum std::filesystem::file_type;
    if (tipo == directory) {
        return in_lettura ? Esito::lettura(oggetto, EISDIR) : Esito::scrittura(oggetto, EISDIR);
    }
    return {.tipo = Esito::Tipo::non_regolare,
            .oggetto = oggetto,
            .in_lettura = in_lettura,
            .natura = tipo == fifo     ? Natura::fifo
                      : tipo == socket ? Natura::socket
                                       : Natura::dispositivo};
}

#ifdef _WIN32
// An empty text makes the call fail and give 0: an empty result.
std::string stretto(std::wstring_view testo, UINT pagina) {
    // No code page takes more than four bytes for a UTF-16 unit. No "best fit": a letter the
    // code page lacks is not made another.
    std::string risultato(testo.size() * 4, '\0');
    risultato.resize(static_cast<std::size_t>(
        ::WideCharToMultiByte(pagina, pagina == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS, testo.data(),
                              static_cast<int>(testo.size()), risultato.data(),
                              static_cast<int>(risultato.size()), nullptr, nullptr)));
    return risultato;
}
#endif

}  // namespace turnolista::sistema
