#pragma once
// An open file, pipe or console as the system holds it, and what bytes are read from and
// written to. A Descrittore owns what it holds and closes it when it goes; reading and
// writing it are the one place where the program's bytes meet the system's calls, and a
// failure comes back as an Esito that names what the descriptor is.

#include <cstddef>
#include <span>
#include <string_view>

#include "comune/esito.hpp"
#include "comune/sorgente.hpp"

namespace turnolista::sistema {

#ifdef _WIN32
using Nativo = void*;  // a HANDLE
#else
using Nativo = int;  // a file descriptor
#endif

// Where bytes go and come from: a descriptor, or on Windows a console in wide characters.
class Canale : public Sorgente {
  public:
    Canale() = default;
    Canale(const Canale&) = delete;
    Canale& operator=(const Canale&) = delete;
    virtual ~Canale() = default;

    // All of `dati`, however many calls it takes.
    virtual Esito scrivi(std::string_view dati) = 0;
};

class Descrittore final : public Canale {
  public:
    // Nothing held: reading and writing fail with "Bad file descriptor".
    explicit Descrittore(Oggetto oggetto = {});
    Descrittore(Nativo nativo, Oggetto oggetto);
    Descrittore(Descrittore&& altro) noexcept;
    Descrittore& operator=(Descrittore&& altro) noexcept;
    ~Descrittore() override;

    bool aperto() const;
    Nativo nativo() const { return nativo_; }
    const Oggetto& oggetto() const { return oggetto_; }

    Risultato<std::size_t> leggi(std::span<char> dove) override;
    Esito scrivi(std::string_view dati) override;

    // Closes now, saying whether the system kept all that was written.
    Esito chiudi();
    // Gives up what it holds without closing it.
    Nativo rilascia();

  private:
    static Nativo nessuno();

    Nativo nativo_;
    Oggetto oggetto_;
};

}  // namespace turnolista::sistema
