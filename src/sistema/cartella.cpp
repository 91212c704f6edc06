#include "sistema/sistema.hpp"

#include <cstdint>
#include <new>

#include "sistema/proprio.hpp"

namespace turnolista::sistema {

Risultato<std::string> leggi_lista(std::string_view nome) {
    const Oggetto oggetto = Oggetto::file(nome);
    const fs::path via = percorso(nome);
    // A folder, a named pipe, a socket or a device is told by its kind before it is opened,
    // so that no writer of a pipe is waited for.
    std::error_code errore;
    const fs::file_status stato = fs::status(via, errore);
    if (fs::exists(stato) && !fs::is_regular_file(stato)) {
        return non_regolare(oggetto, stato.type(), true);
    }
#ifdef _WIN32
    const Aperto file(::CreateFileW(via.c_str(), GENERIC_READ, CONDIVISO, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    // NUL, CON and their kind are devices in every folder.
    if (file && ::GetFileType(file.h) != FILE_TYPE_DISK) {
        return non_regolare(oggetto, fs::file_type::character, true);
    }
#else
    // Not waiting for a writer either, should the name become a named pipe meanwhile.
    const Aperto file(::open(via.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
#endif
    if (!file) {
        return fallito(oggetto, true);
    }
    const std::uintmax_t byte = fs::file_size(via, errore);
    if (errore) {
        return Esito::del_sistema(oggetto, errore.default_error_condition().value(), true);
    }
    std::string testo;
    try {
        testo.reserve(byte > LISTA_MASSIMA ? 0 : byte);
        std::array<char, std::size_t{64} * 1024> pezzo;  // not cleared: a read fills what is taken
        for (std::ptrdiff_t letti = 0;
             std::max<std::uint64_t>(byte, testo.size()) <= LISTA_MASSIMA &&
             (letti = leggi(file.h, pezzo)) != 0;) {
            if (letti < 0) {
                return fallito(oggetto, true);
            }
            testo.append(pezzo.data(), static_cast<std::size_t>(letti));
        }
    } catch (const std::bad_alloc&) {
        return Esito::del_sistema(oggetto, ENOMEM, true);
    }
    if (const std::uint64_t quanti = std::max<std::uint64_t>(byte, testo.size());
        quanti > LISTA_MASSIMA) {
        return Esito{.tipo = Esito::Tipo::troppo_grande,
                     .oggetto = oggetto,
                     .in_lettura = true,
                     .byte = quanti};
    }
    return testo;
}

Risultato<Origine> entra_nella_cartella(std::string_view percorso_utf8) {
    const std::string partenza = cartella_corrente();
    std::error_code errore;
    const fs::path assoluto = fs::absolute(percorso(percorso_utf8), errore);
    const bool cartella = fs::is_directory(assoluto, errore);
    const std::string lista =
        cartella ? std::string(FILE_ORIGINALE) : nome_utf8(assoluto.filename());
    if (!errore) {
        fs::current_path(cartella ? assoluto : assoluto.parent_path(), errore);
    }
    if (errore) {
        return Esito::del_sistema(Oggetto::file(lista), errore.default_error_condition().value(),
                                  true);
    }
    std::string qui = cartella_corrente();
    return Origine{lista, qui == partenza ? "" : std::move(qui)};
}

std::string cartella_corrente() {
    std::error_code errore;
    return nome_utf8(fs::current_path(errore));
}

std::vector<std::string> nomi_nella_cartella() {
    std::vector<std::string> nomi;
    std::error_code errore;
    for (fs::directory_iterator voce(".", errore), fine; !errore && voce != fine;
         voce.increment(errore)) {
        nomi.push_back(nome_utf8(voce->path().filename()));
    }
    return nomi;
}

bool esiste(std::string_view percorso_utf8) {
    std::error_code errore;
    return fs::exists(fs::status(percorso(percorso_utf8), errore));
}

}  // namespace turnolista::sistema
