#include "esporta/parti.hpp"

#include <array>
#include <functional>

#include "ricerca/ricerca.hpp"

namespace turnolista {

namespace {

// The bytes of a list's start that tell whether it writes its matches as blocks of lines.
constexpr std::size_t INIZIO = 16384;

// A paragraph's lines, and how many give a date alone, a time alone, a match, a label; its "vs".
struct Paragrafo {
    static constexpr std::size_t RIGHE = 12;

    void aggiungi(std::string_view riga) {
        // A block is a few lines: a longer paragraph is none, and its lines are not read.
        if (righe.size() > RIGHE) {
            return;
        }
        righe.push_back(riga);
        const std::string campo = pulita(riga.substr(0, RIGA_LUNGA));
        // A line of the match, by its label's name where it has one: "Palestra: A - B" is none;
        // a date's label says the block's date, "Data: da definire" too.
        const std::string_view etichettata = senza_spazi(riga);
        const std::string_view nome =
            etichettata.substr(0, etichetta(etichettata) > 0 ? etichettata.find(':') : 0);
        // A note in brackets after the date is no part of it: "Mer 21/10 (recupero)".
        const bool data = data_in_cella(std::string_view(campo).substr(0, campo.rfind(" ("))) ||
                          una_di("data", nome);
        const bool di_partita = !nome.empty()
                                    ? campo_nominato(nome) == &Colonne::partita
                                    : incontro(campo) && !di_luogo(campo) && !risultato(campo);
        // "15:30 – 17:00" is no match; a calendar's "Tutto il giorno" is its time.
        const bool ora = !data && (leggi_ora(campo) || trova_ascii(campo, "tutto il g") == 0);
        date += data ? 1 : 0;
        ore += ora ? 1 : 0;
        partite += !data && !ora && di_partita ? 1 : 0;
        etichette += nome.empty() ? 0 : 1;
        vs = vs || una_di("vs", campo);
    }

    // A match's block: one date alone, and its teams on lines of their own, or labelled,
    // "Squadre:", or on a line of their own with the time on another.
    bool blocco() const {
        return righe.size() <= RIGHE && date == 1 &&
               ((vs && partite == 0) || (partite == 1 && (etichette >= 2 || ore == 1)));
    }

