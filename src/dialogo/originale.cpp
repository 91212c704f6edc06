#include "dialogo/originale.hpp"

#include <algorithm>
#include <array>
#include <cerrno>

#include "comune/codifica.hpp"
#include "comune/costanti.hpp"
#include "sistema/file.hpp"

namespace turnolista {

namespace {

bool solo_cifre(std::string_view testo) {
    return !testo.empty() && std::all_of(testo.begin(), testo.end(), cifra);
}

// "originale (2).txt"
bool copia_scaricata(std::string_view nome) {
    constexpr std::string_view PRIMA = "originale (";
    constexpr std::string_view DOPO = ").txt";
    return nome.size() > PRIMA.size() + DOPO.size() && nome.starts_with(PRIMA) &&
           nome.ends_with(DOPO) &&
           solo_cifre(nome.substr(PRIMA.size(), nome.size() - PRIMA.size() - DOPO.size()));
}

}  // namespace

std::optional<std::string> nome_simile(std::span<const std::string> nomi) {
    const std::array<bool (*)(std::string_view), 5> somiglianze{
        [](std::string_view n) { return n == FILE_ORIGINALE; },
        [](std::string_view n) { return n == "originale.txt.txt"; },
        copia_scaricata,
        [](std::string_view n) { return n == "originale.txt.csv"; },
        [](std::string_view n) { return n == "originale.csv"; },
    };
    for (const auto somiglia : somiglianze) {
        const auto trovato = std::find_if(nomi.begin(), nomi.end(), [&](const std::string& nome) {
            return nome != FILE_ORIGINALE && somiglia(minuscolo_ascii(nome));
        });
        if (trovato != nomi.end()) {
            return *trovato;
        }
    }
    return std::nullopt;
}

std::optional<std::string> zip_aperto(std::string_view cartella) {
    // Explorer's folder for it is "Temp" and a number, "_", and the zip's name.
    std::size_t da = 0;
    while (da < cartella.size()) {
        const std::size_t fine = std::min(cartella.find_first_of("\\/", da), cartella.size());
        const std::string_view parte = cartella.substr(da, fine - da);
        const std::string minuscola = minuscolo_ascii(parte);
        const std::size_t trattino = minuscola.find('_');
        if (minuscola.starts_with("temp") && minuscola.ends_with(".zip") &&
            trattino != std::string::npos && solo_cifre(minuscola.substr(4, trattino - 4))) {
            return std::string(parte.substr(trattino + 1));
        }
        da = fine + 1;
    }
    return std::nullopt;
}

Esito nella_cartella(Esito errore) {
    const std::string cartella = sistema::cartella_corrente();
    if (errore.tipo == Esito::Tipo::lettura && errore.causa == ENOENT) {
        errore.simile = nome_simile(sistema::nomi_nella_cartella()).value_or("");
    }
    errore.zip = zip_aperto(cartella).value_or("");
    errore.cartella = cartella;
    return errore;
}

}  // namespace turnolista
