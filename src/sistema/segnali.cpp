#include "sistema/sistema.hpp"

#include <csignal>

#include "sistema/proprio.hpp"

namespace turnolista::sistema {

std::mutex serratura;
std::array<std::atomic<const std::filesystem::path::value_type*>, 2> da_togliere{};

void togli_nascosti() {
    for (auto& nome : da_togliere) {
        if (const auto* uno = nome.load(); uno != nullptr) {
#ifdef _WIN32
            ::DeleteFileW(uno);
#else
            ::unlink(uno);
#endif
            nome = nullptr;
        }
    }
}

namespace {

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
