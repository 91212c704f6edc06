#pragma once
// Reads text one line at a time, in large blocks, whatever the length of the lines.
// Used for the fixture file, for "temp.txt" read back by the exports and for the console.

#include <cstddef>
#include <istream>
#include <string_view>
#include <vector>

namespace turnolista {

class LettoreRighe {
  public:
    enum class Stato { riga, fine, errore };

    explicit LettoreRighe(std::istream& in);

    // On Stato::riga, `riga` holds the next line without its newline; it stays valid until
    // the next call. A last line without a newline is still a line. On Stato::errore the
    // stream's badbit is set as well.
    Stato leggi(std::string_view& riga);

  private:
    bool riempi();

    std::istream& in_;
    std::vector<char> buffer_;
    std::size_t inizio_ = 0;  // first byte not yet handed out
    std::size_t fine_ = 0;    // one past the last byte read
    bool finito_ = false;
};

// A line typed at the console, without the carriage return that some terminals send.
std::string_view senza_ritorno_carrello(std::string_view riga);

}  // namespace turnolista
