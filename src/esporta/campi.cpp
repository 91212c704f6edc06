#include "esporta/campi.hpp"

#include <algorithm>
#include <span>

#include "comune/codifica.hpp"
#include "esporta/celle.hpp"

namespace turnolista {

namespace {

constexpr auto FINE = std::string_view::npos;

bool e_data(std::string_view t) {
    return leggi_data(t) && !risultato(t);
}

// What is written as a date or a time, read or not: a digit on each side of a '/' or a ':'.
template <char SEGNO>
bool scritta_come(std::string_view parola) {
    const std::size_t dove = parola.find(SEGNO);
    return dove != FINE && dove > 0 && dove + 1 < parola.size() && cifra(parola[dove - 1]) &&
           cifra(parola[dove + 1]);
}

// Words that only say what follows: a leg, a time.
bool di_passaggio(std::string_view parola) {
    const std::string p = minuscolo_ascii(parola);
    return p == "and." || p == "rit." || p == "andata" || p == "ritorno" || p == "ore" ||
           p == "alle" || p == "h" || p == "h." || p == "|" || p == "/";
}

bool di_giornata(std::string_view parola) {
    const std::string p = minuscolo_ascii(senza_segni(parola));
    return p == "giornata" || p == "turno" || p == "round" || p == "settimana" ||
           p.ends_with("\xC2\xAA") || p.ends_with("\xC2\xB0");
}

struct Parola {
    std::size_t da, a;
    bool distante;  // after a run of spaces
    bool usata = false;
};

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

// The first field of `parole`, of up to `quante` words not yet taken, that `leggi` reads.
template <typename Leggi>
std::string prendi(std::string_view testo, std::vector<Parola>& parole, std::size_t quante,
                   Leggi leggi) {
    for (std::size_t i = 0; i < parole.size(); ++i) {
        for (std::size_t k = std::min(quante, parole.size() - i); k > 0; --k) {
            const auto prese = std::span(parole).subspan(i, k);
            if (std::any_of(prese.begin(), prese.end(), [](const Parola& p) { return p.usata; })) {
                continue;
            }
            const std::string_view campo =
                senza_segni(testo.substr(parole[i].da, parole[i + k - 1].a - parole[i].da));
            if (leggi(campo)) {
                for (Parola& p : prese) {
                    p.usata = true;
                }
                return std::string(campo);
            }
        }
    }
    return {};
}

}  // namespace

std::optional<std::pair<std::size_t, std::size_t>> incontro(std::string_view testo) {
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

void leggi_libero(std::string_view testo, const Squadre& squadre, Letta& letta) {
    std::vector<Parola> parole = parole_di(testo);
    letta.data = prendi(testo, parole, 4, e_data);
    letta.giorno = leggi_data(letta.data);
    letta.ora = prendi(testo, parole, 2, leggi_ora);
    std::string seconda = prendi(testo, parole, 4, e_data);
    if (!seconda.empty()) {
        letta.ritorno = std::pair(seconda, prendi(testo, parole, 2, leggi_ora));
    }
    // A date or a time not understood is told as written, not taken for a venue.
    if (letta.data.empty()) {
        letta.data = prendi(testo, parole, 1, scritta_come<'/'>);
    }
    if (letta.ora.empty()) {
        letta.ora = prendi(testo, parole, 1, scritta_come<':'>);
    }
    std::string risultati = prendi(testo, parole, 3, risultato);
    if (!risultati.empty()) {
        letta.altre.push_back(std::move(risultati));
    }
    if (!parole.empty() && !parole[0].usata &&
        numero_di_gara(testo.substr(parole[0].da, parole[0].a - parole[0].da))) {
        letta.n = testo.substr(parole[0].da, parole[0].a - parole[0].da);
        parole[0].usata = true;
    }
    // What is left, in pieces between the fields and runs of spaces.
    std::vector<std::string_view> pezzi;
    for (std::size_t i = 0; i < parole.size(); ++i) {
        const std::string_view parola = testo.substr(parole[i].da, parole[i].a - parole[i].da);
        if (parole[i].usata || di_passaggio(parola)) {
            continue;
        }
        const bool segue =
            i > 0 && !parole[i - 1].usata && !parole[i].distante &&
            !di_passaggio(testo.substr(parole[i - 1].da, parole[i - 1].a - parole[i - 1].da));
        if (segue && !pezzi.empty()) {
            pezzi.back() = testo.substr(
                pezzi.back().data() - testo.data(),
                parole[i].a - static_cast<std::size_t>(pezzi.back().data() - testo.data()));
        } else {
            pezzi.push_back(parola);
        }
    }
    std::optional<std::size_t> coppia;
    std::pair<std::size_t, std::size_t> segno{};
    for (std::size_t k = 0; k < pezzi.size() && !coppia; ++k) {
        if (const auto dove = incontro(pezzi[k])) {
            coppia = k;
            segno = *dove;
        }
    }
    const bool spaziate = !coppia && pezzi.size() >= 2;
    if (spaziate) {
        // Two names apart by a run of spaces.
        coppia = pezzi.size() - 2;
        pezzi[*coppia] =
            testo.substr(pezzi[*coppia].data() - testo.data(),
                         pezzi.back().data() + pezzi.back().size() - pezzi[*coppia].data());
        segno = {pezzi[*coppia].size() - pezzi.back().size() - 2, 2};
        pezzi.pop_back();
    }
    const bool riposo = trova_ascii(testo, "ripos") != FINE;
    const bool giornata =
        std::any_of(parole.begin(), parole.begin() + std::min<std::ptrdiff_t>(2, parole.size()),
                    [&](const Parola& p) { return di_giornata(testo.substr(p.da, p.a - p.da)); });
    if (riposo || giornata || !coppia) {
        letta.tipo = riposo                     ? Letta::Tipo::riposo
                     : giornata || letta.giorno ? Letta::Tipo::intestazione
                                                : Letta::Tipo::altro;
        return;
    }
    letta.tipo = Letta::Tipo::partita;
    const std::string_view pezzo = pezzi[*coppia];
    std::string_view casa = senza_segni(pezzo.substr(0, segno.first));
    std::string_view ospite = senza_segni(pezzo.substr(segno.first + segno.second));
    std::string luogo;
    // "Campo Aquile: Aquile - Lupi", "Campo Aquile – Aquile vs Lupi"; else the words before
    // the home team the list knows, or one word, as a list of spaces has it.
    std::size_t campo = FINE;
    for (const std::string_view tra : {": ", " - ", " \u2013 ", " \u2014 ", " | "}) {
        const std::size_t dove = casa.rfind(tra);
        campo = dove != FINE && (campo == FINE || dove > campo) ? dove : campo;
    }
    if (campo != FINE) {
        luogo = senza_segni(casa.substr(0, campo));
        casa = senza_segni(casa.substr(campo + 1));
    } else if (casa.find(' ') != FINE && !spaziate && pezzo.data() != testo.data()) {
        std::size_t taglio = casa.find(' ');
        for (std::size_t s = casa.find(' '); s != FINE; s = casa.find(' ', s + 1)) {
            if (squadre.contains(casa.substr(s + 1))) {
                taglio = s;
                break;
            }
        }
        const bool nota = squadre.contains(casa);
        luogo = nota ? "" : casa.substr(0, taglio);
        casa = nota ? casa : casa.substr(taglio + 1);
    }
    if (const std::size_t aperta = ospite.find(" ("); aperta != FINE) {
        const std::string_view tra = ospite.substr(aperta + 2);
        luogo += (luogo.empty() ? "" : " ") + std::string(tra.substr(0, tra.find(')')));
        ospite = senza_segni(ospite.substr(0, aperta));
    }
    for (std::size_t k = 0; k < pezzi.size(); ++k) {
        if (k != *coppia && rinvio_di(pezzi[k], true).empty()) {
            luogo += (luogo.empty() ? "" : " ") + std::string(senza_segni(pezzi[k]));
        }
    }
    letta.casa = casa;
    letta.ospite = ospite;
    letta.partita = std::string(casa.data(), ospite.data() + ospite.size());
    letta.luogo = senza_segni(luogo);
}

}  // namespace turnolista
