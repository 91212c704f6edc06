#pragma once
// Reads text one line at a time, in large blocks, whatever the length of the lines up to a
// limit. Used for the fixture file and for the console.

#include <cstddef>
#include <istream>
#include <memory>
#include <string_view>

#include "comune/costanti.hpp"

namespace turnolista {

// A stream buffer that can also read straight into the reader's memory, which spares a
// copy of every byte of a large file.
class LetturaDiretta {
  public:
    // Reads at most `quanti` bytes, at least one unless the data has ended: returns how
    // many, 0 at the end, -1 on failure.
    virtual std::ptrdiff_t leggi_diretto(char* dove, std::size_t quanti) = 0;

  protected:
    LetturaDiretta() = default;
    LetturaDiretta(const LetturaDiretta&) = default;
    LetturaDiretta(LetturaDiretta&&) = default;
    LetturaDiretta& operator=(const LetturaDiretta&) = default;
    LetturaDiretta& operator=(LetturaDiretta&&) = default;
    ~LetturaDiretta() = default;
};

class LettoreRighe {
  public:
    enum class Stato { riga, fine, errore, troppo_lunga };

    // Lines of more than `limite` bytes, not counting the newline, are refused.
    explicit LettoreRighe(std::istream& in, std::size_t limite = RIGA_MASSIMA);

    // On Stato::riga, `riga` holds the next line without its newline; it stays valid until
    // the next call. A last line without a newline is still a line. On Stato::errore the
    // stream's badbit is set as well. After Stato::troppo_lunga nothing more is read.
    Stato leggi(std::string_view& riga);

    // Whether anything follows the lines handed out so far (Stato::riga), reading at most
    // one block to find out.
    Stato altro();

    // Bytes read from the stream but not yet handed out.
    std::size_t non_consumati() const { return fine_ - inizio_; }

  private:
    void compatta();
    void cresci();
    bool riempi();
    bool riempi_da(std::streambuf& sorgente);

    std::istream& in_;
    LetturaDiretta* diretta_;  // the stream's buffer, where it can be read directly
    std::size_t limite_;
    std::unique_ptr<char[]> buffer_;
    std::size_t capienza_;
    std::size_t inizio_ = 0;  // first byte not yet handed out
    std::size_t fine_ = 0;    // one past the last byte read
    bool finito_ = false;
};

// A line typed at the console, without the carriage return that some terminals send.
std::string_view senza_ritorno_carrello(std::string_view riga);

}  // namespace turnolista
