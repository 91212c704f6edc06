#include <unistd.h>

#include <array>
#include <csignal>
#include <cstring>

#include "sistema/segnali.hpp"

namespace turnolista::sistema {

namespace {

constexpr std::array TERMINANTI{SIGINT, SIGHUP, SIGTERM, SIGQUIT};

// The hidden files for the handler: plain arrays, since a handler may touch nothing else. A
// place is in use once its flag is set, after its name is complete; a pass has two files.
constexpr std::size_t POSTI = 2;
constexpr std::size_t LUNGHEZZA = 4096;  // a path, PATH_MAX with its zero
std::array<std::array<char, LUNGHEZZA>, POSTI> nomi{};
std::array<volatile std::sig_atomic_t, POSTI> occupato{};

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

}  // namespace

void pulisci_su_segnale() {
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
}

// The handler runs on this thread: once the flag is set, the call that makes the file is
// covered.
Nascosto::Nascosto(std::filesystem::path nome) : nome_(std::move(nome)) {
    const std::string& testo = nome_.native();
    for (std::size_t i = 0; i < POSTI && posto_ < 0 && testo.size() < LUNGHEZZA; ++i) {
        if (occupato[i] == 0) {
            std::memcpy(nomi[i].data(), testo.c_str(), testo.size() + 1);
            occupato[i] = 1;
            posto_ = static_cast<int>(i);
        }
    }
}

Nascosto::~Nascosto() {
    if (creato && !messo_) {
        ::unlink(nome_.c_str());
    }
    rinominato();
}

void Nascosto::rinominato() {
    messo_ = true;
    if (posto_ >= 0) {
        occupato[static_cast<std::size_t>(posto_)] = 0;
    }
}

Indivisibile::Indivisibile() = default;
Indivisibile::~Indivisibile() = default;

}  // namespace turnolista::sistema
