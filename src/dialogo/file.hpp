#pragma once
// The program's files in the current directory. An output file is written under a
// temporary name beside it and renamed over the old file only once it is complete, so a
// pass that fails, or is interrupted, leaves the earlier file as it was.

#include <istream>
#include <memory>
#include <ostream>
#include <span>
#include <string>

#include "dialogo/flussi.hpp"

namespace turnolista {

// A file that could not be read or written, and the system's reason (an errno value).
struct ErroreFile {
    std::string file;
    bool scrittura;
    int causa;
};

class FileLettura {
  public:
    // Opens `percorso`; on failure returns nullptr and sets `causa`.
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
    // Creates the temporary file for `destinazione`; on failure returns nullptr and sets
    // `causa`.
    static std::unique_ptr<FileNuovo> crea(const std::string& destinazione, int& causa);
    // Removes the temporary file unless it has been put in place.
    ~FileNuovo();
    FileNuovo(const FileNuovo&) = delete;
    FileNuovo& operator=(const FileNuovo&) = delete;

    std::ostream& flusso() { return flusso_; }
    const std::string& destinazione() const { return destinazione_; }
    const std::string& temporaneo() const { return temporaneo_; }

    // Flushes and closes the file; returns 0 or the reason it failed.
    int chiudi();

  private:
    FileNuovo(int fd, std::string destinazione, std::string temporaneo);
    friend int sostituisci(std::span<FileNuovo* const> file, std::string& fallito);

    int fd_;
    std::string destinazione_;
    std::string temporaneo_;
    BufferScrittura buffer_;
    std::ostream flusso_;
    bool in_posto_ = false;
};

// Puts the closed files in place of their destinations. Every destination is checked
// first, so that a pass does not replace one file and then fail on the next. Returns 0,
// or the reason with the name of the destination that failed in `fallito`.
int sostituisci(std::span<FileNuovo* const> file, std::string& fallito);

// On Ctrl-C and the like, removes the temporary files being written before the program
// ends as the signal says.
void pulisci_su_segnale();

}  // namespace turnolista
