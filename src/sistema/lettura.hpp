#pragma once
// The fixture list, "originale.txt", which the program only ever reads, and the names of the
// files in the current folder that a user may have meant by it.

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "comune/esito.hpp"
#include "comune/sorgente.hpp"
#include "sistema/descrittore.hpp"

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

// The name of a file in the current folder, as it is written there (where names are not
// told apart by case, it may differ from `nome` in case); nullopt when there is none.
std::optional<std::string> trova(std::string_view nome);

}  // namespace turnolista::sistema
