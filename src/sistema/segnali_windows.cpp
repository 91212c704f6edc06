#include <array>
#include <string>

#include "sistema/segnali.hpp"
#include "sistema/windows.hpp"

namespace turnolista::sistema {

namespace {

// Windows calls the handler on a thread of its own while the program goes on, so the names
// are shared under a lock, which a file is made and renamed under too: the handler takes it
// and never gives it back, so that no file comes to exist and no rename is cut in two once
// it has removed those not yet in place.
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

Nascosto::Nascosto(std::filesystem::path nome) : nome_(std::move(nome)) {
    const Indivisibile passo;
    for (std::size_t i = 0; i < POSTI && posto_ < 0; ++i) {
        if (!occupato[i]) {
            nomi[i] = nome_.native();
            occupato[i] = true;
            posto_ = static_cast<int>(i);
        }
    }
}

Nascosto::~Nascosto() {
    if (creato && !messo_) {
        ::DeleteFileW(nome_.c_str());
    }
    const Indivisibile passo;
    rinominato();
}

// Called under the lock, right after the rename.
void Nascosto::rinominato() {
    messo_ = true;
    if (posto_ >= 0) {
        occupato[static_cast<std::size_t>(posto_)] = false;
    }
}

Indivisibile::Indivisibile() {
    ::EnterCriticalSection(&serratura());
}

Indivisibile::~Indivisibile() {
    ::LeaveCriticalSection(&serratura());
}

}  // namespace turnolista::sistema
