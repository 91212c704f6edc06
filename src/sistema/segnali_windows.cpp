#include <array>
#include <string>

#include "sistema/segnali.hpp"
#include "sistema/windows.hpp"

namespace turnolista::sistema {

namespace {

// Windows calls the handler on a thread of its own while the program goes on, so the names
// are shared under a lock, which a file is made under too: the handler takes it and never
// gives it back, so that no file comes to exist once it has removed them.
constexpr std::size_t POSTI = 2;
std::array<std::wstring, POSTI> nomi;
std::array<bool, POSTI> occupato{};

CRITICAL_SECTION& serratura() {
    static CRITICAL_SECTION sezione = [] {
        CRITICAL_SECTION s;
        ::InitializeCriticalSection(&s);
        return s;
    }();
    return sezione;
}

// Ctrl-C, Ctrl-Break, the console window closed, the user logging off or the system
// shutting down: each ends the program as an unhandled Ctrl-C does.
BOOL WINAPI al_segnale(DWORD /*evento*/) {
    ::EnterCriticalSection(&serratura());
    for (std::size_t i = 0; i < POSTI; ++i) {
        if (occupato[i]) {
            ::DeleteFileW(nomi[i].c_str());
        }
    }
    ::ExitProcess(STATUS_CONTROL_C_EXIT);
}

}  // namespace

void pulisci_su_segnale() {
    serratura();
    ::SetConsoleCtrlHandler(al_segnale, TRUE);
}

int crea_temporaneo(const std::string& nome, const std::function<void()>& crea) {
    ::EnterCriticalSection(&serratura());
    int posto = -1;
    for (std::size_t i = 0; i < POSTI && posto < 0; ++i) {
        if (!occupato[i]) {
            nomi[i] = windows::largo(nome);
            occupato[i] = true;
            posto = static_cast<int>(i);
        }
    }
    crea();
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
