#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <string>
#include <vector>

#include "comune/codifica.hpp"
#include "sistema/standard.hpp"
#include "sistema/windows.hpp"

#include <shellapi.h>

namespace turnolista::sistema {

namespace {

bool e_console(HANDLE h) {
    DWORD modo = 0;
    return h != nullptr && h != INVALID_HANDLE_VALUE && ::GetConsoleMode(h, &modo) != 0;
}

// A standard stream: a file or a pipe by its bytes, or a console, which takes and gives text
// in UTF-16 whatever its code page (the program hands it UTF-8 and gets UTF-8 back). Lines
// end in CR LF, as a Windows text-mode program writes them.
class Standard final : public Canale {
  public:
    Standard(HANDLE h, Oggetto oggetto)
        : h_(h), oggetto_(std::move(oggetto)), console_(e_console(h)) {}

    Risultato<std::size_t> leggi(std::span<char> dove) override {
        DWORD letti = 0;
        if (!console_) {
            if (::ReadFile(h_, dove.data(),
                           static_cast<DWORD>(std::min<std::size_t>(dove.size(), INT_MAX)), &letti,
                           nullptr) != 0) {
                return std::size_t{letti};
            }
            const DWORD errore = ::GetLastError();
            // The writer of a pipe has closed it: the data has ended.
            if (errore == ERROR_BROKEN_PIPE || errore == ERROR_HANDLE_EOF) {
                return std::size_t{0};
            }
            return Esito::lettura(oggetto_, windows::errno_da(errore));
        }
        // Three UTF-8 bytes at most for each UTF-16 unit; a pair is never cut.
        std::vector<wchar_t> largo(std::max<std::size_t>(dove.size() / 3, 2));
        for (;;) {
            if (::ReadConsoleW(h_, largo.data(), static_cast<DWORD>(largo.size() - 1), &letti,
                               nullptr) == 0) {
                return Esito::lettura(oggetto_, windows::errno_da(::GetLastError()));
            }
            if (letti > 0 && IS_HIGH_SURROGATE(largo[letti - 1])) {
                DWORD altro = 0;
                ::ReadConsoleW(h_, largo.data() + letti, 1, &altro, nullptr);
                letti += altro;
            }
            if (letti != 0 || ::GetLastError() != ERROR_OPERATION_ABORTED) {
                break;
            }
            // Ctrl-C: its handler, on another thread, is about to end the program.
            ::Sleep(1000);
        }
        // Ctrl-Z at the start of a line ends the input, as in any Windows console program.
        if (letti == 0 || largo[0] == L'\x1A') {
            return std::size_t{0};
        }
        const int scritti = ::WideCharToMultiByte(
            CP_UTF8, 0, largo.data(), static_cast<int>(letti), dove.data(),
            static_cast<int>(std::min<std::size_t>(dove.size(), INT_MAX)), nullptr, nullptr);
        if (scritti <= 0) {
            return Esito::lettura(oggetto_, windows::errno_da(::GetLastError()));
        }
        return static_cast<std::size_t>(scritti);
    }

    Esito scrivi(std::string_view testo) override {
        if (h_ == nullptr || h_ == INVALID_HANDLE_VALUE) {
            return Esito::scrittura(oggetto_, EBADF);
        }
        const std::string righe = con_fine_riga(std::string(testo), FineRiga::crlf);
        if (console_) {
            const std::wstring largo = windows::largo(righe);
            for (std::size_t fatti = 0; fatti < largo.size();) {
                DWORD scritti = 0;
                const auto resto =
                    static_cast<DWORD>(std::min<std::size_t>(largo.size() - fatti, 16384));
                if (::WriteConsoleW(h_, largo.data() + fatti, resto, &scritti, nullptr) == 0) {
                    return Esito::scrittura(oggetto_, windows::errno_da(::GetLastError()));
                }
                fatti += scritti;
            }
            return {};
        }
        // A file or a pipe takes the ANSI code page's bytes, as Notepad and the console's
        // own programs read them.
        const std::string byte = windows::stretto(windows::largo(righe), ::GetACP());
        for (std::string_view resto = byte; !resto.empty();) {
            DWORD scritti = 0;
            if (::WriteFile(h_, resto.data(),
                            static_cast<DWORD>(std::min<std::size_t>(resto.size(), INT_MAX)),
                            &scritti, nullptr) == 0) {
                return Esito::scrittura(oggetto_, windows::errno_da(::GetLastError()));
            }
            resto.remove_prefix(scritti);
        }
        return {};
    }

  private:
    HANDLE h_;
    Oggetto oggetto_;
    bool console_;
};

HANDLE maniglia(DWORD quale) {
    const HANDLE h = ::GetStdHandle(quale);
    return h == nullptr ? INVALID_HANDLE_VALUE : h;
}

}  // namespace

// The messages come in UTF-8 to every stream: on a console they go as wide characters, so
// they show their accented letters whatever the console's code page; redirected, in the
// ANSI code page ('?' for a character it cannot hold). Started from Explorer, the
// program is the only one attached to its console; started from a console, that console's
// own shell is attached too.
Console& console_standard() {
    static std::array<Standard, 3> tre{
        Standard(maniglia(STD_INPUT_HANDLE), Oggetto::standard(Oggetto::Tipo::standard_input)),
        Standard(maniglia(STD_OUTPUT_HANDLE), Oggetto::standard(Oggetto::Tipo::standard_output)),
        Standard(maniglia(STD_ERROR_HANDLE), Oggetto::standard(Oggetto::Tipo::standard_error))};
    std::array<DWORD, 2> processi{};
    static Console console{
        .in = tre[0],
        .out = tre[1],
        .err = tre[2],
        .utf8 = true,
        .utf8_err = true,
        .abitudini_windows = true,
        .in_terminale = e_console(maniglia(STD_INPUT_HANDLE)),
        .finestra_propria =
            ::GetConsoleProcessList(processi.data(), static_cast<DWORD>(processi.size())) == 1};
    return console;
}

// main() has them in the ANSI code page, where a Cyrillic or Chinese folder's letters are
// already "?"; the system's own copy is whole.
std::vector<std::string> argomenti(int /*argc*/, char** /*argv*/) {
    std::vector<std::string> dati;
    int quanti = 0;
    wchar_t** largo = ::CommandLineToArgvW(::GetCommandLineW(), &quanti);
    for (int i = 1; largo != nullptr && i < quanti; ++i) {
        dati.push_back(windows::stretto(largo[i]));
    }
    ::LocalFree(largo);
    return dati;
}

}  // namespace turnolista::sistema
