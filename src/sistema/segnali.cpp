#include "sistema/sistema.hpp"

#include <array>
#include <atomic>
#include <charconv>
#include <csignal>
#include <mutex>
#include <string>

#include "sistema/proprio.hpp"

namespace turnolista::sistema {

std::mutex serratura;

namespace {

// The names of the hidden files for the handlers, each kept by its Nascosto, or none: a
// handler may read nothing but lock-free atomics. A pass has two files.
using Carattere = std::filesystem::path::value_type;
std::array<std::atomic<const Carattere*>, 2> da_togliere{};

#ifdef _WIN32
// Ctrl-C, Ctrl-Break, the console window closed, the user logging off or the system
// shutting down: each ends the program as an unhandled Ctrl-C does.
BOOL WINAPI al_segnale(DWORD /*evento*/) {
    serratura.lock();
    for (const Carattere* nome : da_togliere) {
        if (nome != nullptr) {
            ::DeleteFileW(nome);
        }
    }
    ::ExitProcess(STATUS_CONTROL_C_EXIT);
}
#else
constexpr std::array TERMINANTI{SIGINT, SIGHUP, SIGTERM, SIGQUIT};

extern "C" void al_segnale(int segnale) {
    for (const Carattere* nome : da_togliere) {
        if (nome != nullptr) {
            ::unlink(nome);
        }
    }
    // The signal waits while its handler runs: once the handler returns, it takes its
    // default action.
    std::signal(segnale, SIG_DFL);
    std::raise(segnale);
}
#endif

}  // namespace

void pulisci_su_segnale() {
#ifdef _WIN32
    ::SetConsoleCtrlHandler(al_segnale, TRUE);
#else
    // While the handler runs every other signal waits, so that no second handler runs beside it.
    struct sigaction azione {};
    azione.sa_handler = al_segnale;
    sigfillset(&azione.sa_mask);
    for (const int segnale : TERMINANTI) {
        struct sigaction prima {};
        if (::sigaction(segnale, nullptr, &prima) == 0 && prima.sa_handler != SIG_IGN) {
            ::sigaction(segnale, &azione, nullptr);
        }
    }
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

Nascosto::Nascosto(const std::filesystem::path& destinazione, int tentativo) {
#ifdef _WIN32
    const unsigned long processo = ::GetCurrentProcessId();
#else
    const auto processo = static_cast<unsigned long>(::getpid());
#endif
    std::array<char, 2 * sizeof processo> cifre{};
    char* const fine = std::to_chars(cifre.data(), cifre.data() + cifre.size(), processo, 16).ptr;
    std::string aggiunta = ".";
    aggiunta.append(cifre.data(), fine);
    if (tentativo > 0) {
        aggiunta.append("-").append(std::to_string(tentativo));
    }
    nome_ = destinazione.parent_path() / ".";
    nome_ += destinazione.filename().native().substr(0, 200);
    nome_ += aggiunta;
    // Where the handler interrupts this thread, the call that makes the file is covered once
    // its name is there.
    const std::lock_guard passo(serratura);
    for (std::size_t i = 0; i < da_togliere.size() && posto_ < 0; ++i) {
        if (da_togliere[i] == nullptr) {
            da_togliere[i] = nome_.c_str();
            posto_ = static_cast<int>(i);
        }
    }
}

Nascosto::~Nascosto() {
    if (nostro) {
        std::error_code errore;
        std::filesystem::remove(nome_, errore);
    }
    const std::lock_guard passo(serratura);
    rinominato();
}

// Called under the lock, right after the rename.
void Nascosto::rinominato() {
    nostro = false;
    if (posto_ >= 0) {
        da_togliere[static_cast<std::size_t>(posto_)] = nullptr;
    }
}

}  // namespace turnolista::sistema
