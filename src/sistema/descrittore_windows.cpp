#include <algorithm>
#include <cerrno>

#include "sistema/descrittore.hpp"
#include "sistema/windows.hpp"

namespace turnolista::sistema {

namespace {
// The most one call reads or writes: DWORD counts, well within them.
constexpr std::size_t PEZZO_MASSIMO = std::size_t{1} << 30;
}  // namespace

Nativo Descrittore::nessuno() {
    return INVALID_HANDLE_VALUE;
}

Descrittore::Descrittore(Nativo nativo, Oggetto oggetto)
    : nativo_(nativo == nullptr ? nessuno() : nativo), oggetto_(std::move(oggetto)) {}

Risultato<std::size_t> Descrittore::leggi(std::span<char> dove) {
    if (!aperto()) {
        return Esito::lettura(oggetto_, EBADF);
    }
    DWORD letti = 0;
    const auto al_piu = static_cast<DWORD>(std::min(dove.size(), PEZZO_MASSIMO));
    if (::ReadFile(nativo_, dove.data(), al_piu, &letti, nullptr) == 0) {
        const DWORD errore = ::GetLastError();
        // The writer of a pipe has closed it: the data has ended.
        if (errore == ERROR_BROKEN_PIPE || errore == ERROR_HANDLE_EOF) {
            return std::size_t{0};
        }
        return Esito::lettura(oggetto_, windows::errno_da(errore));
    }
    return std::size_t{letti};
}

Esito Descrittore::scrivi(std::string_view dati) {
    if (!aperto()) {
        return Esito::scrittura(oggetto_, EBADF);
    }
    while (!dati.empty()) {
        DWORD scritti = 0;
        const auto pezzo = static_cast<DWORD>(std::min(dati.size(), PEZZO_MASSIMO));
        if (::WriteFile(nativo_, dati.data(), pezzo, &scritti, nullptr) == 0) {
            return Esito::scrittura(oggetto_, windows::errno_ultimo());
        }
        dati.remove_prefix(scritti);
    }
    return {};
}

Esito Descrittore::chiudi() {
    if (!aperto()) {
        return {};
    }
    return ::CloseHandle(rilascia()) != 0 ? Esito()
                                          : Esito::scrittura(oggetto_, windows::errno_ultimo());
}

}  // namespace turnolista::sistema
