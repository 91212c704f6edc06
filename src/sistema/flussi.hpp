#pragma once
// Text written to a channel as the system stores it: with FineRiga::crlf each LF the program
// writes is CR LF. A stream buffer, for the console and the program's files, so that the
// table writers write to any std::ostream.

#include <cstddef>
#include <memory>
#include <streambuf>

#include "comune/a_capo.hpp"
#include "comune/esito.hpp"
#include "sistema/descrittore.hpp"

namespace turnolista::sistema {

// How this system's text files end their lines.
FineRiga fine_riga_del_sistema();

// After a failed write every later write fails too, and esito() says why.
class BufferScrittura final : public std::streambuf {
  public:
    explicit BufferScrittura(Canale& canale, FineRiga fine_riga = fine_riga_del_sistema());
    const Esito& esito() const { return esito_; }

  protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* dati, std::streamsize quanti) override;
    int sync() override;

  private:
    bool scrivi_tutto(const char* dati, std::size_t quanti);
    bool scrivi_grezzi(const char* dati, std::size_t quanti);
    bool svuota();

    Canale& canale_;
    Esito esito_;
    FineRiga fine_riga_;
    std::unique_ptr<char[]> spazio_;
    std::unique_ptr<char[]> esteso_;  // a block with its CRs added
};

}  // namespace turnolista::sistema
