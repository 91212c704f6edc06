#include "esporta/campi.hpp"

#include <algorithm>

#include "comune/codifica.hpp"
#include "esporta/celle.hpp"
#include "esporta/parole.hpp"

namespace turnolista {

namespace {

constexpr auto FINE = std::string_view::npos;

}  // namespace

std::optional<std::pair<std::size_t, std::size_t>> incontro(std::string_view testo) {
    // Each sign below holds a dash, or "v" after a space: most cells, a date or a venue, hold
    // neither, and so are looked at once rather than once a sign.
    bool forse = false;
    for (std::size_t i = 0; i < testo.size() && !forse; ++i) {
        forse = testo[i] == '-' || testo[i] == '\xE2' ||
                (testo[i] == ' ' && i + 1 < testo.size() &&
                 (testo[i + 1] == 'v' || testo[i + 1] == 'V'));
    }
    if (!forse) {
        return std::nullopt;
    }
    for (const std::string_view segno :
         {" vs. ", " vs ", " VS ", " - ", " \u2013 ", " \u2014 ", "\u2013", "\u2014"}) {
        const std::size_t dove = testo.find(segno);
        if (dove != FINE && !senza_segni(testo.substr(0, dove)).empty() &&
            !senza_segni(testo.substr(dove + segno.size())).empty()) {
            return std::pair(dove, segno.size());
        }
    }
    // "Lupi-Orsi": a dash between a name's end and a letter.
    for (std::size_t i = 1; i + 1 < testo.size(); ++i) {
        if (testo[i] == '-' && !cifra(testo[i - 1]) && testo[i - 1] != ' ' &&
            lettera(testo[i + 1])) {
            return std::pair(i, std::size_t{1});
        }
    }
    return std::nullopt;
}

bool risultato(std::string_view testo) {
    const std::size_t trattino = testo.find('-');
    const auto numero = [](std::string_view t) {
        t = senza_spazi(t);
        return !t.empty() && t.size() <= 3 && std::all_of(t.begin(), t.end(), cifra);
    };
    return trattino != FINE && numero(testo.substr(0, trattino)) &&
           numero(testo.substr(trattino + 1));
}

bool numero_di_gara(std::string_view cella) {
    return !cella.empty() && cella.size() <= 4 && std::all_of(cella.begin(), cella.end(), cifra);
}

std::string rinvio_di(std::string_view riga, bool datata) {
    for (const std::string_view segno :
         {"rinviat", "sospes", "annullat", "posticipat", "da recuperare", "non disputat",
          "da definire", "da stabilire", "da fissare", "data da"}) {
        const std::size_t dove = trova_ascii(riga, segno);
        // Under a firm date, a time still to be set is the whole day.
        const bool ora = segno.starts_with("da ") && datata &&
                         trova_ascii(riga.substr(0, dove), "data ") == FINE;
        if (dove != FINE && !ora) {
            const std::size_t fine =
                std::min(riga.find_first_of(" \t;,\")", dove + segno.size()), riga.size());
            return std::string(riga.substr(dove, fine - dove));
        }
    }
    return {};
}

namespace {

// The piece that holds the two teams, and where the sign between them stands in it: a dash
// or "vs", else a run of spaces between the last two pieces.
struct Coppia {
    std::size_t pezzo;                          // cppcheck-suppress unusedStructMember
    std::pair<std::size_t, std::size_t> segno;  // cppcheck-suppress unusedStructMember
    bool spaziate;                              // cppcheck-suppress unusedStructMember
};

std::optional<Coppia> squadre_in(std::string_view testo, std::vector<std::string_view>& pezzi) {
    for (std::size_t k = 0; k < pezzi.size(); ++k) {
        if (const auto dove = incontro(pezzi[k])) {
            return Coppia{k, *dove, false};
        }
    }
    if (pezzi.size() < 2) {
        return std::nullopt;
    }
    const std::size_t k = pezzi.size() - 2;
    const auto da = static_cast<std::size_t>(pezzi[k].data() - testo.data());
    pezzi[k] = testo.substr(da, static_cast<std::size_t>(pezzi.back().data() - testo.data()) +
                                    pezzi.back().size() - da);
    const std::size_t segno = pezzi[k].size() - pezzi.back().size() - 2;
    pezzi.pop_back();
    return Coppia{k, {segno, 2}, true};
}

// The venue written before the home team: "Campo Aquile: Aquile - Lupi", "Campo Aquile –
// Aquile vs Lupi"; else the words before a home team the list names, or before as many words
// as the away team has ("Campo Lupi Tori-Orsi"). Takes it off `casa`.
std::string luogo_prima(std::string_view& casa, bool solo, const Squadre& squadre,
                        std::string_view ospite) {
    std::size_t campo = FINE;
    for (const std::string_view tra : {": ", " - ", " \u2013 ", " \u2014 ", " | "}) {
        const std::size_t dove = casa.rfind(tra);
        campo = dove != FINE && (campo == FINE || dove > campo) ? dove : campo;
    }
    if (campo == FINE && (solo || casa.find(' ') == FINE || squadre.contains(casa))) {
        return {};
    }
    std::size_t taglio = campo;  // the space or sign before the home team
    for (std::size_t s = casa.find(' '); taglio == FINE && s != FINE; s = casa.find(' ', s + 1)) {
        taglio = squadre.contains(casa.substr(s + 1)) ? s : FINE;
    }
    std::size_t fine = casa.size();
    for (auto parole = std::count(ospite.begin(), ospite.end(), ' ') + 1;
         taglio == FINE && parole > 0 && fine != FINE; --parole) {
        fine = fine > 0 ? casa.rfind(' ', fine - 1) : FINE;
    }
    taglio = taglio == FINE ? fine : taglio;
    if (taglio == FINE) {
        return {};
    }
    std::string luogo(senza_segni(casa.substr(0, taglio)));
    casa = senza_segni(casa.substr(taglio + 1));
    return luogo;
}

// Words in small letters after an away team the list names are a note, not the team:
// "Lupi-Aquile recupero" (but "Lupi-Orsi B" is Orsi B). Takes them off `ospite`.
std::string_view nota_dopo(std::string_view& ospite, const Squadre& squadre) {
    for (std::size_t s = ospite.rfind(' '); s != FINE && !squadre.contains(ospite);
         s = s > 0 ? ospite.rfind(' ', s - 1) : FINE) {
        const char dopo = s + 1 < ospite.size() ? ospite[s + 1] : 'A';
        if (dopo >= 'a' && dopo <= 'z' && squadre.contains(ospite.substr(0, s))) {
            const std::string_view nota = ospite.substr(s + 1);
            ospite = ospite.substr(0, s);
            return nota;
        }
    }
    return {};
}

}  // namespace

void leggi_libero(std::string_view testo, const Squadre& squadre, Letta& letta) {
    std::vector<Parola> parole = parole_di(testo);
    campi_scritti(testo, parole, letta);
    std::vector<std::string_view> pezzi = pezzi_di(testo, parole);
    const auto trovate = squadre_in(testo, pezzi);
    const bool riposo = trova_ascii(testo, "ripos") != FINE;
    // A round's word starts a heading, unless the teams stand after the line's date or time.
    const bool giornata =
        di_turno(testo) && (!trovate || pezzi[trovate->pezzo].data() == testo.data());
    if (riposo || giornata || !trovate) {
        letta.tipo = riposo                     ? Letta::Tipo::riposo
                     : giornata || letta.giorno ? Letta::Tipo::intestazione
                                                : Letta::Tipo::altro;
        return;
    }
    letta.tipo = Letta::Tipo::partita;
    const std::string_view pezzo = pezzi[trovate->pezzo];
    std::string_view casa = senza_segni(pezzo.substr(0, trovate->segno.first));
    std::string_view ospite =
        senza_segni(pezzo.substr(trovate->segno.first + trovate->segno.second));
    std::string_view tra_parentesi;  // "Lupi-Orsi (Palestra Rossi)"
    if (const std::size_t aperta = ospite.find(" ("); aperta != FINE) {
        tra_parentesi = ospite.substr(aperta + 2);
        tra_parentesi = tra_parentesi.substr(0, tra_parentesi.find(')'));
        ospite = senza_segni(ospite.substr(0, aperta));
    }
    if (const std::string_view nota = nota_dopo(ospite, squadre); !nota.empty()) {
        letta.altre.emplace_back(nota);
    }
    // A venue before the home team, where the piece is not the line's start.
    std::string luogo =
        luogo_prima(casa, trovate->spaziate || pezzo.data() == testo.data(), squadre, ospite);
    luogo += (luogo.empty() || tra_parentesi.empty() ? "" : " ") + std::string(tra_parentesi);
    for (std::size_t k = 0; k < pezzi.size(); ++k) {
        // A venue in brackets after the time: "Lupi - Orsi ore 15.30 (Campo Lupi)".
        std::string_view pezzo_k = senza_segni(pezzi[k]);
        if (pezzo_k.starts_with('(') && pezzo_k.ends_with(')')) {
            pezzo_k = pezzo_k.substr(1, pezzo_k.size() - 2);
        }
        if (k != trovate->pezzo && rinvio_di(pezzo_k, true).empty() && !di_turno(pezzo_k)) {
            luogo += (luogo.empty() ? "" : " ") + std::string(pezzo_k);
        }
    }
    letta.casa = casa;
    letta.ospite = ospite;
    letta.partita = std::string(casa.data(), ospite.data() + ospite.size());
    letta.luogo = senza_segni(luogo);
}

}  // namespace turnolista
