#include <array>
#include <string>

#include "sistema/segnali.hpp"
#include "sistema/windows.hpp"

namespace turnolista::sistema {

namespace {

// Windows calls the handler on a thread of its own while the program goes on, so the
// temporary files are shared under a lock: the handler takes it and never gives it back,
// which keeps the program from remembering new ones once it runs.
constexpr std::size_t POSTI = 4;
std::array<std::string, POSTI> nomi;
std::array<bool, POSTI> occupato{};

struct Sezione {
    Sezione() { ::InitializeCriticalSection(&critica); }
    CRITICAL_SECTION critica;
};

CRITICAL_SECTION& serratura() {
    static Sezione sezione;
    return sezione.critica;
}

// Ctrl-C, Ctrl-Break, the console window closed, the user logging off or the system
// shutting down: each ends the program as an unhandled Ctrl-C does.
BOOL WINAPI al_segnale(DWORD /*evento*/) {
    ::EnterCriticalSection(&serratura());
    for (std::size_t i = 0; i < POSTI; ++i) {
        if (occupato[i]) {
            ::DeleteFileA(nomi[i].c_str());
        }
    }
    ::ExitProcess(STATUS_CONTROL_C_EXIT);
}

}  // namespace

void pulisci_su_segnale() {
    serratura();
    ::SetConsoleCtrlHandler(al_segnale, TRUE);
}

int ricorda_temporaneo(std::string_view nome) {
    ::EnterCriticalSection(&serratura());
    int posto = -1;
    for (std::size_t i = 0; i < POSTI && posto < 0; ++i) {
        if (!occupato[i]) {
            nomi[i] = std::string(nome);
            occupato[i] = true;
            posto = static_cast<int>(i);
        }
    }
    ::LeaveCriticalSection(&serratura());
    return posto;
}

void dimenticalo(int posto) {
    if (posto >= 0) {
        ::EnterCriticalSection(&serratura());
        occupato[static_cast<std::size_t>(posto)] = false;
        ::LeaveCriticalSection(&serratura());
    }
}

}  // namespace turnolista::sistema
