#include "sistema/segnali.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cstring>

namespace turnolista::sistema {

namespace {

// Every signal sent from outside whose default action ends the process and that a program
// can catch; the real-time signals are added to them. These are also held back while files
// are put in place.
constexpr std::array TERMINANTI{
    SIGHUP,    SIGINT,  SIGQUIT, SIGPIPE, SIGALRM,   SIGTERM,
    SIGUSR1,   SIGUSR2, SIGXCPU, SIGXFSZ, SIGVTALRM, SIGPROF,
#ifdef SIGIO
    SIGIO,
#endif
#ifdef SIGPWR
    SIGPWR,
#endif
#ifdef SIGSTKFLT
    SIGSTKFLT,
#endif
};
// The signals of a fault in the program itself: they end it too, and the temporary files
// go first, but holding them back would not stop them.
constexpr std::array GUASTI{SIGABRT, SIGBUS, SIGFPE, SIGILL, SIGSEGV, SIGSYS, SIGTRAP};

// The temporary files for the handler: plain arrays, since a handler may touch nothing
// else. A place is in use once its flag is set, after its name is complete.
constexpr std::size_t POSTI = 8;
constexpr std::size_t LUNGHEZZA = 4096;  // a path, PATH_MAX with its zero

// The signals that terminate, with the real-time ones, whose range is known only at run time.
sigset_t crea_insieme_terminanti() {
    sigset_t insieme;
    sigemptyset(&insieme);
    for (const int segnale : TERMINANTI) {
        sigaddset(&insieme, segnale);
    }
#ifdef SIGRTMIN
    for (int segnale = SIGRTMIN; segnale <= SIGRTMAX; ++segnale) {
        sigaddset(&insieme, segnale);
    }
#endif
    return insieme;
}

const sigset_t& insieme_terminanti() {
    static const sigset_t insieme = crea_insieme_terminanti();
    return insieme;
}

std::array<std::array<char, LUNGHEZZA>, POSTI> nomi{};
std::array<int, POSTI> cartelle{};
std::array<volatile std::sig_atomic_t, POSTI> occupato{};

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

// Each handler is installed with one call that also tells what was there before, and an
// ignored signal gets its SIG_IGN back; meanwhile every signal waits, so that none finds a
// handler it should not have.
void pulisci_su_segnale() {
    struct sigaction azione {};
    azione.sa_handler = al_segnale;
    azione.sa_mask = insieme_terminanti();
    sigset_t tutti;
    sigset_t prima_di_installare;
    sigfillset(&tutti);
    ::sigprocmask(SIG_SETMASK, &tutti, &prima_di_installare);
    const auto installa = [&](int segnale) {
        struct sigaction prima {};
        if (::sigaction(segnale, &azione, &prima) == 0 && prima.sa_handler == SIG_IGN) {
            ::sigaction(segnale, &prima, nullptr);
        }
    };
    for (const int segnale : TERMINANTI) {
        installa(segnale);
    }
#ifdef SIGRTMIN
    for (int segnale = SIGRTMIN; segnale <= SIGRTMAX; ++segnale) {
        installa(segnale);
    }
#endif
    for (const int segnale : GUASTI) {
        installa(segnale);
    }
    ::sigprocmask(SIG_SETMASK, &prima_di_installare, nullptr);
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
