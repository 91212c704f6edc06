#pragma once
// The program's files in the current folder. An output file is written under a temporary
// name beside the file it replaces and put in its place only once it is complete, so a
// pass that fails, or is interrupted, leaves the earlier file as it was.
//
// Writing a file means what opening it for writing would mean: a file the user may not
// write is refused, a symbolic link is written through, and the replaced file keeps its
// permissions, owner, group and hard links. Where a rename cannot keep them, the finished
// content is copied into the file in place, with the old content kept aside until the
// copy has succeeded.

#include <istream>
#include <memory>
#include <ostream>
#include <span>
#include <string>

#include "sistema/flussi.hpp"

namespace turnolista {

class FileLettura {
  public:
    // Opens `percorso`; on failure returns nullptr and sets `causa` (an errno value).
    static std::unique_ptr<FileLettura> apri(const std::string& percorso, int& causa);
    ~FileLettura();
    FileLettura(const FileLettura&) = delete;
    FileLettura& operator=(const FileLettura&) = delete;

    std::istream& flusso() { return flusso_; }
    int errore() const { return buffer_.errore(); }

  private:
    explicit FileLettura(int fd);

    int fd_;
    BufferLettura buffer_;
    std::istream flusso_;
};

class FileNuovo {
  public:
    struct Piano;

    // Prepares the new content of `destinazione`: refuses, before anything is written, a
    // destination that is a folder or that the user could not open for writing. On
    // failure returns nullptr and sets `causa`.
    static std::unique_ptr<FileNuovo> crea(const std::string& destinazione, int& causa);
    // Removes the temporary file unless it has been put in place.
    ~FileNuovo();
    FileNuovo(const FileNuovo&) = delete;
    FileNuovo& operator=(const FileNuovo&) = delete;

    std::ostream& flusso() { return flusso_; }
    const std::string& destinazione() const { return destinazione_; }

    // Flushes the new content to its file; returns 0 or the reason it failed.
    int chiudi();

  private:
    FileNuovo(int fd, std::string destinazione, std::unique_ptr<Piano> piano);
    friend int sostituisci(std::span<FileNuovo* const> file, std::string& fallito);
    int verifica() const;
    int metti_al_posto();
    int copia_sul_posto() const;

    int fd_;
    std::string destinazione_;
    std::unique_ptr<Piano> piano_;
    BufferScrittura buffer_;
    std::ostream flusso_;
};

// Puts the closed files in place of their destinations, in the order given. Every
// destination is checked first, so that a pass does not replace one file and then fail on
// the next; the files are put in place together, with the terminating signals held back,
// under a lock on the current folder that another run in the same folder waits for.
// Returns 0, or the reason with the name of the destination that failed in `fallito`.
int sostituisci(std::span<FileNuovo* const> file, std::string& fallito);

}  // namespace turnolista
