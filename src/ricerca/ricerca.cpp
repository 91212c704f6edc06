#include "ricerca/ricerca.hpp"

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

EsitoRicerca cerca(std::istream& originale, std::string_view nome,
                   const std::function<bool(std::string_view)>& copia) {
    LettoreRighe lettore(originale);
    EsitoRicerca esito;
    std::string_view riga;
    for (int m = 0; m < NUM; ++m) {
        switch (lettore.leggi(riga)) {
            case LettoreRighe::Stato::riga:
                break;
            case LettoreRighe::Stato::fine:
                return esito;
            case LettoreRighe::Stato::errore:
                esito.esito = Esito::errore_lettura;
                return esito;
            case LettoreRighe::Stato::troppo_lunga:
                esito.esito = Esito::riga_troppo_lunga;
                esito.riga = m + 1;
                return esito;
        }
        if (contiene(riga, nome)) {
            if (!copia(riga)) {
                esito.esito = Esito::errore_scrittura;
                return esito;
            }
            ++esito.RIGHE;
        }
    }
    // Only whether more follows matters, not how much: a huge tail is never read.
    switch (lettore.altro()) {
        case LettoreRighe::Stato::errore:
            esito.esito = Esito::errore_lettura;
            break;
        case LettoreRighe::Stato::riga:
            esito.troncato = true;
            break;
        default:
            break;
    }
    return esito;
}

}  // namespace turnolista