    std::vector<std::string_view> righe;
    std::size_t date = 0, ore = 0, partite = 0, etichette = 0;
    bool vs = false;
};

// Makes the line end between the lines `prima` and `dopo` of `testo` a cell's in its copy `unito`,
// every byte where it was.
void unisci(std::string_view testo, std::string_view prima, std::string_view dopo,
            std::string& unito) {
    const auto fine = static_cast<std::size_t>(prima.data() - testo.data()) + prima.size();
    const auto da = static_cast<std::size_t>(dopo.data() - testo.data());
    unito.replace(fine, da - fine, std::string(da - fine - 1, ' ') + '\t');
}

}  // namespace

std::size_t terne(std::string_view testo, std::string* unito) {
    std::size_t quante = 0;
    std::array<std::string_view, 3> ultime{};  // the last three lines not empty
    // A team's name alone: no date, time, result, match nor round; "6ª Giornata" is none.
    const auto nome = [](std::string_view riga) {
        Letta letta;
        const auto pezzi = pezzi_di(riga, letta);
        return pezzi.size() == 1 && pezzi[0] == riga && letta.data.empty() && letta.ora.empty() &&
               !incontro(riga) && nominata(riga) && riga.find_first_of("\xC2\xAA\xC2\xB0") == FINE;
    };
    for (std::string_view resto = testo;
         !resto.empty() && (unito != nullptr || testo.size() - resto.size() <= INIZIO);) {
        const std::string_view riga = senza_spazi(prossima_riga(resto));
        if (riga.empty()) {
            continue;
        }
        ultime = {ultime[1], ultime[2], riga};
        // A time, a result or a mark alone is short: most lines are not read.
        const std::string campo = riga.size() <= 16 ? pulita(riga) : std::string();
        const bool chiude = (leggi_ora(campo) && campo.size() <= 8) || risultato(campo) ||
                            (!rinvio_di(campo, false).empty() && campo.size() <= 12);
        if (chiude && nome(ultime[0]) && nome(ultime[1])) {
            ++quante;
            for (std::size_t i = 1; unito != nullptr && i < ultime.size(); ++i) {
                unisci(testo, ultime[i - 1], ultime[i], *unito);
            }
            ultime = {};
        }
    }
    return quante;
}

std::size_t blocchi(std::string_view testo, std::string* unito) {
    std::size_t quanti = 0;
    Paragrafo paragrafo;
    for (std::string_view resto = testo; !paragrafo.righe.empty() || !resto.empty();) {
        const std::string_view riga = resto.empty() ? "" : prossima_riga(resto);
        if (riga.find_first_not_of(" \t") != FINE) {
            paragrafo.aggiungi(riga);
            if (unito != nullptr || testo.size() - resto.size() <= INIZIO) {
                continue;
            }
            break;  // enough to tell
        }
        const bool blocco = paragrafo.blocco();
        const auto& righe = paragrafo.righe;
        for (std::size_t i = 1; blocco && unito != nullptr && i < righe.size(); ++i) {
            unisci(testo, righe[i - 1], righe[i], *unito);
        }
        quanti += blocco ? 1 : 0;
        paragrafo = {};
    }
    return quanti;
}

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
    // A chat's next message, a bullet or a label starts a line of its own; quote marks do not. A
    // page's footer, "Pagina 1 di 2", is no part of the record above.
    const bool di_seguito =
        !seguito.empty() && grezza.substr(std::min(grezza.find_first_not_of("> \t"), grezza.size()))
                                .starts_with(seguito[0]);
    const bool pagina = una_di("pagina pag. page", seguito.substr(0, seguito.find(' ')));
    if (di_seguito && !riposo(seguito) && !pagina && altra.tipo != Letta::Tipo::partita &&
        (senza_data ? data_e_ora : nulla && seguito.find(':') == FINE)) {
        letta = leggi_libero(testo + " " + seguito, squadre_, nome);
    }
    return letta;
}

// What a chat or a site writes under the match `letta`: its venue after a label, "Campo: PalaX",
// or as its block's last line, three down at most, past a mark that closes it: "⚠️ RINVIATA".
void sotto_la_partita(const Lettore& lettore, std::string_view resto, Letta& letta) {
    prossima_riga(resto);  // the match's line end
    std::array<std::string_view, 3> sotto{};
    std::size_t righe = 0;
    while (righe < sotto.size() && !resto.empty() && !lettore.in_celle &&
           !senza_spazi(sotto[righe] = prossima_riga(resto)).empty()) {
        ++righe;
    }
    const std::size_t e = righe > 0 ? etichetta(sotto[0]) : 0;  // or its kind, where it has none
    const bool detto =
        (e > 0 && campo_nominato(sotto[0].substr(0, sotto[0].find(':'))) == &Colonne::luogo) ||
        (righe > 0 && letta.luogo.empty() && di_luogo(pulita(sotto[0])));
    const bool chiuso = righe > 0 && (righe < sotto.size() || resto.empty() ||
                                      senza_spazi(prossima_riga(resto)).empty());
    const std::string rinvio =
        chiuso ? rinvio_di(sotto[righe - 1], leggi_data(letta.data).has_value()) : "";
    const std::size_t ultima = detto ? 1 : righe - (rinvio.empty() ? 0 : 1);  // the venue's
    const bool luogo =
        detto || (chiuso && ultima > 0 && nomina_un_luogo(pulita(sotto[ultima - 1])));
    if (!luogo && rinvio.empty()) {
        return;  // most lists: no block, and no line read
    }
    for (std::size_t i = 0; i < (rinvio.empty() ? ultima : righe); ++i) {
        const Letta riga = lettore.leggi(sotto[i]);
        if (riga.tipo != Letta::Tipo::altro || !riga.data.empty() || !riga.ora.empty()) {
            return;
        }
    }
    letta.luogo = luogo ? pulita(sotto[ultima - 1]) : letta.luogo;
    letta.rinvio = rinvio.empty() ? letta.rinvio : rinvio;
}

}  // namespace turnolista
