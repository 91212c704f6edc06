#pragma once
// Stream buffers over file descriptors, for the console and the program's files. Unlike
// the standard file streams they keep the system's reason for a failure (an errno value),
// which the dialogue shows to the user. They read and write text as the system stores it:
// with FineRiga::crlf, CR LF in the file is LF in the program.

#include <cstddef>
#include <memory>
#include <streambuf>

#include "ricerca/lettore.hpp"
#include "sistema/a_capo.hpp"

namespace turnolista {

// How this system's text files end their lines.
FineRiga fine_riga_del_sistema();

// Reading. The line reader reads straight from the descriptor where no line ends change;
// through the streambuf interface a failed read throws std::system_error out of
// underflow(), so that a caller can tell a failure from the end of the data.
class BufferLettura : public std::streambuf, public LetturaDiretta {
  public:
    // With `errore` set the buffer fails from the start, for a descriptor known to be bad.
    explicit BufferLettura(int fd, int errore = 0, FineRiga fine_riga = fine_riga_del_sistema());
    int errore() const { return errore_; }
    std::ptrdiff_t leggi_diretto(char* dove, std::size_t quanti) override;

    // How many bytes of the descriptor's data stand for the last `non_usati` bytes handed
    // out and for what was read but not yet handed out: how far to step back to stand
    // just after what was used.
    std::size_t da_restituire(std::size_t non_usati) const;

  protected:
    int_type underflow() override;

  private:
    std::ptrdiff_t leggi(char* dove, std::size_t quanti);
    bool riempi();

    int fd_;
    int errore_ = 0;
    FineRiga fine_riga_;
    std::unique_ptr<char[]> spazio_;
    // With CR LF, the data as read, kept until the next read, and a CR held back from the
    // end of the last block until the next one shows whether LF follows.
    std::unique_ptr<char[]> grezzo_;
    std::size_t grezzi_ = 0;
    bool cr_in_sospeso_ = false;
};

// Writing. After a failed write every later write fails too, and errore() says why.
class BufferScrittura : public std::streambuf {
  public:
    explicit BufferScrittura(int fd, int errore = 0, FineRiga fine_riga = fine_riga_del_sistema());
    int errore() const { return errore_; }

  protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* dati, std::streamsize quanti) override;
    int sync() override;

  private:
    bool scrivi_tutto(const char* dati, std::size_t quanti);
    bool scrivi_grezzi(const char* dati, std::size_t quanti);
    bool svuota();

    int fd_;
    int errore_ = 0;
    FineRiga fine_riga_;
    std::unique_ptr<char[]> spazio_;
    std::unique_ptr<char[]> esteso_;  // a block with its CRs added
};

}  // namespace turnolista
