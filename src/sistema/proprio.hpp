#pragma once
// What the sources of src/sistema/ share: files and streams as the system holds them, read
// and written alike, why they fail, names in UTF-8, and the hidden files a signal removes.

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <array>
#include <filesystem>
#include <mutex>
#include <utility>

#include "sistema/sistema.hpp"

namespace turnolista::sistema {

namespace fs = std::filesystem;

#ifdef _WIN32
using Nativo = HANDLE;
inline const Nativo NESSUNO = INVALID_HANDLE_VALUE;
// Every file the program opens is shared with other programs in every way, as elsewhere.
inline constexpr DWORD CONDIVISO = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
#else
using Nativo = int;
inline const Nativo NESSUNO = -1;
#endif

struct Aperto {
    explicit Aperto(Nativo aperto) : h(aperto) {}
    ~Aperto() {
        if (h != NESSUNO) {
            chiudi();
        }
    }
    Aperto(const Aperto&) = delete;
    Aperto& operator=(const Aperto&) = delete;
    explicit operator bool() const { return h != NESSUNO; }
    bool chiudi() {
#ifdef _WIN32
        return ::CloseHandle(std::exchange(h, NESSUNO)) != 0;
#else
        return ::close(std::exchange(h, NESSUNO)) == 0;
#endif
    }

    Nativo h;
};

// One read: how many bytes, 0 at the data's end (a pipe's writer gone too), -1 on failure.
inline std::ptrdiff_t leggi(Nativo da, std::span<char> dove) {
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

inline bool scrivi_tutto(Nativo su, std::string_view testo) {
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

// The last call's failure with a file or a stream, as an errno value on every system; on
// Windows a file another program holds open (Excel, Word) is said so: the user can close it.
inline Esito fallito(const Oggetto& oggetto, bool in_lettura = false) {
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
    const auto* trovata = std::ranges::find(CAUSE, errore, &std::pair<DWORD, int>::first);
    const int causa = trovata != CAUSE.end() ? trovata->second : EIO;
#else
    const int causa = errno;
#endif
    return Esito::del_sistema(oggetto, causa, in_lettura);
}

// What stands where a regular file should: a folder, a pipe, a socket or a device.
inline Esito non_regolare(const Oggetto& oggetto, fs::file_type tipo, bool in_lettura) {
    if (tipo == fs::file_type::directory) {
        return Esito::del_sistema(oggetto, EISDIR, in_lettura);
    }
    return {.tipo = Esito::Tipo::non_regolare,
            .oggetto = oggetto,
            .in_lettura = in_lettura,
            .natura = tipo};
}

// A name in UTF-8 as a path: made from a narrow string, Windows would read the ANSI code page.
inline fs::path percorso(std::string_view nome) {
    return std::u8string(nome.begin(), nome.end());
}

#ifdef _WIN32
// Windows' UTF-16 made narrow, at most four bytes a unit: U+FFFD for a unit that is no valid
// UTF-16 in UTF-8, '?' for a character another code page lacks (no "best fit" makes it
// another). An empty text makes the call fail and give 0: an empty result.
inline std::string stretto(std::wstring_view testo, UINT pagina = CP_UTF8) {
    std::string risultato(testo.size() * 4, '\0');
    risultato.resize(static_cast<std::size_t>(
        ::WideCharToMultiByte(pagina, pagina == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS, testo.data(),
                              static_cast<int>(testo.size()), risultato.data(),
                              static_cast<int>(risultato.size()), nullptr, nullptr)));
    return risultato;
}
#endif

// A path the system gave, in UTF-8: the way back from percorso().
inline std::string nome_utf8(const fs::path& percorso) {
#ifdef _WIN32
    return stretto(percorso.native());
#else
    return percorso.native();
#endif
}

// Removes this run's hidden files not yet in place (file.cpp), each forgotten once gone, so
// that a signal meanwhile removes it again.
void togli_nascosti();

// Held while a hidden file is made, or renamed and forgotten, so that a signal does not end
// either half-way. On Windows the handler runs beside the program, takes this lock and never
// gives it back; elsewhere it interrupts the program between two calls, each step one call.
extern std::mutex serratura;

}  // namespace turnolista::sistema
