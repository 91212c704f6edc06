#pragma once
// The program's files in the current folder. An output file is written under a temporary
// name beside the file it replaces and put in its place only once it is complete (see
// sostituzione.hpp), so a pass that fails, or is interrupted, leaves the earlier file as
// it was.
//
// Writing a file means what opening it for writing would mean: a file the user may not
// write is refused, a symbolic link is written through, and the replaced file keeps its
// permissions, owner, group and hard links. Where a rename cannot keep them, the finished
// content is copied into the file in place, with the old content kept aside until the
// copy has succeeded.

#include <memory>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "comune/esito.hpp"
#include "comune/sorgente.hpp"
#include "sistema/descrittore.hpp"
#include "sistema/flussi.hpp"

namespace turnolista::sistema {

class FileLettura final : public Sorgente {
  public:
    static Risultato<std::unique_ptr<FileLettura>> apri(std::string_view nome);
    FileLettura(const FileLettura&) = delete;
    FileLettura& operator=(const FileLettura&) = delete;
    ~FileLettura() = default;

    Risultato<std::size_t> leggi(std::span<char> dove) override { return testo_.leggi(dove); }

  private:
    explicit FileLettura(Descrittore descrittore);

    Descrittore descrittore_;
    LetturaTesto testo_;
};

class FileNuovo {
  public:
    // Where the new content goes and how it is put in place; each system has its own.
    struct Piano;

    // Prepares the new content of `destinazione`: refuses, before anything is written, a
    // destination that is a folder or that the user could not open for writing.
    static Risultato<std::unique_ptr<FileNuovo>> crea(std::string_view destinazione);
    // Removes the temporary file unless it has been put in place.
    ~FileNuovo();
    FileNuovo(const FileNuovo&) = delete;
    FileNuovo& operator=(const FileNuovo&) = delete;

    std::ostream& flusso() { return flusso_; }
    const std::string& destinazione() const { return destinazione_; }

    // Flushes the new content to its file, saying whether all of it was written.
    Esito chiudi();

  private:
    FileNuovo(Descrittore contenuto, std::string destinazione, std::unique_ptr<Piano> piano);
    friend Esito sostituisci(std::span<FileNuovo* const> file);
    // Whether the destination can still take the new content.
    Esito verifica() const;
    Esito metti_al_posto();
    // Every write so far done, or the first that failed.
    Esito svuota();

    Descrittore contenuto_;
    std::string destinazione_;
    std::unique_ptr<Piano> piano_;
    BufferScrittura buffer_;
    std::ostream flusso_;
};

}  // namespace turnolista::sistema
