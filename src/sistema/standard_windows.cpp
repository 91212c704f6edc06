#include <algorithm>
#include <array>
#include <climits>
#include <string>
#include <vector>

#include "sistema/standard.hpp"
#include "sistema/windows.hpp"

#include <shellapi.h>

namespace turnolista::sistema {

namespace {

bool e_console(HANDLE h) {
    DWORD modo = 0;
    return h != nullptr && h != INVALID_HANDLE_VALUE && ::GetConsoleMode(h, &modo) != 0;
}

// How much of `dati` is whole UTF-8 sequences: a sequence cut at the end waits for the
// next write.
std::size_t sequenze_intere(std::string_view dati) {
    for (std::size_t indietro = 1; indietro <= 3 && indietro <= dati.size(); ++indietro) {
        const auto c = static_cast<unsigned char>(dati[dati.size() - indietro]);
        if ((c & 0xC0) == 0x80) {
            continue;  // a continuation byte: look further back
        }
        const std::size_t lunghezza = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return lunghezza > indietro ? dati.size() - indietro : dati.size();
    }
    return dati.size();
}

// The program's messages are in UTF-8 for a console; text that is not UTF-8 is shown as
// ISO-8859-1, the character set of the messages elsewhere.
std::wstring da_mostrare(std::string_view testo) {
    const int n = static_cast<int>(testo.size());
    UINT pagina = CP_UTF8;
    int lunghezza =
        ::MultiByteToWideChar(pagina, MB_ERR_INVALID_CHARS, testo.data(), n, nullptr, 0);
    if (lunghezza == 0) {
        pagina = 28591;
        lunghezza = ::MultiByteToWideChar(pagina, 0, testo.data(), n, nullptr, 0);
    }
    std::wstring largo(static_cast<std::size_t>(lunghezza), L'\0');
    ::MultiByteToWideChar(pagina, 0, testo.data(), n, largo.data(), lunghezza);
    return largo;
}

// A console, which takes and gives text in UTF-16 whatever its code page: the program
// hands it UTF-8 and gets UTF-8 back.
class ConsoleLarga final : public Canale {
  public:
    ConsoleLarga(HANDLE h, Oggetto oggetto) : h_(h), oggetto_(std::move(oggetto)) {}

    Risultato<std::size_t> leggi(std::span<char> dove) override {
        // Three UTF-8 bytes at most for each UTF-16 unit.
        const std::size_t al_piu = std::max<std::size_t>(dove.size() / 3, 2);
        std::vector<wchar_t> largo(al_piu);
        for (;;) {
            std::size_t inizio = 0;
            if (surrogato_in_sospeso_ != 0) {
                largo[inizio++] = surrogato_in_sospeso_;
                surrogato_in_sospeso_ = 0;
            }
            DWORD letti = 0;
            if (::ReadConsoleW(h_, largo.data() + inizio, static_cast<DWORD>(al_piu - inizio),
                               &letti, nullptr) == 0) {
                return Esito::lettura(oggetto_, windows::errno_ultimo());
            }
            if (letti == 0 && ::GetLastError() == ERROR_OPERATION_ABORTED) {
                // Ctrl-C: its handler, on another thread, is about to end the program.
                ::Sleep(1000);
                continue;
            }
            std::size_t n = inizio + letti;
            if (n == 0) {
                return std::size_t{0};
            }
            if (n > 1 && IS_HIGH_SURROGATE(largo[n - 1])) {
                surrogato_in_sospeso_ = largo[--n];
            }
            // Ctrl-Z at the start of a line ends the input, as in any Windows console program.
            if (largo[0] == L'\x1A') {
                return std::size_t{0};
            }
            const int scritti = ::WideCharToMultiByte(
                CP_UTF8, 0, largo.data(), static_cast<int>(n), dove.data(),
                static_cast<int>(std::min<std::size_t>(dove.size(), INT_MAX)), nullptr, nullptr);
            if (scritti <= 0) {
                return Esito::lettura(oggetto_, windows::errno_ultimo());
            }
            return static_cast<std::size_t>(scritti);
        }
    }

    Esito scrivi(std::string_view dati) override {
        std::string testo = std::move(in_sospeso_);
        testo.append(dati);
        const std::size_t interi = sequenze_intere(testo);
        in_sospeso_ = testo.substr(interi);
        const std::wstring largo = da_mostrare(std::string_view(testo).substr(0, interi));
        for (std::size_t fatti = 0; fatti < largo.size();) {
            DWORD scritti = 0;
            const auto resto =
                static_cast<DWORD>(std::min<std::size_t>(largo.size() - fatti, 16384));
            if (::WriteConsoleW(h_, largo.data() + fatti, resto, &scritti, nullptr) == 0) {
                return Esito::scrittura(oggetto_, windows::errno_ultimo());
            }
            fatti += scritti;
        }
        return {};
    }

  private:
    HANDLE h_;
    Oggetto oggetto_;
    wchar_t surrogato_in_sospeso_ = 0;  // the first half of a pair cut by a read
    std::string in_sospeso_;            // a UTF-8 sequence cut by a write
};

HANDLE maniglia_standard(int quale) {
    return ::GetStdHandle(quale == 0   ? STD_INPUT_HANDLE
                          : quale == 1 ? STD_OUTPUT_HANDLE
                                       : STD_ERROR_HANDLE);
}

}  // namespace

// A stream the program was started without has no handle, and fails at its first use.
std::unique_ptr<Canale> canale_standard(int quale) {
    const HANDLE h = maniglia_standard(quale);
    if (e_console(h)) {
        return std::make_unique<ConsoleLarga>(h, oggetto_standard(quale));
    }
    if (h == nullptr || h == INVALID_HANDLE_VALUE) {
        return std::make_unique<Descrittore>(oggetto_standard(quale));
    }
    return std::make_unique<Descrittore>(h, oggetto_standard(quale));
}

// On a console the messages go as wide characters, so they show their accented letters
// whatever the console's code page; redirected, they are the bytes of the messages in
// ISO-8859-1, which the Windows ANSI code page shows the same.
bool console_utf8(int quale) {
    return e_console(maniglia_standard(quale));
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

bool abitudini_windows() {
    return true;
}

// Started from Explorer, the program is the only one attached to its console; started from
// a console, that console's own shell is attached too.
bool finestra_propria() {
    std::array<DWORD, 2> processi{};
    return ::GetConsoleProcessList(processi.data(), static_cast<DWORD>(processi.size())) == 1;
}

}  // namespace turnolista::sistema
