#pragma once
// Stream buffers over file descriptors, for the console and the program's files. Unlike
// the standard file streams they keep the system's reason for a failure (an errno value),
// which the dialogue shows to the user.

#include <cstddef>
#include <memory>
#include <streambuf>

#include "ricerca/lettore.hpp"

namespace turnolista {

// Reading. The line reader reads straight from the descriptor; through the streambuf
// interface a failed read throws std::system_error out of underflow(), so that a caller
// can tell a failure from the end of the data.
class BufferLettura : public std::streambuf, public LetturaDiretta {
  public:
    // With `errore` set the buffer fails from the start, for a descriptor known to be bad.
    explicit BufferLettura(int fd, int errore = 0);
    int errore() const { return errore_; }
    std::ptrdiff_t leggi_diretto(char* dove, std::size_t quanti) override;

  protected:
    int_type underflow() override;

  private:
    std::ptrdiff_t leggi(char* dove, std::size_t quanti);

    int fd_;
    int errore_ = 0;
    std::unique_ptr<char[]> spazio_;
};

// Writing. After a failed write every later write fails too, and errore() says why.
class BufferScrittura : public std::streambuf {
  public:
    explicit BufferScrittura(int fd, int errore = 0);
    int errore() const { return errore_; }

  protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* dati, std::streamsize quanti) override;
    int sync() override;

  private:
    bool scrivi_tutto(const char* dati, std::size_t quanti);
    bool svuota();

    int fd_;
    int errore_ = 0;
    std::unique_ptr<char[]> spazio_;
};

}  // namespace turnolista
