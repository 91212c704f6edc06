#include "sistema/temporanei.hpp"

#include <algorithm>
#include <array>
#include <charconv>

namespace turnolista::sistema {

namespace {
bool cifre_esadecimali(std::string_view testo) {
    return !testo.empty() && std::all_of(testo.begin(), testo.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
    });
}
}  // namespace

std::string nome_temporaneo(std::string_view destinazione, unsigned long processo, int tentativo) {
    std::array<char, 2 * sizeof(unsigned long)> cifre{};
    char* const fine = std::to_chars(cifre.data(), cifre.data() + cifre.size(), processo, 16).ptr;
    std::string nome(".");
    nome.append(destinazione).append(".").append(cifre.data(), fine);
    if (tentativo > 0) {
        nome.append("-").append(std::to_string(tentativo));
    }
    return nome;
}

std::optional<unsigned long> processo_di(std::string_view nome, std::string_view destinazione) {
    if (!nome.starts_with('.') || !nome.substr(1).starts_with(destinazione)) {
        return std::nullopt;
    }
    nome.remove_prefix(1 + destinazione.size());
    if (nome.ends_with('~')) {
        nome.remove_suffix(1);
    }
    if (!nome.starts_with('.')) {
        return std::nullopt;
    }
    nome.remove_prefix(1);
    const std::string_view processo = nome.substr(0, nome.find('-'));
    const std::string_view tentativo =
        processo.size() < nome.size() ? nome.substr(processo.size() + 1) : "0";
    if (!cifre_esadecimali(processo) || processo.size() > 2 * sizeof(unsigned long) ||
        !std::all_of(tentativo.begin(), tentativo.end(),
                     [](char c) { return c >= '0' && c <= '9'; }) ||
        tentativo.empty()) {
        return std::nullopt;
    }
    unsigned long numero = 0;
    std::from_chars(processo.data(), processo.data() + processo.size(), numero, 16);
    return numero;
}

}  // namespace turnolista::sistema
