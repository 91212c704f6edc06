#pragma once
// The files a pass writes in the current folder: output that any run makes again, while
// "originale.txt" is only ever read (lettura.hpp).
//
// A new file is written in three steps:
//
//     auto f = FileNuovo::crea("calendario.txt", originale);  // prepared, or refused
//     scrivi((*f)->flusso(), ...);                              // the new content, on its way
//     Esito e = (*f)->metti_al_posto();                         // in place, or why not
//
// and its states are:
//   prepared  crea() has chosen how the file is written and refused what cannot be: a
//             folder, a file the user may not write, the fixture list itself. The new
//             content goes to a temporary file; the destination is as it was.
//   in place  metti_al_posto() has succeeded: the destination holds the new content whole.
//   dropped   the object went, or metti_al_posto() failed, before that: its temporary file
//             is removed. A signal that ends the program (see segnali.hpp) removes it too;
//             SIGKILL, a crash or a power cut may leave it, hidden.
//
// How a destination is written is chosen once, in crea():
//   replace        a missing file, or an ordinary one of the user's (one link, in a folder
//                  that takes new files, with nothing a new file cannot be given): the new
//                  content goes into a new file beside it (".calendario.txt.PID"), made with
//                  the old one's mode, owner and ACL, and renamed over it. A pass that fails
//                  or is killed leaves the old file whole.
//   write through  anything else (a symbolic link, a file with other hard links, another
//                  user's file, a folder closed to new files, a device, a pipe): the content
//                  waits in the temporary folder ($TMPDIR, else /tmp) until it is complete;
//                  then the destination is opened as the shell's ">" opens it, with every
//                  protection of the kernel's, locked against another run, emptied and
//                  written. A kill or a disk failure during that write can leave it short.
// On Windows every destination is replaced, with ReplaceFileW, which keeps the old file's
// ACL, owner and creation time.

#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "comune/esito.hpp"
#include "sistema/descrittore.hpp"
#include "sistema/flussi.hpp"
#include "sistema/lettura.hpp"

namespace turnolista::sistema {

class FileNuovo {
  public:
    // How this system writes a destination; each system has its own, and says how it goes.
    struct Piano;
    struct FinePiano {
        void operator()(Piano* piano) const;
    };
    using PianoProprio = std::unique_ptr<Piano, FinePiano>;

    // Prepares the new content of `destinazione`, which must never be `originale`; each LF
    // written is made `fine_riga`.
    static Risultato<std::unique_ptr<FileNuovo>> crea(std::string_view destinazione,
                                                      const FileLettura& originale,
                                                      FineRiga fine_riga = fine_riga_del_sistema());
    ~FileNuovo();
    FileNuovo(const FileNuovo&) = delete;
    FileNuovo& operator=(const FileNuovo&) = delete;

    std::ostream& flusso() { return flusso_; }
    const std::string& destinazione() const { return destinazione_; }

    // Completes the new content and puts it in the destination's place; once.
    Esito metti_al_posto();

  private:
    FileNuovo(Descrittore contenuto, std::string destinazione, PianoProprio piano,
              FineRiga fine_riga);
    // Every write so far done, or the first that failed.
    Esito svuota();

    Descrittore contenuto_;
    std::string destinazione_;
    BufferScrittura buffer_;
    std::ostream flusso_;
    PianoProprio piano_;  // last, so that it goes first
};

// The name a new file is written under beside `destinazione`, by the process `processo`
// (in hexadecimal, with "-1", "-2" after it should that name be taken): hidden, and a few
// characters longer than the file's own name, so that a path that fits fits with it.
std::string nome_temporaneo(std::string_view destinazione, unsigned long processo, int tentativo);

}  // namespace turnolista::sistema
