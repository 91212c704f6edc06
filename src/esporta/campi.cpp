#include "esporta/parti.hpp"

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

// The words of `testo`; after a run of spaces or a semicolon, "Lupi-Orsi; Tori-Gufi", distant.
std::vector<Parola> parole_di(std::string_view testo) {
    std::vector<Parola> parole;
    parole.reserve(testo.size() / 2 + 1);  // a word and a space at least
    for (std::size_t i = 0, fine = 0; (i = testo.find_first_not_of(' ', fine)) != FINE;) {
        fine = std::min(testo.find(' ', i), testo.size());
        const std::string_view prima = testo.substr(i - std::min<std::size_t>(i, 2), 2);
        parole.push_back({testo.substr(i, fine - i), prima == "  " || prima.starts_with(';')});
    }
    return parole;
}

// Whether a digit stands on each side of one of `segni` in `testo`: "13/09", "15:30".
bool tra_cifre(std::string_view testo, std::string_view segni) {
    for (auto i = testo.find_first_of(segni); i != FINE; i = testo.find_first_of(segni, i + 1)) {
        if (i > 0 && i + 1 < testo.size() && cifra(testo[i - 1]) && cifra(testo[i + 1])) {
            return true;
        }
    }
    return false;
}

// A weekday with its day or not, "Sab 10", "Ven", which a heading above completes; with a
// month after it, a date not understood: "Mercoledì, 31 novembre 2027".
bool da_completare(std::string_view t) {
    const std::size_t mese = t.find(' ', t.find_first_not_of(' ', t.find(' ')));
    const auto parte = leggi_parte(t.substr(0, mese));
    const auto dopo = parte && mese != FINE ? leggi_parte(t.substr(mese)) : std::nullopt;
    return parte && parte->mese == 0 && (mese == FINE || (dopo && dopo->settimana == 0));
}

// A venue after its label, to the next label's "/", in a line of labels: "Data: sabato 10
// ottobre / Campo: Oratorio San Luigi - Bresso" (but "ore 15 Campo: Lupi - Orsi" is a match).
void luogo_etichettato(std::span<Parola> parole, Letta& letta) {
    const auto etichette =
        std::ranges::count_if(parole, [](auto& p) { return p.testo.ends_with(':'); });
    const auto nome_del_luogo = std::ranges::find_if(parole, [](const Parola& p) {
        return p.testo.ends_with(':') && campo_nominato(p.testo) == &Colonne::luogo;
    });
    const auto fine = std::find_if(nome_del_luogo, parole.end(),
                                   [](const Parola& p) { return una_di("/ |", p.testo); });
    if (etichette >= 2 && nome_del_luogo != parole.end() && std::next(nome_del_luogo) < fine) {
        letta.luogo = std::string_view(std::next(nome_del_luogo)->testo.begin(),
                                       std::prev(fine)->testo.end());
        std::for_each(nome_del_luogo, fine, [](Parola& p) { p.usata = true; });
    }
}

// The match's number or code: the line's first word, after "Gara n." or not; or after "gara"
// anywhere, as a series numbers its games: "ore 11.00 gara 1 Knights - Rams".
void numero(std::span<Parola> parole, Letta& letta) {
    const auto primo = std::ranges::find_if(
        parole, [](const Parola& p) { return !una_di("gara n. nr. num.", p.testo); });
    for (auto p = parole.begin(); p != parole.end(); ++p) {
        const bool dopo_gara = p != parole.begin() && una_di("gara", std::prev(p)->testo);
        if ((p == primo || dopo_gara) && !p->usata && codice(p->testo)) {
            letta.n = p->testo;
            std::for_each(p == primo ? parole.begin() : std::prev(p), std::next(p),
                          [](Parola& q) { q.usata = true; });
            return;
        }
    }
}

// The words no field took, in pieces between the fields and runs of spaces.
std::vector<std::string_view> in_pezzi(std::span<const Parola> parole) {
    std::vector<std::string_view> pezzi;
    bool segue = false, trattino = false;  // the word before is in the last piece; is a dash
    for (const Parola& p : parole) {
        // Words that only say what follows, a leg or a time, are in no piece.
        const bool libera =
            !p.usata && !una_di("and. rit. andata ritorno ore alle h h. | / ritrovo inizio",
                                senza_segni(p.testo));
        // A dash alone joins the teams either side, however far, as PDF columns do: "LUPI  - ORSI";
        // so does an app's "vs" on a line of its own.
        const bool lineetta = p.testo == "-" || p.testo == "\u2013" || p.testo == "vs";
        if (libera && segue && (!p.distante || lineetta || trattino)) {
            pezzi.back() = std::string_view(pezzi.back().begin(), p.testo.end());
        } else if (libera) {
            pezzi.push_back(p.testo);
        }
        segue = libera;
        trattino = libera && lineetta;
    }
    return pezzi;
}

