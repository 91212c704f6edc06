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

// Looks for the name with letter case and accents set aside, as long as no line holds it
// as typed.
class AltraGrafia {
  public:
    AltraGrafia(std::string_view nome, Codifica codifica)
        : nome_(piegata(nome, codifica, true, origine_)), codifica_(codifica) {}

    void esamina(std::string_view riga, Conteggio& conteggio) {
        if (conteggio.RIGHE > 0 || nome_.empty()) {
            return;
        }
        const std::string piegata_riga = piegata(riga, codifica_, true, origine_);
        if (const auto dove = piegata_riga.find(nome_); dove != std::string::npos) {
            if (conteggio.altra_grafia++ == 0) {
                const std::size_t da = origine_[dove];
                conteggio.come_scritto = riga.substr(da, origine_[dove + nome_.size()] - da);
            }
        }
    }

    // Whether the spelling found differs from `nome` in more than letter case.
    bool accenti(std::string_view nome, std::string_view come_scritto) {
        return piegata(nome, codifica_, false, origine_) !=
               piegata(come_scritto, codifica_, false, origine_);
    }

  private:
    std::vector<std::size_t> origine_;  // declared first: the constructor fills it
    std::string nome_;
    Codifica codifica_;
};

}  // namespace

Risultato<Conteggio> cerca(Sorgente& originale, std::string_view nome, const Consegna& copia,
                           Codifica codifica, const Consegna& ogni_riga) {
    LettoreRighe lettore(originale, Oggetto::file(FILE_ORIGINALE));
    AltraGrafia altra(nome, codifica);
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
            altra.esamina(**riga, conteggio);
        }
    }
    if (conteggio.RIGHE > 0) {
        conteggio.altra_grafia = 0;
        conteggio.come_scritto.clear();
    }
    conteggio.accenti = conteggio.altra_grafia > 0 && altra.accenti(nome, conteggio.come_scritto);
    return conteggio;
}

}  // namespace turnolista
