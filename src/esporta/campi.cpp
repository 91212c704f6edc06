#include "esporta/lettore.hpp"

#include <algorithm>
#include <span>

#include "comune/codifica.hpp"
#include "ricerca/ricerca.hpp"

namespace turnolista {

namespace {

struct Parola {
    std::string_view testo;
    bool distante = false, usata = false;  // after a run of spaces; taken for a field
};

// The first field of up to `quante` words not yet taken that `leggi` reads, taking its words.
std::string_view prendi(std::span<Parola> parole, std::size_t quante, auto leggi) {
    for (std::size_t i = 0; i < parole.size(); ++i) {
        const auto libere = parole.subspan(i, std::min(quante, parole.size() - i));
        for (auto k = std::ranges::find_if(libere, &Parola::usata) - libere.begin(); k > 0; --k) {
            const auto prese = libere.first(static_cast<std::size_t>(k));
            const std::string_view campo = senza_segni(
                std::string_view(prese.front().testo.begin(), prese.back().testo.end()));
            if (leggi(campo)) {
                std::ranges::for_each(prese, [](Parola& p) { p.usata = true; });
                return campo;
            }
        }
    }
    return {};
}

// A match's number or code, of digits, capitals and dashes: "101", "20101", "1DF-A-001".
bool codice(std::string_view parola) {
    return parola.size() <= 12 && std::ranges::any_of(parola, cifra) &&
           std::ranges::all_of(
               parola, [](char c) { return cifra(c) || c == '-' || (c >= 'A' && c <= 'Z'); });
}

// Takes off `testo` the fields written as such, a date or a time not understood too (told as
// written, not taken for a venue); gives what is left, in pieces between them and runs of spaces.
std::vector<std::string_view> pezzi_di(std::string_view testo, Letta& letta) {
    std::vector<Parola> parole;
    parole.reserve(testo.size() / 2 + 1);  // a word and a space at least
    for (std::size_t i = 0, fine = 0; (i = testo.find_first_not_of(' ', fine)) != FINE;) {
        fine = std::min(testo.find(' ', i), testo.size());
        parole.push_back({testo.substr(i, fine - i), i >= 2 && testo.substr(i - 2, 2) == "  "});
    }
    const auto data = [](std::string_view t) { return leggi_data(t) && !risultato(t); };
    letta.data = prendi(parole, 4, data);
    // A meeting time, "ritrovo ore 20:15", is not the match's: it is taken first, for nothing.
    if (const std::size_t ritrovo = trova_ascii(testo, "ritrovo"); ritrovo != FINE) {
        prendi(parole, 2, [&](std::string_view t) {
            const auto dopo = static_cast<std::size_t>(t.data() - testo.data()) - ritrovo;
            return (dopo == 8 || dopo == 9) && leggi_ora(t);
        });
    }
    letta.ora = prendi(parole, 2, leggi_ora);
    // "posticipata al 12/11 ore 20:30": where the match moved; the words before are no venue.
    const auto al = [&](std::string_view t) {
        return std::string_view(testo.data(), t.data()).ends_with(" al ") && data(t);
    };
    if (const auto nuova = letta.data.empty() ? "" : prendi(parole, 4, al); !nuova.empty()) {
        letta.data = nuova;
        letta.ora = prendi(parole, 2, leggi_ora);
        const auto dopo =
            std::ranges::find(parole, nuova.data(), [](auto& p) { return p.testo.data(); });
        std::for_each(dopo - std::min<std::ptrdiff_t>(dopo - parole.begin(), 2), dopo,
                      [](Parola& p) { p.usata = true; });
    }
    // A return leg's date only after a first, and written as it: "Via 4 Novembre" after
    // "18/10" is a street. The spans that gave no first date would give none again.
    const auto seconda = letta.data.empty() ? "" : prendi(parole, 4, [&](std::string_view t) {
        return data(t) && tra_cifre(t, "/-.") == tra_cifre(letta.data, "/-.");
    });
    if (!seconda.empty()) {
        letta.ritorno = std::pair(seconda, prendi(parole, 2, leggi_ora));
    }
    // A weekday with its day or not, "Sab 10", "Ven", which a heading above completes; with a
    // month after it, a date not understood: "Mercoledì, 31 novembre 2027".
    if (letta.data.empty()) {
        letta.data = prendi(parole, 4, [](std::string_view t) {
            const std::size_t mese = t.find(' ', t.find_first_not_of(' ', t.find(' ')));
            const auto parte = leggi_parte(t.substr(0, mese));
            const auto dopo = leggi_parte(t.substr(std::min(mese, t.size())));
            return parte && parte->mese == 0 && (mese == FINE || (dopo && dopo->settimana == 0));
        });
    }
    // A date or a time not understood: a digit on each side of a '/' or a ':'.
    for (const auto& [campo, segno] : {std::pair(&letta.data, "/"), std::pair(&letta.ora, ":")}) {
        if (const std::string_view tra = segno; campo->empty()) {
            *campo = prendi(parole, 1, [tra](std::string_view p) { return tra_cifre(p, tra); });
        }
    }
    if (const std::string_view risultati = prendi(parole, 3, risultato); !risultati.empty()) {
        letta.altre.emplace_back(risultati);
    }
    // The match's number or code: the line's first word, after "Gara n." or not.
    const auto primo = std::ranges::find_if(
        parole, [](const Parola& p) { return !una_di("gara n. nr. num.", p.testo); });
    if (primo != parole.end() && !primo->usata && codice(primo->testo)) {
        letta.n = primo->testo;
        std::for_each(parole.begin(), primo + 1, [](Parola& p) { p.usata = true; });
    }
    // A venue after its label, to the next label's "/", in a line of labels: "Data: sabato 10
    // ottobre / Campo: Oratorio San Luigi - Bresso" (but "ore 15 Campo: Lupi - Orsi" is a match).
    const auto etichette =
        std::ranges::count_if(parole, [](auto& p) { return p.testo.ends_with(':'); });
    const auto etichetta = std::ranges::find_if(parole, [](const Parola& p) {
        return p.testo.ends_with(':') && campo_nominato(p.testo) == &Colonne::luogo;
    });
    const auto fine = std::find_if(
        etichetta, parole.end(), [](const Parola& p) { return p.testo == "/" || p.testo == "|"; });
    if (etichette >= 2 && etichetta != parole.end() && std::next(etichetta) < fine) {
        letta.luogo =
            std::string_view(std::next(etichetta)->testo.begin(), std::prev(fine)->testo.end());
        std::for_each(etichetta, fine, [](Parola& p) { p.usata = true; });
    }
    std::vector<std::string_view> pezzi;
    bool segue = false;  // the word before is in the last piece
    for (const Parola& p : parole) {
        // Words that only say what follows, a leg or a time, are in no piece.
        const bool libera =
            !p.usata && !una_di("and. rit. andata ritorno ore alle h h. | / ritrovo inizio",
                                senza_segni(p.testo));
        if (libera && segue && !p.distante) {
            pezzi.back() = std::string_view(pezzi.back().begin(), p.testo.end());
        } else if (libera) {
            pezzi.push_back(p.testo);
        }
        segue = libera && !p.testo.ends_with(';');  // "Lupi-Orsi; Tori-Gufi": two pieces
    }
    return pezzi;
}

// The venue written before the home team: "Campo Aquile: Aquile - Lupi", "Campo Aquile –
// Aquile vs Lupi"; else the words before a home team the list names, or before as many words
// as the away team has ("Campo Lupi Tori-Orsi"). Takes it off `casa`.
std::string luogo_prima(std::string_view& casa, bool solo, const Squadre& squadre,
                        std::string_view ospite) {
    // Where the home team starts, past the last sign or the first space before a team the list
    // names; 0 where neither is. A sign holds a space, and names have few.
    std::size_t taglio = 0, squadra = 0;
    for (std::size_t s = casa.find(' '); s != FINE; s = casa.find(' ', s + 1)) {
        taglio = s > 0 && casa[s - 1] == ':' ? s : taglio;
        for (const std::string_view tra : {" - ", " \u2013 ", " \u2014 ", " | "}) {
            taglio = casa.substr(s).starts_with(tra) ? s + 1 : taglio;
        }
        squadra = squadra == 0 && squadre.contains(casa.substr(s + 1)) ? s + 1 : squadra;
    }
    if (taglio == 0 && (solo || squadre.contains(casa))) {
        return {};
    }
    taglio = taglio == 0 ? squadra : taglio;
    std::size_t fine = casa.size();
    for (auto parole = std::ranges::count(ospite, ' ') + 1;
         taglio == 0 && parole > 0 && fine != FINE; --parole) {
        fine = fine > 0 ? casa.rfind(' ', fine - 1) : FINE;
    }
    taglio = taglio == 0 ? fine + 1 : taglio;
    std::string luogo(taglio == 0 ? "" : senza_segni(casa.substr(0, taglio - 1)));
    casa = taglio == 0 ? casa : senza_segni(casa.substr(taglio));
    return luogo;
}

// The venue written after the away team, taken off `ospite`: in brackets, after a comma, or
// from a word of a venue's kind: "Orsi (Palestra Rossi)", "Orsi Campo Comunale", "PalaFalchi".
std::string_view luogo_dopo(std::string_view& ospite) {
    // Not at a province's bracket, which is the team's: "Albavilla (CO)".
    std::size_t aperta = ospite.find(" (");
    while (aperta != FINE && ospite.substr(aperta + 2, 3).ends_with(')') &&
           std::all_of(ospite.begin() + aperta + 2, ospite.begin() + aperta + 4,
                       [](char c) { return c >= 'A' && c <= 'Z'; })) {
        aperta = ospite.find(" (", aperta + 1);
    }
    aperta = std::min(aperta, ospite.size());
    for (std::size_t s = ospite.find(' '); s < aperta; s = ospite.find(' ', s + 1)) {
        const std::string_view parola = ospite.substr(s + 1, ospite.find(' ', s + 1) - s - 1);
        if (ospite[s - 1] == ',' ||
            una_di("campo palestra palazzetto palasport stadio impianto oratorio sintetico c/o "
                   "presso @ palaz. tensostruttura polivalente piscina",
                   parola) ||
            (una_di("centro", parola) && una_di("sport", ospite.substr(s + 8, 5))) ||
            (parola.size() > 4 && parola.starts_with("Pala") &&
             parola[4] != minuscola_ascii(parola[4]))) {
            aperta = s;
        }
    }
    const bool tra_parentesi = ospite.substr(aperta).starts_with(" (");
    const std::string_view luogo = senza_segni(ospite.substr(std::min(aperta + 1, ospite.size())));
    ospite = senza_segni(ospite.substr(0, aperta));
    return tra_parentesi ? luogo.substr(0, luogo.find(')')) : luogo;
}

// Words in small letters after an away team the list names are a note, moved from `ospite`
// (which ends in no space) to `altre`: "Lupi-Aquile recupero", but "Lupi-Orsi B" is Orsi B.
void nota_dopo(std::string_view& ospite, const Squadre& squadre, std::vector<std::string>& altre) {
    for (std::size_t s = ospite.rfind(' '); s != FINE && !squadre.contains(ospite);
         s = s > 0 ? ospite.rfind(' ', s - 1) : FINE) {
        if (ospite[s + 1] >= 'a' && ospite[s + 1] <= 'z' && squadre.contains(ospite.substr(0, s))) {
            altre.emplace_back(ospite.substr(s + 1));
            ospite = ospite.substr(0, s);
            return;
        }
    }
}

// The piece of `pezzi` that holds the two teams, and they: the first with a dash or "vs", or of
// several (a paper's round on one line) the first that holds `nome`.
std::pair<std::size_t, Coppia> coppia_di(const std::vector<std::string_view>& pezzi,
                                         std::string_view nome) {
    std::size_t k = pezzi.size();
    Coppia coppia;
    for (std::size_t j = 0; j < pezzi.size(); ++j) {
        const auto due = incontro(pezzi[j]);
        if (due && (!coppia || (!contiene(pezzi[k], nome) && contiene(pezzi[j], nome)))) {
            coppia = due;
            k = j;
        }
    }
    return {k, coppia};
}

}  // namespace

void leggi_libero(std::string_view testo, const Squadre& squadre, Letta& letta,
                  std::string_view nome) {
    std::vector<std::string_view> pezzi = pezzi_di(testo, letta);
    // Else the last two pieces, joined, the teams on either side of the run of spaces between.
    auto [k, coppia] = coppia_di(pezzi, nome);
    const bool spaziate =
        !coppia && pezzi.size() >= 2 &&
        senza_spazi(std::string_view(pezzi[pezzi.size() - 2].end(), pezzi.back().begin())).empty();
    if (spaziate) {
        k = pezzi.size() - 2;
        const auto tra = static_cast<std::size_t>(pezzi.back().data() - pezzi[k].data());
        coppia = std::pair(senza_segni(std::string_view(pezzi[k].data(), tra - 2)),
                           senza_segni(pezzi.back()));
        pezzi[k] = std::string_view(pezzi[k].begin(), pezzi.back().end());
        pezzi.pop_back();
    }
    // A rest, or an e-mail's header that names the team among its senders or recipients.
    const bool riposo = trova_ascii(testo, "ripos") != FINE ||
                        una_di("da: a: cc: oggetto: inviato: from: to: subject: sent:",
                               testo.substr(0, testo.find(' ')));
    // A round's word starts a heading, unless the teams stand after the line's date or time.
    const bool giornata = (!coppia || pezzi[k].data() == testo.data()) && di_turno(testo);
    if (riposo || giornata || !coppia) {
        // A month's heading, "OTTOBRE 2026", gives its month to the days under it.
        const auto mese = leggi_parte(senza_segni(testo));
        letta.data = mese && mese->mese != 0 ? senza_segni(testo) : letta.data;
        const bool datata = leggi_data(letta.data) || leggi_parte(letta.data);
        letta.tipo =
            !riposo && (giornata || datata) ? Letta::Tipo::intestazione : Letta::Tipo::altro;
        return;
    }
    letta.tipo = Letta::Tipo::partita;
    auto [casa, ospite] = *coppia;
    // Of several matches on a line, each its time before it: "ore 20.30 Lupi - Orsi; ore 21.15
    // ...".
    if (const std::size_t s = casa.find(' '); s != FINE && leggi_ora(casa.substr(0, s))) {
        letta.ora = casa.substr(0, s);
        casa = senza_segni(casa.substr(s));
    }
    std::string_view dopo = luogo_dopo(ospite);
    if (!rinvio_di(dopo, false).empty()) {  // a note, "orario ancora da definire", is no venue
        letta.altre.emplace_back(std::exchange(dopo, {}));
    }
    nota_dopo(ospite, squadre, letta.altre);
    // A venue before the home team, where the piece is not the line's start.
    std::string luogo =
        luogo_prima(casa, spaziate || pezzi[k].data() == testo.data(), squadre, ospite);
    luogo.append(luogo.empty() || dopo.empty() ? "" : " ").append(dopo);
    for (std::size_t j = 0; j < pezzi.size(); ++j) {
        // A venue in brackets after the time, which senza_segni() unwraps: "ore 15.30 (Campo A)".
        const std::string_view altro = senza_segni(pezzi[j]);
        if (j != k && rinvio_di(altro, true).empty() && !di_turno(altro) && !incontro(altro)) {
            luogo.append(luogo.empty() ? "" : " ").append(altro);
        }
    }
    letta.casa = casa;
    letta.ospite = ospite;
    letta.partita = std::string(casa.begin(), ospite.end());
    letta.luogo = letta.luogo.empty() ? std::string(senza_segni(luogo)) : letta.luogo;
}

}  // namespace turnolista