// The line's date and time, with "del" before the date and a meeting's time for nothing; then each
// date after it, by the word before it: where a match moved, "posticipata al 12/11 ore 20:30", its
// date and time; the date it moved from, "spostata da sabato 24/10", for nothing; one written as
// the first, the return leg's and its time ("Via 4 Novembre" after "18/10" is a street).
void date_e_ore(std::span<Parola> parole, std::string_view testo, Letta& letta) {
    // "19 Mar 09/02/2027" is a match's number and a Tuesday before its date, not 19 March.
    const auto martedi = [&](std::string_view t) {
        const std::string_view dopo = senza_spazi(std::string_view(t.end(), testo.end()));
        return una_di("mar", t.substr(t.rfind(' ') + 1)) &&
               tra_cifre(dopo.substr(0, dopo.find(' ')), "/-.");
    };
    // A result's shape, "24-10", is a date where it starts a line that goes on, in two digits each.
    const auto data = [&](std::string_view t) {
        const bool giorno_mese =
            t.data() == testo.data() && t.size() == 5 && t.size() < testo.size();
        return leggi_data(t) && (!risultato(t) || giorno_mese) && !martedi(t);
    };
    const std::string_view prima_data = prendi(parole, 4, data);
    letta.data = prima_data;
    const auto prima = [&](std::string_view t) {  // the word before `t`
        const std::string_view avanti = senza_spazi(std::string_view(testo.data(), t.data()));
        return senza_segni(avanti.substr(avanti.rfind(' ') + 1));
    };
    const std::string_view del = prima_data.empty() ? "" : prima(prima_data);
    for (Parola& p : parole) {
        p.usata = p.usata || (p.testo.data() == del.data() && una_di("del il", del));
    }
    // A meeting time, "ritrovo ore 20:15", is not the match's: it is taken first, for nothing.
    if (trova_ascii(testo, "ritrovo") != FINE) {
        prendi(parole, 2, [&](auto t) { return leggi_ora(t) && una_di("ritrovo", prima(t)); });
    }
    letta.ora = prendi(parole, 4, leggi_ora);  // "dalle 9:00 alle 9:40" too
    const auto altra = [&](std::string_view t) {
        return data(t) && (una_di("a al da dal", prima(t)) ||
                           (!letta.ritorno && tra_cifre(t, "/-.") == tra_cifre(letta.data, "/-.")));
    };
    for (std::string_view t; !letta.data.empty() && !(t = prendi(parole, 4, altra)).empty();) {
        if (una_di("a al", prima(t))) {  // "anticipata a venerdì 16/10" too
            letta.data = t;
            const std::string_view ora = prendi(parole, 3, leggi_ora);  // else the line's only
            letta.ora = ora.empty() ? letta.ora : ora;
            const auto dove =
                std::ranges::find(parole, t.data(), [](auto& p) { return p.testo.data(); });
            std::for_each(dove - std::min<std::ptrdiff_t>(dove - parole.begin(), 2), dove,
                          [](Parola& p) { p.usata = true; });
        } else if (!una_di("da dal", prima(t))) {
            letta.ritorno = std::pair(t, prendi(parole, 3, leggi_ora));
        }
    }
}

}  // namespace

void nota_dopo(std::string_view& ospite, const Squadre& squadre, std::vector<std::string>& altre) {
    const std::string marca = rinvio_di(ospite, false);
    if (const std::size_t dove = ospite.find(" " + marca); !marca.empty() && dove != FINE) {
        altre.emplace_back(ospite.substr(dove + 1));
        ospite = senza_segni(ospite.substr(0, dove));
    }
    for (std::size_t s = ospite.rfind(' '); s != FINE && !squadre.contains(ospite);
         s = s > 0 ? ospite.rfind(' ', s - 1) : FINE) {
        // Or a chat's sentence after the team's: "Pol. Borgo. Chi non può venire me lo dica".
        const std::size_t fine = ospite[s - 1] == '.' || ospite[s - 1] == '!' ? s - 1 : s;
        if (((ospite[s + 1] >= 'a' && ospite[s + 1] <= 'z') || fine < s) &&
            squadre.contains(ospite.substr(0, fine))) {
            altre.emplace_back(ospite.substr(s + 1));
            ospite = ospite.substr(0, fine);
            return;
        }
    }
}

std::vector<std::string_view> pezzi_di(std::string_view testo, Letta& letta) {
    std::vector<Parola> parole = parole_di(testo);
    date_e_ore(parole, testo, letta);
    letta.data = letta.data.empty() ? prendi(parole, 4, da_completare) : letta.data;
    // A date or a time not understood: a digit on each side of a '/' or a ':'.
    for (const auto& [campo, segno] : {std::pair(&letta.data, "/"), std::pair(&letta.ora, ":")}) {
        if (const std::string_view tra = segno; campo->empty()) {
            *campo = prendi(parole, 1, [tra](std::string_view p) { return tra_cifre(p, tra); });
        }
    }
    numero(parole, letta);
    // Notes, and no team's words: results, a set's each, "3-1", "25-20 25-18"; a time still to be
    // set, "ore da definire"; a mark where the date or time would stand, "RINVIATA Lupi - Orsi".
    const auto prima = std::ranges::find(parole, false, &Parola::usata);
    const auto nota = [&](std::string_view t) {
        const std::size_t da = t.find(" da ");
        const bool da_definire = da != FINE && t.find(' ', da + 4) == FINE &&
                                 una_di("ore ora orario h", t.substr(0, da));
        const std::string segno = t.data() < prima->testo.end() ? rinvio_di(t, false) : "";
        return risultato(t) || da_definire ||
               (!segno.empty() && t.starts_with(segno) && t.ends_with(segno));
    };
    for (std::string_view r; !(r = prendi(parole, 3, nota)).empty();) {
        letta.altre.emplace_back(r);
    }
    luogo_etichettato(parole, letta);
    return in_pezzi(parole);
}

}  // namespace turnolista
