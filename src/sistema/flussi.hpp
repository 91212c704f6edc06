#pragma once
// Text over a channel as the system stores it: with FineRiga::crlf, CR LF in the data is LF
// in the program, and each LF the program writes is CR LF. Reading, a byte source for the
// line reader, serves the console (the fixture list is read as its bytes, and its encoding
// and line ends are the reader's to handle); writing is a stream buffer, for the console and
// the program's files, so that the table writers write to any std::ostream.

#include <cstddef>
#include <memory>
#include <span>
#include <streambuf>

#include "comune/a_capo.hpp"
#include "comune/esito.hpp"
#include "comune/sorgente.hpp"
#include "sistema/descrittore.hpp"

namespace turnolista::sistema {

// How this system's text files end their lines.
FineRiga fine_riga_del_sistema();

class LetturaTesto final : public Sorgente {
  public:
    explicit LetturaTesto(Canale& canale, FineRiga fine_riga = fine_riga_del_sistema());

    Risultato<std::size_t> leggi(std::span<char> dove) override;

    // How many bytes of the channel's data stand for the last `non_usati` bytes handed
    // out: how far to step back to stand just after what was used.
    std::size_t da_restituire(std::size_t non_usati) const;

  private:
    Risultato<std::size_t> leggi_senza_cr();

    Canale& canale_;
    FineRiga fine_riga_;
    // With CR LF: the last block as read, and what it became, handed out from `consegnati_`.
    std::unique_ptr<char[]> grezzo_;
    std::unique_ptr<char[]> tradotto_;
    std::size_t grezzi_ = 0;
    std::size_t tradotti_ = 0;
    std::size_t consegnati_ = 0;
    // A CR that ended the last block, held back until the next one shows whether LF follows.
    bool cr_in_sospeso_ = false;
};

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
