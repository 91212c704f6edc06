#include "ricerca/ricerca.hpp"

#include "comune/costanti.hpp"
#include "comune/lettore.hpp"

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

Risultato<Conteggio> cerca(Sorgente& originale, std::string_view nome,
                           const std::function<void(std::string_view)>& copia) {
    LettoreRighe lettore(originale, Oggetto::file(FILE_ORIGINALE));
    Conteggio conteggio;
    for (int m = 0; m < NUM; ++m) {
        const auto riga = lettore.leggi();
        if (!riga) {
            return riga.errore();
        }
        if (!*riga) {
            return conteggio;
        }
        if (contiene(**riga, nome)) {
            copia(**riga);
            ++conteggio.RIGHE;
        }
    }
    // Only whether more follows matters, not how much: a huge tail is never read.
    const auto altro = lettore.segue_altro();
    if (!altro) {
        return altro.errore();
    }
    conteggio.troncato = *altro;
    return conteggio;
}

}  // namespace turnolista
