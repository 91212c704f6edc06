#include "sistema/segnali.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cstring>

namespace turnolista::sistema {

namespace {

// Every signal whose default action ends the process and that a program can catch.
constexpr std::array TERMINANTI{SIGHUP,  SIGINT,  SIGQUIT, SIGPIPE, SIGALRM,   SIGTERM,
                                SIGUSR1, SIGUSR2, SIGXCPU, SIGXFSZ, SIGVTALRM, SIGPROF};

// The temporary files for the handler: plain arrays, since a handler may touch nothing
// else. A place is in use once its flag is set, after its name is complete.
constexpr std::size_t POSTI = 4;
constexpr std::size_t LUNGHEZZA = 256;  // a name within a folder, NAME_MAX and its zero
std::array<std::array<char, LUNGHEZZA>, POSTI> nomi{};
std::array<int, POSTI> cartelle{};
std::array<volatile std::sig_atomic_t, POSTI> occupato{};

sigset_t crea_insieme_terminanti() {
    sigset_t insieme;
    sigemptyset(&insieme);
    for (const int segnale : TERMINANTI) {
        sigaddset(&insieme, segnale);
    }
    return insieme;
}

const sigset_t& insieme_terminanti() {
    static const sigset_t insieme = crea_insieme_terminanti();
    return insieme;
}

extern "C" void al_segnale(int segnale) {
    for (std::size_t i = 0; i < POSTI; ++i) {
        if (occupato[i] != 0) {
            ::unlinkat(cartelle[i], nomi[i].data(), 0);
        }
    }
    // The signal is held back while its handler runs: once the handler returns, it takes
    // its default action.
    std::signal(segnale, SIG_DFL);
    std::raise(segnale);
}

}  // namespace

void pulisci_su_segnale() {
    struct sigaction azione {};
    azione.sa_handler = al_segnale;
    azione.sa_mask = insieme_terminanti();
    for (const int segnale : TERMINANTI) {
        struct sigaction prima {};
        if (::sigaction(segnale, nullptr, &prima) == 0 && prima.sa_handler == SIG_IGN) {
            continue;
        }
        ::sigaction(segnale, &azione, nullptr);
    }
}

int ricorda_temporaneo(Nativo cartella, std::string_view nome) {
    if (nome.size() >= LUNGHEZZA) {
        return -1;
    }
    for (std::size_t i = 0; i < POSTI; ++i) {
        if (occupato[i] == 0) {
            std::memcpy(nomi[i].data(), nome.data(), nome.size());
            nomi[i][nome.size()] = '\0';
            cartelle[i] = cartella;
            occupato[i] = 1;
            return static_cast<int>(i);
        }
    }
    return -1;
}

void dimenticalo(int posto) {
    if (posto >= 0) {
        occupato[static_cast<std::size_t>(posto)] = 0;
    }
}

namespace {
// The mask the program had before, which may hold back signals of the caller's choosing.
sigset_t prima_di_trattenere;
}  // namespace

SegnaliTrattenuti::SegnaliTrattenuti() {
    ::sigprocmask(SIG_BLOCK, &insieme_terminanti(), &prima_di_trattenere);
}

// Back to that mask, never merely unblocking: what the caller held back stays held.
SegnaliTrattenuti::~SegnaliTrattenuti() {
    ::sigprocmask(SIG_SETMASK, &prima_di_trattenere, nullptr);
}

}  // namespace turnolista::sistema
