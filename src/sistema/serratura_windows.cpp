#include <cstdint>
#include <numeric>
#include <string>

#include "sistema/serratura.hpp"
#include "sistema/windows.hpp"

namespace turnolista::sistema {

namespace {
// How long a pass waits for another run in the same folder to put its files in place.
constexpr DWORD ATTESA_MASSIMA_MS = 10'000;
}  // namespace

// A mutex named after the folder's full path.
SerraturaCartella::SerraturaCartella() {
    std::wstring cartella = windows::completo(L".");
    ::CharLowerBuffW(cartella.data(), static_cast<DWORD>(cartella.size()));
    // A name may not hold a backslash, nor be longer than a path.
    const std::uint64_t impronta =
        std::accumulate(cartella.begin(), cartella.end(), 14695981039346656037ULL,
                        [](std::uint64_t h, wchar_t c) { return (h ^ c) * 1099511628211ULL; });
    const std::wstring nome = L"Local\\turnolista-" + std::to_wstring(impronta);
    Descrittore mutex(::CreateMutexW(nullptr, FALSE, nome.c_str()), {});
    if (!mutex.aperto()) {
        non_bloccabile_ = windows::errno_ultimo();
        return;
    }
    const DWORD esito = ::WaitForSingleObject(mutex.nativo(), ATTESA_MASSIMA_MS);
    if (esito == WAIT_OBJECT_0 || esito == WAIT_ABANDONED) {
        maniglia_ = std::move(mutex);
    } else {
        occupata_ = esito == WAIT_TIMEOUT;
    }
}

SerraturaCartella::~SerraturaCartella() {
    if (maniglia_.aperto()) {
        ::ReleaseMutex(maniglia_.nativo());
    }
}

}  // namespace turnolista::sistema
