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

namespace {

// Looks for the name in other capital letters, as long as no line holds it as typed.
class AltreMaiuscole {
  public:
    AltreMaiuscole(std::string_view nome, Codifica codifica)
        : nome_(minuscole(nome, codifica)), codifica_(codifica) {}

    void esamina(std::string_view riga, Conteggio& conteggio) const {
        if (conteggio.RIGHE > 0 || nome_.empty()) {
            return;
        }
        const std::string piccola = minuscole(riga, codifica_);
        if (const auto dove = piccola.find(nome_); dove != std::string::npos) {
            if (conteggio.altre_maiuscole++ == 0) {
                conteggio.come_scritto = std::string(riga.substr(dove, nome_.size()));
            }
        }
    }

  private:
    std::string nome_;
    Codifica codifica_;
};

}  // namespace

Risultato<Conteggio> cerca(Sorgente& originale, std::string_view nome, const Consegna& copia,
                           Codifica codifica, const Consegna& ogni_riga) {
    LettoreRighe lettore(originale, Oggetto::file(FILE_ORIGINALE));
    const AltreMaiuscole altre(nome, codifica);
    Conteggio conteggio;
    for (;;) {
        const auto riga = lettore.leggi();
        if (!riga) {
            return riga.errore();
        }
        if (!*riga) {
            break;
        }
        if (ogni_riga) {
            ogni_riga(**riga);
        }
        if (contiene(**riga, nome)) {
            copia(**riga);
            ++conteggio.RIGHE;
        } else {
            altre.esamina(**riga, conteggio);
        }
    }
    if (conteggio.RIGHE > 0) {
        conteggio.altre_maiuscole = 0;
        conteggio.come_scritto.clear();
    }
    return conteggio;
}

}  // namespace turnolista
