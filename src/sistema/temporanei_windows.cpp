#include <string>

#include "sistema/temporanei.hpp"
#include "sistema/windows.hpp"

namespace turnolista::sistema {

unsigned long processo_corrente() {
    return ::GetCurrentProcessId();
}

namespace {
bool processo_vivo(unsigned long processo) {
    const HANDLE h = ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(processo));
    if (h == nullptr) {
        // One this user may not open exists all the same.
        return ::GetLastError() == ERROR_ACCESS_DENIED;
    }
    const bool vivo = ::WaitForSingleObject(h, 0) == WAIT_TIMEOUT;
    ::CloseHandle(h);
    return vivo;
}

void rimuovi_una(std::string_view destinazione) {
    const std::wstring modello = L"." + windows::largo(destinazione) + L".*";
    WIN32_FIND_DATAW voce;
    const HANDLE ricerca = ::FindFirstFileW(modello.c_str(), &voce);
    if (ricerca == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        // The names are ours, in ASCII digits after the destination's.
        std::string nome;
        for (const wchar_t* c = voce.cFileName; *c != L'\0'; ++c) {
            nome += *c < 0x80 ? static_cast<char>(*c) : '?';
        }
        const auto processo = processo_di(nome, destinazione);
        if (processo && *processo != processo_corrente() && !processo_vivo(*processo)) {
            ::DeleteFileW(voce.cFileName);
        }
    } while (::FindNextFileW(ricerca, &voce) != 0);
    ::FindClose(ricerca);
}

}  // namespace

// The folder lock is a named mutex, which needs no folder to read.
int rimuovi_abbandonati(std::span<const std::string_view> destinazioni) {
    for (const std::string_view destinazione : destinazioni) {
        rimuovi_una(destinazione);
    }
    return 0;
}

}  // namespace turnolista::sistema
