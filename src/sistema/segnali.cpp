#include "sistema/segnali.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <csignal>
#include <mutex>
#include <string>

#include "sistema/proprio.hpp"

namespace turnolista::sistema {

namespace {

// The hidden files for the handler: plain arrays, since a handler may touch nothing else. A
// place is in use once its flag is set, after its name is complete; a pass has two files.
constexpr std::size_t POSTI = 2;
constexpr std::size_t LUNGHEZZA = 32768;  // a path, the longest Windows takes, with its zero
std::array<std::array<std::filesystem::path::value_type, LUNGHEZZA>, POSTI> nomi{};
std::array<volatile std::sig_atomic_t, POSTI> occupato{};

// Windows calls the handler on a thread of its own while the program goes on, so there the
// names are shared under this lock, which a file is made and renamed under too: the handler
// takes it and never gives it back, so that no file comes to exist and no rename is cut in
// two once it has removed those not yet in place. Elsewhere the handler interrupts this
// thread and takes no lock.
std::mutex serratura;

#ifdef _WIN32
// Ctrl-C, Ctrl-Break, the console window closed, the user logging off or the system
// shutting down: each ends the program as an unhandled Ctrl-C does.
BOOL WINAPI al_segnale(DWORD /*evento*/) {
    serratura.lock();
    for (std::size_t i = 0; i < POSTI; ++i) {
        if (occupato[i] != 0) {
            ::DeleteFileW(nomi[i].data());
        }
    }
    ::ExitProcess(STATUS_CONTROL_C_EXIT);
}
#else
constexpr std::array TERMINANTI{SIGINT, SIGHUP, SIGTERM, SIGQUIT};

extern "C" void al_segnale(int segnale) {
    for (std::size_t i = 0; i < POSTI; ++i) {
        if (occupato[i] != 0) {
            ::unlink(nomi[i].data());
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
    struct sigaction azione {};
    azione.sa_handler = al_segnale;
    sigemptyset(&azione.sa_mask);
    for (const int segnale : TERMINANTI) {
        sigaddset(&azione.sa_mask, segnale);
    }
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
    // the flag is set.
    const Indivisibile passo;
    const auto& testo = nome_.native();
    for (std::size_t i = 0; i < POSTI && posto_ < 0 && testo.size() < LUNGHEZZA; ++i) {
        if (occupato[i] == 0) {
            std::copy(testo.c_str(), testo.c_str() + testo.size() + 1, nomi[i].data());
            occupato[i] = 1;
            posto_ = static_cast<int>(i);
        }
    }
}

Nascosto::~Nascosto() {
    if (creato && !messo_) {
        std::error_code errore;
        std::filesystem::remove(nome_, errore);
    }
    const Indivisibile passo;
    rinominato();
}

// Called under the lock, right after the rename.
void Nascosto::rinominato() {
    messo_ = true;
    if (posto_ >= 0) {
        occupato[static_cast<std::size_t>(posto_)] = 0;
    }
}

Indivisibile::Indivisibile() {
    serratura.lock();
}

Indivisibile::~Indivisibile() {
    serratura.unlock();
}

}  // namespace turnolista::sistema
