#include "esporta/parole.hpp"

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

std::string_view parola(std::string_view testo, const Parola& p) {
    return testo.substr(p.da, p.a - p.da);
}

void campi_scritti(std::string_view testo, std::vector<Parola>& parole, Letta& letta) {
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
    if (!parole.empty() && !parole[0].usata && numero_di_gara(parola(testo, parole[0]))) {
        letta.n = parola(testo, parole[0]);
        parole[0].usata = true;
    }
}

std::vector<std::string_view> pezzi_di(std::string_view testo, const std::vector<Parola>& parole) {
    std::vector<std::string_view> pezzi;
    for (std::size_t i = 0; i < parole.size(); ++i) {
        if (parole[i].usata || di_passaggio(parola(testo, parole[i]))) {
            continue;
        }
        const bool segue = i > 0 && !parole[i - 1].usata && !parole[i].distante &&
                           !di_passaggio(parola(testo, parole[i - 1])) && !pezzi.empty();
        const std::size_t da =
            segue ? static_cast<std::size_t>(pezzi.back().data() - testo.data()) : parole[i].da;
        if (segue) {
            pezzi.pop_back();
        }
        pezzi.push_back(testo.substr(da, parole[i].a - da));
    }
    return pezzi;
}

bool di_turno(std::string_view testo) {
    const std::size_t prima = std::min(testo.find(' '), testo.size());
    const std::string_view seconda = testo.substr(std::min(prima + 1, testo.size()));
    return di_giornata(testo.substr(0, prima)) || di_giornata(seconda.substr(0, seconda.find(' ')));
}

}  // namespace turnolista
