#include "sistema/file.hpp"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <optional>

#include "comune/costanti.hpp"
#include "sistema/segnali.hpp"

namespace turnolista::sistema {

namespace {

// The name a new file is written under beside `destinazione` (a path): hidden, in the same
// folder so that a rename puts it in place, with this process's id in hexadecimal and "-1",
// "-2" after it should that name be taken; of a long name only its start, so that a name
// that fits fits with what is added.
std::string nome_nascosto(std::string_view destinazione, int tentativo) {
    constexpr std::size_t LUNGHEZZA = 200;
    std::array<char, 2 * sizeof(unsigned long)> cifre{};
    char* const fine =
        std::to_chars(cifre.data(), cifre.data() + cifre.size(), proprio::processo(), 16).ptr;
    const std::size_t barra = destinazione.find_last_of("/\\") + 1;
    std::string nome(destinazione.substr(0, barra));
    nome.append(".").append(destinazione.substr(barra, LUNGHEZZA)).append(".");
    nome.append(cifre.data(), fine);
    if (tentativo > 0) {
        nome.append("-").append(std::to_string(tentativo));
    }
    return nome;
}

// A hidden file of this pass, removed unless it was put in place.
struct Nascosto {
    std::string nome;
    int segnale = -1;  // its place among the names a signal removes
    bool fatto = false;

    Nascosto() = default;
    Nascosto(const Nascosto&) = delete;
    Nascosto& operator=(const Nascosto&) = delete;
    ~Nascosto() {
        if (!nome.empty() && !fatto) {
            proprio::rimuovi(nome);
        }
        dimenticalo(segnale);
    }
};

Esito scrivi(const FileNuovo& file, const proprio::Destinazione& destinazione, Nascosto& nascosto) {
    const Oggetto oggetto = Oggetto::file(file.nome);
    for (int tentativo = 0; tentativo < 100; ++tentativo) {
        std::string nome = nome_nascosto(destinazione.percorso, tentativo);
        Esito esito;
        nascosto.segnale = crea_temporaneo(nome, [&] {
            esito = proprio::scrivi_nascosto(nome, destinazione, file.contenuto, oggetto);
        });
        if (esito.tipo != Esito::Tipo::scrittura || esito.causa != EEXIST) {
            nascosto.nome = std::move(nome);
            return esito;
        }
        dimenticalo(std::exchange(nascosto.segnale, -1));
    }
    return Esito::scrittura(oggetto, EEXIST);
}

}  // namespace

Risultato<Lista> proprio::leggi_tutta(
    std::uint64_t dimensione, const Oggetto& oggetto,
    const std::function<Risultato<std::size_t>(std::span<char>)>& leggi) {
    const auto troppo_grande = [&](std::uint64_t byte) {
        return Esito{.tipo = Esito::Tipo::troppo_grande,
                     .oggetto = oggetto,
                     .in_lettura = true,
                     .byte = byte};
    };
    if (dimensione > LISTA_MASSIMA) {
        return troppo_grande(dimensione);
    }
    // Room for one byte more than the file had, which tells a file that grew meanwhile, and
    // more as long as it goes on.
    Lista lista;
    for (std::size_t capienza = static_cast<std::size_t>(dimensione) + 1;;
         capienza = std::min(2 * capienza, LISTA_MASSIMA + 1)) {
        Memoria piu_grande = proprio::memoria(capienza);
        if (!piu_grande) {
            return Esito::lettura(oggetto, ENOMEM);
        }
        std::copy_n(lista.byte.get(), lista.quanti, piu_grande.get());
        lista.byte = std::move(piu_grande);
        std::size_t letti = 1;
        while (letti > 0 && lista.quanti < capienza) {
            const auto n = leggi({lista.byte.get() + lista.quanti, capienza - lista.quanti});
            if (!n) {
                return n.errore();
            }
            letti = *n;
            lista.quanti += letti;
        }
        if (lista.quanti > LISTA_MASSIMA) {
            return troppo_grande(lista.quanti);
        }
        if (letti == 0) {
            return lista;
        }
    }
}

Esito metti_al_posto(std::span<const FileNuovo> file, std::string_view originale) {
    const std::string lista = proprio::identita(originale);
    std::vector<proprio::Destinazione> destinazioni;
    for (const FileNuovo& uno : file) {
        auto destinazione = proprio::esamina(uno.nome);
        if (!destinazione) {
            return destinazione.errore();
        }
        // Replacing one name of a file would take it from the other, or the first file of
        // the pass from the second.
        const std::string& identita = (*destinazione).identita;
        std::optional<std::string_view> altro;
        if (!identita.empty() && identita == lista) {
            altro = originale;
        }
        for (std::size_t i = 0; i < destinazioni.size() && !identita.empty(); ++i) {
            altro = destinazioni[i].identita == identita ? file[i].nome : altro;
        }
        if (altro) {
            return {.tipo = Esito::Tipo::stesso_file,
                    .oggetto = Oggetto::file(uno.nome),
                    .altro = std::string(*altro)};
        }
        destinazioni.push_back(std::move(*destinazione));
    }
    std::vector<Nascosto> nascosti(file.size());
    for (std::size_t i = 0; i < file.size(); ++i) {
        if (Esito esito = scrivi(file[i], destinazioni[i], nascosti[i]); !esito.ok()) {
            return esito;
        }
    }
    for (std::size_t i = 0; i < file.size(); ++i) {
        Esito esito =
            proprio::rinomina(nascosti[i].nome, destinazioni[i], Oggetto::file(file[i].nome));
        if (!esito.ok()) {
            esito.gia_scritto = i > 0 ? file[0].nome : "";
            return esito;
        }
        nascosti[i].fatto = true;  // cppcheck-suppress unreadVariable ; read as it goes
    }
    return {};
}

}  // namespace turnolista::sistema
