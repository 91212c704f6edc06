#include "esporta/campi.hpp"

#include <algorithm>
#include <span>

#include "comune/codifica.hpp"
#include "esporta/celle.hpp"

namespace turnolista {

namespace {

constexpr auto FINE = std::string_view::npos;

struct Parola {
    std::size_t da, a;  // where it stands in its line
    bool distante;      // after a run of spaces
    bool usata = false;
};

// Whether `parola`, in any case, is one of `parole`, written " a b c ".
bool una_di(std::string_view parole, std::string_view parola) {
    return parole.find(" " + minuscolo_ascii(parola) + " ") != FINE;
}

// Words that only say what follows: a leg, a time.
bool di_passaggio(std::string_view testo, const Parola& p) {
    return una_di(" and. rit. andata ritorno ore alle h h. | / ", testo.substr(p.da, p.a - p.da));
}

// A round's word among the first two: "1ª giornata", "Giornata 3", "TURNO 2".
bool di_turno(std::string_view testo) {
    const auto di_giornata = [](std::string_view parola) {
        parola = senza_segni(parola);
        return una_di(" giornata turno round settimana ", parola) || parola.ends_with("\xC2\xAA") ||
               parola.ends_with("\xC2\xB0");
    };
    const std::size_t prima = std::min(testo.find(' '), testo.size());
    const std::string_view seconda = testo.substr(std::min(prima + 1, testo.size()));
    return di_giornata(testo.substr(0, prima)) || di_giornata(seconda.substr(0, seconda.find(' ')));
}

// What is written as a date or a time, read or not: a digit on each side of a '/' or a ':'.
template <char SEGNO>
bool scritta_come(std::string_view parola) {
    const std::size_t dove = parola.find(SEGNO);
    return dove != FINE && dove > 0 && dove + 1 < parola.size() && cifra(parola[dove - 1]) &&
           cifra(parola[dove + 1]);
}

bool e_data(std::string_view testo) {
    return leggi_data(testo) && !risultato(testo);
}

// The first field of `parole`, of up to `quante` words not yet taken, that `leggi` reads;
// its words are taken.
template <typename Leggi>
std::string_view prendi(std::string_view testo, std::span<Parola> parole, std::size_t quante,
                        Leggi leggi) {
    for (std::size_t i = 0; i < parole.size(); ++i) {
        for (std::size_t k = std::min(quante, parole.size() - i); k > 0; --k) {
            const auto prese = parole.subspan(i, k);
            if (std::any_of(prese.begin(), prese.end(), [](const Parola& p) { return p.usata; })) {
                continue;
            }
            const std::string_view campo =
                senza_segni(testo.substr(parole[i].da, parole[i + k - 1].a - parole[i].da));
            if (leggi(campo)) {
                for (Parola& p : prese) {
                    p.usata = true;
                }
                return campo;
            }
        }
    }
    return {};
}

std::vector<Parola> parole_di(std::string_view testo) {
    std::vector<Parola> parole;
    for (std::size_t i = testo.find_first_not_of(' '); i != FINE;
         i = testo.find_first_not_of(' ', i)) {
        const std::size_t fine = std::min(testo.find(' ', i), testo.size());
        parole.push_back({i, fine, i >= 2 && testo.substr(i - 2, 2) == "  "});
        i = fine;
    }
    return parole;
}

// The fields written as such, each taken off `parole`: the date (of up to four words), the
// time, a return leg's, a date or a time not understood (told as written, not taken for a
// venue), a result, the match's number.
void campi_scritti(std::string_view testo, std::vector<Parola>& parole, Letta& letta) {
    letta.data = prendi(testo, parole, 4, e_data);
    letta.ora = prendi(testo, parole, 2, leggi_ora);
    if (const std::string_view seconda = prendi(testo, parole, 4, e_data); !seconda.empty()) {
        letta.ritorno = std::pair(seconda, prendi(testo, parole, 2, leggi_ora));
    }
    if (letta.data.empty()) {
        letta.data = prendi(testo, parole, 1, scritta_come<'/'>);
    }
    if (letta.ora.empty()) {
        letta.ora = prendi(testo, parole, 1, scritta_come<':'>);
    }
    if (const std::string_view risultati = prendi(testo, parole, 3, risultato);
        !risultati.empty()) {
        letta.altre.emplace_back(risultati);
    }
    const std::string_view prima =
        parole.empty() ? "" : testo.substr(parole[0].da, parole[0].a - parole[0].da);
    if (!parole.empty() && !parole[0].usata && numero_di_gara(prima)) {
        letta.n = prima;
        parole[0].usata = true;
    }
}

// What is left, in pieces between the fields and runs of spaces.
std::vector<std::string_view> pezzi_di(std::string_view testo, const std::vector<Parola>& parole) {
    std::vector<std::string_view> pezzi;
    for (std::size_t i = 0; i < parole.size(); ++i) {
        if (parole[i].usata || di_passaggio(testo, parole[i])) {
            continue;
        }
        if (i > 0 && !parole[i - 1].usata && !parole[i].distante &&
            !di_passaggio(testo, parole[i - 1]) && !pezzi.empty()) {
            pezzi.back() = std::string_view(pezzi.back().begin(), testo.begin() + parole[i].a);
        } else {
            pezzi.push_back(testo.substr(parole[i].da, parole[i].a - parole[i].da));
        }
    }
    return pezzi;
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

std::optional<std::pair<std::size_t, std::size_t>> incontro(std::string_view testo) {
    // Each sign below holds a dash, or "v" after a space: most cells, a date or a venue, hold
    // neither, and so are looked at once rather than once a sign.
    if (std::none_of(testo.begin(), testo.end(), [](char c) { return c == '-' || c == '\xE2'; }) &&
        trova_ascii(testo, " v") == FINE) {
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

bool numero_di_gara(std::string_view cella) {
    return !cella.empty() && cella.size() <= 4 && std::all_of(cella.begin(), cella.end(), cifra);
}

bool risultato(std::string_view testo) {
    const std::size_t trattino = testo.find('-');
    const auto numero = [](std::string_view t) {
        t = senza_spazi(t);
        return t.size() <= 3 && numero_di_gara(t);
    };
    return trattino != FINE && numero(testo.substr(0, trattino)) &&
           numero(testo.substr(trattino + 1));
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

void leggi_libero(std::string_view testo, const Squadre& squadre, Letta& letta) {
    std::vector<Parola> parole = parole_di(testo);
    campi_scritti(testo, parole, letta);
    std::vector<std::string_view> pezzi = pezzi_di(testo, parole);
    // The piece that holds the two teams, and where the sign between them stands in it: a dash
    // or "vs", else the run of spaces between the last two pieces, which it joins.
    std::size_t k = 0;
    std::optional<std::pair<std::size_t, std::size_t>> segno;
    while (k < pezzi.size() && !(segno = incontro(pezzi[k]))) {
        ++k;
    }
    const bool spaziate = !segno && pezzi.size() >= 2;
    if (spaziate) {
        k = pezzi.size() - 2;
        segno = std::pair(static_cast<std::size_t>(pezzi.back().data() - pezzi[k].data()) - 2, 2);
        pezzi[k] = std::string_view(pezzi[k].begin(), pezzi.back().end());
        pezzi.pop_back();
    }
    const bool riposo = trova_ascii(testo, "ripos") != FINE;
    // A round's word starts a heading, unless the teams stand after the line's date or time.
    const bool giornata = di_turno(testo) && (!segno || pezzi[k].data() == testo.data());
    if (riposo || giornata || !segno) {
        letta.tipo = !riposo && (giornata || leggi_data(letta.data)) ? Letta::Tipo::intestazione
                                                                     : Letta::Tipo::altro;
        return;
    }
    letta.tipo = Letta::Tipo::partita;
    const std::string_view pezzo = pezzi[k];
    std::string_view casa = senza_segni(pezzo.substr(0, segno->first));
    std::string_view ospite = senza_segni(pezzo.substr(segno->first + segno->second));
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
        luogo_prima(casa, spaziate || pezzo.data() == testo.data(), squadre, ospite);
    luogo += (luogo.empty() || tra_parentesi.empty() ? "" : " ") + std::string(tra_parentesi);
    for (std::size_t j = 0; j < pezzi.size(); ++j) {
        // A venue in brackets after the time: "Lupi - Orsi ore 15.30 (Campo Lupi)".
        std::string_view altro = senza_segni(pezzi[j]);
        if (altro.starts_with('(') && altro.ends_with(')')) {
            altro = altro.substr(1, altro.size() - 2);
        }
        if (j != k && rinvio_di(altro, true).empty() && !di_turno(altro)) {
            luogo += (luogo.empty() ? "" : " ") + std::string(altro);
        }
    }
    letta.casa = casa;
    letta.ospite = ospite;
    letta.partita = std::string(casa.begin(), ospite.end());
    letta.luogo = senza_segni(luogo);
}

}  // namespace turnolista
