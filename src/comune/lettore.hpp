#pragma once
// Reads text one line at a time, in large blocks, whatever the length of the lines up to a
// limit. Used for the fixture list and for the console.

#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>

#include "comune/costanti.hpp"
#include "comune/esito.hpp"
#include "comune/sorgente.hpp"

namespace turnolista {

class LettoreRighe {
  public:
    // What becomes of a line of more than the limit.
    enum class Lunghe {
        errore,  // reading ends with an error that names the line
        tronca   // its first bytes are handed out, one more than the limit, the rest passed over
    };

    // `limite` bytes at most a line, not counting its line end; `oggetto` is what the source
    // is, for the error of a line too long. A line ends with LF, CR LF, or the end of the
    // data: a CR just before that end is no part of the line, as Windows and its consoles
    // end lines with CR LF; any other CR is.
    LettoreRighe(Sorgente& sorgente, Oggetto oggetto, std::size_t limite = RIGA_MASSIMA,
                 Lunghe lunghe = Lunghe::errore);

    // The next line without its line end, valid until the next call; nullopt at the end. A
    // last line without a newline is still a line. After an error nothing more is read.
    Risultato<std::optional<std::string_view>> leggi();

  private:
    void compatta();
    void cresci();
    std::optional<Esito> riempi();
    Risultato<bool> salta_resto();
    // The bytes from inizio_ up to `fine`, a CR that ends them not counted.
    std::size_t lunghezza(std::size_t fine) const {
        const std::size_t n = fine - inizio_;
        return n > 0 && buffer_[fine - 1] == '\r' ? n - 1 : n;
    }
    // Hands out the bytes from inizio_ up to `fine` as a line, and moves on to `dopo`: a
    // line of more than the limit cut to one byte past it, with its rest to pass over when
    // `a_capo` says that the line goes on. Here, so that the reading of each line makes no
    // call for it.
    std::string_view consegna(std::size_t fine, std::size_t dopo, bool a_capo) {
        std::string_view riga(buffer_.get() + inizio_, fine - inizio_);
        if (lunghezza(fine) > limite_) {
            riga = riga.substr(0, limite_ + 1);
            da_saltare_ = !a_capo;
        } else if (a_capo && riga.ends_with('\r')) {
            riga.remove_suffix(1);
        }
        inizio_ = dopo;
        ++righe_;
        return riga;
    }

    Sorgente& sorgente_;
    Oggetto oggetto_;
    std::size_t limite_;
    std::unique_ptr<char[]> buffer_;
    std::size_t capienza_;
    std::size_t inizio_ = 0;  // first byte not yet handed out
    std::size_t fine_ = 0;    // one past the last byte read
    long righe_ = 0;          // lines handed out
    bool finito_ = false;
    Lunghe lunghe_;
    bool da_saltare_ = false;  // the rest of a line handed out cut short is still to come
};

}  // namespace turnolista
