#include "sistema/cartella.hpp"

#include <filesystem>
#include <system_error>

#include "comune/costanti.hpp"

namespace turnolista::sistema {

Risultato<std::string> entra_nella_cartella(std::string_view percorso) {
    namespace fs = std::filesystem;
    // The path is UTF-8 on Windows, where a narrow string would be taken in the ANSI code
    // page; elsewhere char8_t takes the bytes as they are.
    std::error_code errore;
    const fs::path assoluto =
        fs::absolute(fs::path(std::u8string(percorso.begin(), percorso.end())), errore);
    const bool cartella = fs::is_directory(assoluto, errore);
    std::string lista(FILE_ORIGINALE);
    if (!cartella) {
        const std::u8string nome = assoluto.filename().u8string();
        lista.assign(nome.begin(), nome.end());
    }
    if (!errore) {
        fs::current_path(cartella ? assoluto : assoluto.parent_path(), errore);
    }
    if (errore) {
        return Esito::lettura(Oggetto::file(lista), errore.default_error_condition().value());
    }
    return lista;
}

}  // namespace turnolista::sistema
