#include "ricerca/ricerca.hpp"

#include <ostream>

#include "comune/costanti.hpp"
#include "ricerca/lettore.hpp"

namespace turnolista {

bool contiene(std::string_view riga, std::string_view nome) {
    if (nome.empty()) {
        return false;
    }
    // find() jumps from one occurrence of the name's first byte to the next with memchr,
    // many bytes at a time, and compares only there; the name is short (under NAME bytes),
    // so even a line full of that byte costs a small multiple of its length.
    return riga.find(nome) != std::string_view::npos;
}

EsitoRicerca cerca(std::istream& originale, std::string_view nome, std::ostream& uscita,
                   bool riga_vuota_dopo) {
    const std::string_view dopo_riga = riga_vuota_dopo ? "\n\n" : "\n";
    LettoreRighe lettore(originale);
    EsitoRicerca esito;
    std::string_view riga;
    for (int m = 0; m < NUM; ++m) {
        const auto stato = lettore.leggi(riga);
        if (stato == LettoreRighe::Stato::errore) {
            esito.esito = Esito::errore_lettura;
            return esito;
        }
        if (stato == LettoreRighe::Stato::fine) {
            return esito;
        }
        if (contiene(riga, nome)) {
            uscita.write(riga.data(), static_cast<std::streamsize>(riga.size()));
            uscita.write(dopo_riga.data(), static_cast<std::streamsize>(dopo_riga.size()));
            if (!uscita) {
                esito.esito = Esito::errore_scrittura;
                return esito;
            }
            ++esito.RIGHE;
        }
    }
    switch (lettore.leggi(riga)) {
        case LettoreRighe::Stato::errore:
            esito.esito = Esito::errore_lettura;
            break;
        case LettoreRighe::Stato::riga:
            esito.troncato = true;
            break;
        case LettoreRighe::Stato::fine:
            break;
    }
    return esito;
}

}  // namespace turnolista
