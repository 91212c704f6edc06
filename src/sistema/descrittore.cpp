#include "sistema/descrittore.hpp"

#include <utility>

namespace turnolista::sistema {

Descrittore::Descrittore(Oggetto oggetto) : nativo_(nessuno()), oggetto_(std::move(oggetto)) {}

Descrittore::Descrittore(Descrittore&& altro) noexcept
    : nativo_(altro.rilascia()), oggetto_(std::move(altro.oggetto_)) {}

Descrittore& Descrittore::operator=(Descrittore&& altro) noexcept {
    if (this != &altro) {
        static_cast<void>(chiudi());
        nativo_ = altro.rilascia();
        oggetto_ = std::move(altro.oggetto_);
    }
    return *this;
}

Descrittore::~Descrittore() {
    static_cast<void>(chiudi());
}

bool Descrittore::aperto() const {
    return nativo_ != nessuno();
}

Nativo Descrittore::rilascia() {
    return std::exchange(nativo_, nessuno());
}

}  // namespace turnolista::sistema
