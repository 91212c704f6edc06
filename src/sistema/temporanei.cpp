#include "sistema/temporanei.hpp"

#include <algorithm>
#include <charconv>

namespace turnolista::sistema {

std::string nome_temporaneo(std::string_view destinazione, unsigned long processo, int tentativo) {
    std::string nome(".");
    nome.append(destinazione).append(".").append(std::to_string(processo));
    return nome.append("-").append(std::to_string(tentativo));
}

std::optional<unsigned long> processo_di(std::string_view nome, std::string_view destinazione) {
    const auto cifre = [](std::string_view testo) {
        return !testo.empty() &&
               std::all_of(testo.begin(), testo.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (!nome.starts_with('.') || !nome.substr(1).starts_with(destinazione)) {
        return std::nullopt;
    }
    nome.remove_prefix(1 + destinazione.size());
    if (nome.ends_with('~')) {
        nome.remove_suffix(1);
    }
    const auto trattino = nome.find('-');
    if (!nome.starts_with('.') || trattino == std::string_view::npos ||
        !cifre(nome.substr(1, trattino - 1)) || !cifre(nome.substr(trattino + 1))) {
        return std::nullopt;
    }
    unsigned long processo = 0;
    const char* const fine = nome.data() + trattino;
    if (std::from_chars(nome.data() + 1, fine, processo).ptr != fine) {
        return std::nullopt;
    }
    return processo;
}

}  // namespace turnolista::sistema
