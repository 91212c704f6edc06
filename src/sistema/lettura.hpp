#pragma once
// The fixture list, "originale.txt", which the program only ever reads, and the folder it is
// looked for in: where that is, and what else is there. Names and paths are UTF-8 on
// Windows, the system's bytes elsewhere.

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "comune/esito.hpp"
#include "comune/sorgente.hpp"
#include "sistema/descrittore.hpp"

namespace turnolista::sistema {

class FileLettura final : public Sorgente {
  public:
    // Opens `nome`; a list that another program holds and shares with no one says so.
    static Risultato<std::unique_ptr<FileLettura>> apri(std::string_view nome);
    FileLettura(const FileLettura&) = delete;
    FileLettura& operator=(const FileLettura&) = delete;
    ~FileLettura() = default;

    // The file's bytes as they are: what they hold is the reader's to say.
    Risultato<std::size_t> leggi(std::span<char> dove) override { return descrittore_.leggi(dove); }
    const Descrittore& descrittore() const { return descrittore_; }

  private:
    explicit FileLettura(Descrittore descrittore) : descrittore_(std::move(descrittore)) {}

    Descrittore descrittore_;
};

// The current folder's full path, as the system shows it; empty where it cannot be told.
std::string cartella_corrente();

// The names in the current folder, as they are stored; none where it cannot be read.
std::vector<std::string> nomi_nella_cartella();

enum class Voce { nessuna, file, cartella };
// What `percorso` names: a file, a folder, or nothing that can be seen.
Voce che_cosa_e(std::string_view percorso);

}  // namespace turnolista::sistema
