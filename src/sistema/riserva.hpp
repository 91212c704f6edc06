#pragma once
// The old content of a file that is rewritten in place, kept under a name of its own until
// the new content is there, as careful editors keep a backup while they write a file in
// place: "calendario.txt~" beside the file's name when the folder takes new files,
// otherwise in the temporary folder. SIGKILL, a crash or a power cut in the middle of the
// rewrite leaves it there, so nothing is lost that cannot be recovered.

#include <string>
#include <string_view>

#include "comune/esito.hpp"
#include "sistema/descrittore.hpp"

namespace turnolista::sistema {

// Copies all of `da`, from its start, to `a` at its current offset.
Esito copia_tutto(Descrittore& da, Descrittore& a);
// Empties `a` and writes all of `da` into it, and makes sure it is on the disk.
Esito riscrivi(Descrittore& da, Descrittore& a);

// A new file in the temporary folder, $TMPDIR or else /tmp, made from `modello` (a name
// that ends in XXXXXX) and opened for reading and writing; with `anonimo`, one that has no
// name and disappears when closed. Its failures are told as the temporary folder's.
struct FileTemporaneo {
    Descrittore descrittore;
    std::string percorso;  // empty for a file with no name
};
Risultato<FileTemporaneo> nella_cartella_temporanea(std::string_view modello, bool anonimo);

class Riserva {
  public:
    Riserva() = default;
    Riserva(Riserva&& altra) noexcept;
    Riserva& operator=(Riserva&& altra) noexcept;
    Riserva(const Riserva&) = delete;
    Riserva& operator=(const Riserva&) = delete;
    // Removes the backup, unless it is to be kept.
    ~Riserva();

    // Copies the content of `originale`, open for reading and writing, aside for the file
    // named `nome` in the current folder, and makes sure the copy is on the disk. A backup
    // that an interrupted run left under that name is kept, and refused, unless it holds
    // just what the file holds now.
    static Risultato<Riserva> crea(const std::string& nome, Descrittore& originale);

    bool presente() const { return copia_.aperto(); }
    const std::string& percorso() const { return percorso_; }

    // Writes the old content back into `file`.
    Esito rimetti(Descrittore& file);
    // Keeps the backup for good: the old content is nowhere else.
    void conserva();

  private:
    std::string percorso_;
    Descrittore copia_;
    int posto_ = -1;  // its place among the files a signal removes
    bool da_conservare_ = false;
};

}  // namespace turnolista::sistema
