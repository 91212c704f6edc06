#include "sistema/file.hpp"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <string>

namespace turnolista::sistema {

FileNuovo::FileNuovo(Descrittore contenuto, std::string destinazione, PianoProprio piano,
                     FineRiga fine_riga)
    : contenuto_(std::move(contenuto)),
      destinazione_(std::move(destinazione)),
      buffer_(contenuto_, fine_riga),
      flusso_(&buffer_),
      piano_(std::move(piano)) {}

FileNuovo::~FileNuovo() = default;

// The content flushed, failures of the writes before included.
Esito FileNuovo::svuota() {
    flusso_.flush();
    if (!buffer_.esito().ok()) {
        return buffer_.esito();
    }
    return flusso_ ? Esito() : Esito::scrittura(Oggetto::file(destinazione_), EIO);
}

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

}  // namespace turnolista::sistema
