#pragma once
// The program's files in the current folder. An output file's new content is written first,
// and put in the file's place only once it is complete (see sostituzione.hpp), so a pass
// that fails, or is interrupted, leaves the earlier file as it was.
//
// Writing a file means what opening it for writing would mean: a file the user may not
// write is refused, a symbolic link is followed by the system as any program's open() is,
// and the replaced file keeps its permissions, owner, group, ACL, extended attributes and
// hard links. How a destination is written is chosen once, when it is prepared (Modo).

#include <memory>
#include <optional>
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
    // Opens `nome`; where it is missing but the same name with one more ".txt" is there, as
    // Notepad's Save dialog makes it while Explorer hides the extension, says so.
    static Risultato<std::unique_ptr<FileLettura>> apri(std::string_view nome);
    FileLettura(const FileLettura&) = delete;
    FileLettura& operator=(const FileLettura&) = delete;
    ~FileLettura() = default;

    // The file's bytes as they are: what they hold is the reader's to say.
    Risultato<std::size_t> leggi(std::span<char> dove) override { return descrittore_.leggi(dove); }
    const Descrittore& descrittore() const { return descrittore_; }

  private:
    explicit FileLettura(Descrittore descrittore) : descrittore_(std::move(descrittore)) {}
    static Risultato<std::unique_ptr<FileLettura>> apri_il_nome(std::string_view nome);

    Descrittore descrittore_;
};

class FileNuovo {
  public:
    // How the new content takes the destination's place.
    enum class Modo {
        // A temporary file beside the destination, made like it, renamed over it.
        rinomina,
        // Copied into the destination itself, which a rename would change (another owner's
        // file, hard links, a symbolic link, a folder closed to new files, an ACL that
        // cannot be given to a new file), with its old content in a named backup meanwhile.
        sul_posto,
        // Written straight into a device or a pipe, which has no content to keep.
        dispositivo
    };
    // Where the new content goes and how it is put in place; each system has its own.
    struct Piano;

    // Prepares the new content of `destinazione`: refuses, before anything is written, a
    // destination that is a folder, that the user could not open for writing, or that is
    // `originale` itself. A device or a pipe is opened here, waiting for a reader.
    static Risultato<std::unique_ptr<FileNuovo>> crea(std::string_view destinazione,
                                                      const FileLettura& originale);
    // Removes the temporary file unless it has been put in place.
    ~FileNuovo();
    FileNuovo(const FileNuovo&) = delete;
    FileNuovo& operator=(const FileNuovo&) = delete;

    std::ostream& flusso() { return flusso_; }
    const std::string& destinazione() const { return destinazione_; }

    Modo modo() const;

    // Completes the new content and does all that can fail before any file of the pass is
    // put in place: writing it out, keeping the old content aside, reserving room.
    Esito chiudi();

  private:
    FileNuovo(Descrittore contenuto, std::string destinazione, std::unique_ptr<Piano> piano);
    friend Esito sostituisci(std::span<FileNuovo* const> file);
    // Whether the destination can still take the new content.
    Esito verifica() const;
    Esito metti_al_posto();
    // After a later file of the pass failed: the earlier content back in its place.
    void rimetti();
    // After every file of the pass is in place: what was kept for putting back goes.
    void conferma();
    // Every write so far done, or the first that failed.
    Esito svuota();

    Descrittore contenuto_;
    std::string destinazione_;
    std::unique_ptr<Piano> piano_;
    BufferScrittura buffer_;
    std::ostream flusso_;
};

// The name of a file in the current folder, as it is written there (where names are not
// told apart by case, it may differ from `nome` in case); nullopt when there is none.
std::optional<std::string> trova(std::string_view nome);

}  // namespace turnolista::sistema
