#include <unistd.h>

#include <cerrno>

#include "sistema/descrittore.hpp"
#include "sistema/posix.hpp"

namespace turnolista::sistema {

Nativo Descrittore::nessuno() {
    return -1;
}

Descrittore::Descrittore(Nativo nativo, Oggetto oggetto)
    : nativo_(nativo), oggetto_(std::move(oggetto)) {}

Risultato<std::size_t> Descrittore::leggi(std::span<char> dove) {
    if (!aperto()) {
        return Esito::lettura(oggetto_, EBADF);
    }
    const ssize_t letti =
        posix::senza_interruzioni([&] { return ::read(nativo_, dove.data(), dove.size()); });
    if (letti < 0) {
        return Esito::lettura(oggetto_, errno);
    }
    return static_cast<std::size_t>(letti);
}

Esito Descrittore::scrivi(std::string_view dati) {
    if (!aperto()) {
        return Esito::scrittura(oggetto_, EBADF);
    }
    while (!dati.empty()) {
        const ssize_t scritti =
            posix::senza_interruzioni([&] { return ::write(nativo_, dati.data(), dati.size()); });
        if (scritti <= 0) {
            return Esito::scrittura(oggetto_, scritti < 0 ? errno : EIO);
        }
        dati.remove_prefix(static_cast<std::size_t>(scritti));
    }
    return {};
}

Esito Descrittore::chiudi() {
    if (!aperto()) {
        return {};
    }
    // The descriptor is gone even when close() reports a failure: never close it twice.
    const int esito = ::close(rilascia());
    return esito == 0 || errno == EINTR ? Esito() : Esito::scrittura(oggetto_, errno);
}

}  // namespace turnolista::sistema
