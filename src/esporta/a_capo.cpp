#include "esporta/lettore.hpp"

#include <functional>

#include "ricerca/ricerca.hpp"

namespace turnolista {

// The line under the record `riga` of the list as read; none for text of no list.
std::string_view Lettore::sotto(std::string_view riga) const {
    const std::less<> prima;
    if (prima(riga.data(), letto_.data()) ||
        prima(letto_.data() + letto_.size(), riga.data() + riga.size())) {
        return {};
    }
    std::string_view resto =
        letto_.substr(static_cast<std::size_t>(riga.data() - letto_.data()) + riga.size());
    prossima_riga(resto, tra_i_record());  // the end of the record's line
    return prossima_riga(resto, tra_i_record());
}

// Whether the line `riga` of cells `parti` goes on the record above: lined up by spaces, its
// wrapped cells under their columns, the record's first empty, no date nor time.
bool Lettore::prosegue(std::string_view riga, const std::vector<std::string>& parti) const {
    return !colonne_.inizi.empty() && riga.starts_with(' ') &&
           parti.size() == colonne_.inizi.size() && parti[0].empty() && !con_data(parti) &&
           !riposo(riga);
}

// A record's cells that the lines under it go on.
void Lettore::a_capo(std::string_view riga, std::vector<std::string>& celle) const {
    // With a sign, a record short of cells (a drawn table's, of its closing bar) and the line
    // under it hold one more between them than a record has: the one cut in two.
    const bool corta = celle.size() < colonne_.celle ||
                       (separatore == Separatore::barra && !senza_spazi(riga).ends_with('|'));
    for (int righe = 0; righe < 3 && (!colonne_.inizi.empty() || corta); ++righe) {
        riga = sotto(riga);
        auto parti = riga.starts_with(' ') || corta ? celle_di(riga, separatore)
                                                    : std::vector<std::string>();
        allinea(riga, parti, colonne_.inizi);
        if (prosegue(riga, parti)) {
            celle.resize(std::max(celle.size(), parti.size()));
            for (std::size_t j = 0; j < parti.size(); ++j) {
                celle[j].append(celle[j].empty() || parti[j].empty() ? "" : " ").append(parti[j]);
            }
            continue;
        }
        if (corta && colonne_.inizi.empty() && !parti.empty() && !con_data(parti) &&
            !riposo(riga) && celle.size() + parti.size() == colonne_.celle + 1) {
            celle.back().append(" ").append(parti.front());
            celle.insert(celle.end(), std::next(parti.begin()), parti.end());
        }
        return;
    }
}

// What a line of free text holds, its end perhaps on the line under it.
Letta Lettore::libera(std::string_view riga, std::string_view nome) const {
    const std::string testo = pulita(riga.substr(0, RIGA_LUNGA));
    Letta letta = leggi_libero(testo, squadre_, nome);
    // The date and time that the list's matches give, or the venue the line ends with, may go on
    // in the line under it, which names no match.
    const bool senza_data = datate_ && letta.data.empty() && letta.ora.empty();
    const bool luogo = testo.size() >= 60 && !letta.luogo.empty() && testo.ends_with(letta.luogo);
    if (letta.tipo != Letta::Tipo::partita || !(senza_data || luogo)) {
        return letta;  // most lines
    }
    const std::string_view grezza = sotto(riga);
    const std::string seguito = pulita(grezza.substr(0, RIGA_LUNGA));
    const Letta altra = leggi_libero(seguito, squadre_);
    const bool data_e_ora = !altra.data.empty() && !altra.ora.empty();
    const bool nulla = altra.tipo == Letta::Tipo::altro && altra.data.empty() && altra.ora.empty();
    // A chat's next message, a bullet or a label starts a line of its own; quote marks do not.
    const bool di_seguito =
        !seguito.empty() && grezza.substr(std::min(grezza.find_first_not_of("> \t"), grezza.size()))
                                .starts_with(seguito[0]);
    if (di_seguito && !riposo(seguito) && altra.tipo != Letta::Tipo::partita &&
        (senza_data ? data_e_ora : nulla && seguito.find(':') == FINE)) {
        letta = leggi_libero(testo + " " + seguito, squadre_, nome);
    }
    return letta;
}

}  // namespace turnolista
