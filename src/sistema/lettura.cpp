#include "sistema/lettura.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>

namespace turnolista::sistema {

Risultato<std::unique_ptr<FileLettura>> FileLettura::apri(std::string_view nome) {
    auto file = apri_il_nome(nome);
    if (file || file.errore().causa() != ENOENT) {
        return file;
    }
    std::string maiuscola(nome);
    maiuscola.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(maiuscola[0])));
    const std::array<std::string, 2> doppi{std::string(nome) + ".txt", maiuscola + ".txt"};
    std::optional<std::string> trovato;
    if (std::any_of(doppi.begin(), doppi.end(), [&](const std::string& doppio) {
            return (trovato = trova(doppio)).has_value();
        })) {
        return Esito::su_file(Esito::Tipo::nome_doppio, nome).con_simile(*trovato);
    }
    return file;
}

}  // namespace turnolista::sistema
