#include "sistema/sistema.hpp"

#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "sistema/proprio.hpp"

#ifdef _WIN32
#include <shellapi.h>
#else
#include <langinfo.h>
#endif

namespace turnolista::sistema {

namespace {

class Standard final : public Canale {
  public:
    // Standard input, output or error: 0, 1 or 2, in the order of Oggetto::Tipo after file.
    explicit Standard(int quale) : oggetto_{static_cast<Oggetto::Tipo>(quale + 1)} {
#ifdef _WIN32
        const std::array quali{STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
        h_ = ::GetStdHandle(quali.at(static_cast<std::size_t>(quale)));
        DWORD modo = 0;
        terminale = ::GetConsoleMode(h_, &modo) != 0;
#else
        // /dev/null holds a closed stream's number, so that no file the program opens takes its
        // place; made in order, the lowest is taken first.
        if (::fcntl(quale, F_GETFD) != -1 || errno != EBADF) {
            h_ = quale;
        } else {
            ::open("/dev/null", quale == 0 ? O_RDONLY : O_WRONLY);
        }
        terminale = ::isatty(h_) != 0;
#endif
    }

    bool terminale = false;  // a terminal, or a Windows console

    Risultato<std::size_t> leggi(std::span<char> dove) override {
#ifdef _WIN32
        // A console gives text in UTF-16 whatever its code page; the program gets UTF-8, three
        // bytes at most for each UTF-16 unit, which `dove` has room for: a pair is never cut.
        if (terminale) {
            std::wstring testo(std::max<std::size_t>(dove.size() / 3, 2), L'\0');
            DWORD letti = 0;
            // Again a second after Ctrl-C, whose handler, on another thread, is ending the program.
            for (;; ::Sleep(1000)) {
                if (::ReadConsoleW(h_, testo.data(), static_cast<DWORD>(testo.size() - 1), &letti,
                                   nullptr) == 0) {
                    return fallito(oggetto_, true);
                }
                if (letti > 0 && IS_HIGH_SURROGATE(testo[letti - 1])) {
                    DWORD altro = 0;
                    ::ReadConsoleW(h_, testo.data() + letti, 1, &altro, nullptr);
                    letti += altro;
                }
                if (letti != 0 || ::GetLastError() != ERROR_OPERATION_ABORTED) {
                    break;
                }
            }
            // Ctrl-Z at the start of a line ends the input, as in any Windows console program.
            const std::string utf8 =
                letti == 0 || testo[0] == L'\x1A' ? "" : stretto({testo.data(), letti});
            std::ranges::copy(utf8, dove.begin());
            return utf8.size();
        }
#endif
        const std::ptrdiff_t letti = sistema::leggi(h_, dove);
        return letti >= 0 ? Risultato(static_cast<std::size_t>(letti)) : fallito(oggetto_, true);
    }

    Esito scrivi(std::string_view testo) override {
#ifdef _WIN32
        // Windows' text is UTF-16, which has no more units than UTF-8 has bytes. A console takes
        // a message, a few KB at most, in one call; a file or a pipe the ANSI code page's bytes,
        // as Notepad and the console's own programs read them.
        const std::string utf8 = con_fine_riga(std::string(testo), FineRiga::crlf);
        std::wstring righe(utf8.size(), L'\0');
        righe.resize(static_cast<std::size_t>(
            ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                  righe.data(), static_cast<int>(righe.size()))));
        const bool scritto =
            terminale ? ::WriteConsoleW(h_, righe.data(), static_cast<DWORD>(righe.size()), nullptr,
                                        nullptr) != 0
                      : scrivi_tutto(h_, stretto(righe, ::GetACP()));
#else
        const bool scritto = scrivi_tutto(h_, testo);
#endif
        return scritto ? Esito() : fallito(oggetto_);
    }

  private:
    Nativo h_ = NESSUNO;
    Oggetto oggetto_;
};

#ifdef _WIN32
BOOL WINAPI al_segnale(DWORD /*evento*/) {
    serratura.lock();
    togli_nascosti();
    ::ExitProcess(STATUS_CONTROL_C_EXIT);
}
#else
extern "C" void al_segnale(int segnale) {
    togli_nascosti();
    // Blocked while its handler runs, the signal takes its default action once it returns.
    std::signal(segnale, SIG_DFL);
    std::raise(segnale);
}
#endif

}  // namespace

// Started from Explorer, the program is the only one attached to its console; started from
// a console, that console's own shell is attached too. A POSIX terminal outlives the program.
Console& console_standard() {
    static std::array<Standard, 3> tre{Standard(0), Standard(1), Standard(2)};
    static Console console = [] {
        Console uno{.in = tre[0], .out = tre[1], .err = tre[2], .in_terminale = tre[0].terminale};
#ifdef _WIN32
        std::array<DWORD, 2> processi{};
        uno.utf8 = true;
        uno.abitudini_windows = true;
        uno.finestra_propria =
            ::GetConsoleProcessList(processi.data(), static_cast<DWORD>(processi.size())) == 1;
#else
        // Only the character set matters, for the messages' accented letters. A locale named
        // with the UTF-8 codeset ("it_IT.UTF-8", "C.utf8@euro") means a UTF-8 terminal even
        // where that locale is not installed, as on many minimal systems and over ssh.
        for (const char* variabile : {"LC_ALL", "LC_CTYPE", "LANG"}) {
            if (const char* valore = std::getenv(variabile); valore != nullptr && *valore != '\0') {
                std::string nome = minuscolo_ascii(valore);
                std::erase(nome, '-');
                const auto punto = nome.find('.');
                uno.utf8 = punto != std::string::npos &&
                           nome.substr(punto + 1, nome.find('@', punto) - punto - 1) == "utf8";
                break;
            }
        }
        if (!uno.utf8) {
            std::setlocale(LC_CTYPE, "");
            uno.utf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
        }
#endif
        return uno;
    }();
    return console;
}

std::vector<std::string> argomenti([[maybe_unused]] int argc, [[maybe_unused]] char** argv) {
#ifdef _WIN32
    // main() has them in the ANSI code page, where a Cyrillic or Chinese folder's letters are
    // already "?"; the system's own copy is whole.
    std::vector<std::string> dati;
    int quanti = 0;
    wchar_t** tutti = ::CommandLineToArgvW(::GetCommandLineW(), &quanti);
    for (int i = 1; tutti != nullptr && i < quanti; ++i) {
        dati.push_back(stretto(tutti[i]));
    }
    ::LocalFree(tutti);
    return dati;
#else
    return {argv + std::min(argc, 1), argv + argc};
#endif
}

void pulisci_su_segnale() {
#ifdef _WIN32
    ::SetConsoleCtrlHandler(al_segnale, TRUE);
#else
    // While the handler runs every other signal waits, so that no second handler runs beside it.
    struct sigaction azione {};
    azione.sa_handler = al_segnale;
    sigfillset(&azione.sa_mask);
    for (const int segnale : {SIGINT, SIGHUP, SIGTERM, SIGQUIT}) {
        struct sigaction prima {};
        if (::sigaction(segnale, nullptr, &prima) == 0 && prima.sa_handler != SIG_IGN) {
            ::sigaction(segnale, &azione, nullptr);
        }
    }
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

}  // namespace turnolista::sistema
