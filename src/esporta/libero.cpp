#include "esporta/parti.hpp"

#include <span>
#include <tuple>

#include "ricerca/ricerca.hpp"

namespace turnolista {

namespace {

// A round's word among the first two, "1ª giornata", "Giornata 3", "TURNO 2": 2; a group's,
// "Girone A", a heading that leaves the date above to the matches under it: 1; else 0.
int di_turno(std::string_view testo) {
    const auto di_giornata = [](std::string_view parola) {
        parola = senza_segni(parola);
        return una_di("giornata turno round settimana", parola) || parola.ends_with("\xC2\xAA") ||
                       parola.ends_with("\xC2\xB0")
                   ? 2
                   : static_cast<int>(una_di("girone", parola));
    };
    const std::size_t prima = std::min(testo.find(' '), testo.size());
    const std::string_view seconda = testo.substr(std::min(prima + 1, testo.size()));
    return std::max(di_giornata(testo.substr(0, prima)),
                    di_giornata(seconda.substr(0, seconda.find(' '))));
}

// A note where a venue may stand, and so no venue: a mark, "orario da definire", "RECUPERO",
// "anticipo", a tournament's group, a result's "tav." (a forfeit) or "Finale", a calendar's "Tutto
// il giorno", or signs alone.
bool nota(std::string_view testo) {
    return std::ranges::none_of(testo, lettera) ||
           una_di("recupero anticipo posticipo spostata girone amichevole tav. finale tutto",
                  testo.substr(0, testo.find(' '))) ||
           !rinvio_di(testo, false).empty();
}

// A piece that may be of a match's venue: no note, round or match; "PalaLupi - Via Po 8" is one.
bool del_luogo(std::string_view pezzo) {
    return !nota(pezzo) && di_turno(pezzo) == 0 && (!incontro(pezzo) || di_luogo(pezzo));
}

// A venue without the notes before or beside it, between commas or brackets, which go to `altre`:
// "orario da definire (PalaX)", "(anticipo sabato ore 20.30, Campo A)".
std::string senza_note(std::string_view luogo, std::vector<std::string>& altre) {
    if (!nota(luogo)) {
        return std::string(luogo);
    }
    std::string resta;
    for (std::string_view resto = luogo; !resto.empty();) {
        const std::size_t fine = std::min(resto.find_first_of(",("), resto.size());
        const std::string_view parte = senza_segni(resto.substr(0, fine));
        if (!nota(parte)) {
            resta.append(resta.empty() ? "" : ", ").append(parte);
        } else if (!parte.empty()) {
            altre.emplace_back(parte);
        }
        resto.remove_prefix(std::min(fine + 1, resto.size()));
    }
    return resta;
}

// The piece of `pezzi` that holds the two teams, and they: the first with a dash or "vs", or of
// several (a paper's round on one line) the first that holds `nome`; else the last two pieces,
// joined, the teams either side of the spaces between; and whether the teams are whole pieces.
auto coppia_di(std::vector<std::string_view>& pezzi, std::string_view nome) {
    std::size_t k = pezzi.size();
    Coppia coppia;
    // Of two, the one that holds the name, or else the one whose home team is no venue.
    const auto nomina = [&](std::size_t i) { return contiene(pezzi[i], nome); };
    for (std::size_t j = 0; j < pezzi.size(); ++j) {
        const auto due = incontro(pezzi[j]);
        if (due && (!coppia || (!nomina(k) && nomina(j)) ||
                    (nomina(k) == nomina(j) && di_luogo(coppia->first) && !di_luogo(due->first)))) {
            coppia = due;
            k = j;
        }
    }
    // Spaces, or a played match's result, "Lupi 2 - 1 Orsi", between the last two; before the
    // venue or the mark that ends the line: "LUPI   ORSI   PALESTRA COMUNALE", "Lupi  Orsi  Rinv.".
    const bool dopo =
        pezzi.size() >= 3 && (di_luogo(pezzi.back()) || !rinvio_di(pezzi.back(), false).empty());
    const std::size_t n = pezzi.size() - (dopo ? 1 : 0);
    const std::string_view tra =
        n >= 2 ? std::string_view(pezzi[n - 2].end(), pezzi[n - 1].begin()) : "";
    const bool spaziate = !coppia && n >= 2 && !senza_segni(pezzi[n - 1]).empty() &&
                          !senza_segni(pezzi[n - 2]).empty() &&
                          (senza_spazi(tra).empty() || risultato(tra));
    // Designations' "CASA / OSPITE - CAMPO - VIA": where the away team after the dash is a venue,
    // the teams are those on either side of the " / " before it.
    const bool barra = coppia && k > 0 && di_luogo(coppia->second) &&
                       senza_spazi(std::string_view(pezzi[k - 1].end(), pezzi[k].begin())) == "/";
    if (spaziate || barra) {
        k = spaziate ? n - 2 : k - 1;
        coppia = std::pair(senza_segni(pezzi[k]),
                           spaziate ? senza_segni(pezzi[k + 1])
                                    : std::string_view(coppia->first.begin(), pezzi[k + 1].end()));
        pezzi[k] = std::string_view(pezzi[k].begin(), pezzi[k + 1].end());
        pezzi.erase(pezzi.begin() + static_cast<std::ptrdiff_t>(k) + 1);
    }
    return std::tuple(k, coppia, spaziate || barra);
}

// A line of no match is a heading where it starts with a round's word (`giornata`), or gives a
// date, a weekday or a month: "OTTOBRE 2026" gives its month to the days under it. Its second
// date is the return legs' where it names them, "ANDATA: 13/09/26 RITORNO: 17/01/27"; of times
// alone, a bulletin's "ORE...: 15:30 | ORE....: 14:30", the second is the return legs' too.
Letta::Tipo intestazione(std::string_view testo, std::span<const std::string_view> pezzi,
                         bool giornata, Letta& letta) {
    const auto mese = leggi_parte(senza_segni(testo));
    letta.data = mese && mese->mese != 0 ? senza_segni(testo) : letta.data;
    const auto ultima = [](std::string_view pezzo) { return pezzo.substr(pezzo.rfind(' ') + 1); };
    const auto ora = std::ranges::find_if(pezzi, [&](auto p) { return !!leggi_ora(ultima(p)); });
    if (letta.data.empty() && !letta.ora.empty() && ora != pezzi.end()) {
        letta.ritorno = std::pair(std::string(), std::string(ultima(*ora)));
    } else if (trova_ascii(testo, "ritorno") == FINE && trova_ascii(testo, "rit.") == FINE) {
        letta.ritorno.reset();  // a weekend's "31/10-01/11/2026"
    } else if (letta.data.empty() && !letta.ora.empty()) {
        // "Le gare di ritorno si disputano alle ore 14.30": the return legs' time alone.
        letta.ritorno = std::pair(std::string(), std::exchange(letta.ora, {}));
    }
    // A day's venue, "Sabato 17 aprile – Palestra Girasole", is that of the matches under it.
    const auto luogo = std::ranges::find_if(pezzi, [](auto p) { return di_luogo(senza_segni(p)); });
    letta.luogo = letta.luogo.empty() && luogo != pezzi.end() ? senza_segni(*luogo) : letta.luogo;
    return giornata || leggi_data(letta.data) || leggi_parte(letta.data) ? Letta::Tipo::intestazione
                                                                         : Letta::Tipo::altro;
}

// A paper's round on a line, "Serie D (ore 21): A-B (Palestra X); C-D; E-F (ore 20.30). Serie C:
// ...": the team `nome`'s match with its own brackets, the date or time it lacks from what all
// before the first colon share.
std::optional<Letta> del_giro(std::string_view testo, const Squadre& squadre,
                              std::string_view nome) {
    const std::size_t dopo = std::min(testo.find("; "), testo.find("). "));
    if (nome.empty() || dopo == FINE) {
        return std::nullopt;
    }
    const std::size_t due_punti = testo.substr(0, dopo).find(": ");
    const std::size_t da = due_punti == FINE ? 0 : due_punti + 2;
    // The team's match, the first that names it, where the line holds more than one.
    std::string_view sua;
    std::size_t incontri = 0;
    for (std::string_view resto = testo.substr(da); !resto.empty();) {
        const std::size_t chiusa = resto.find("). ");
        const std::size_t fine =
            std::min({resto.find("; "), chiusa == FINE ? FINE : chiusa + 1, resto.size()});
        const std::string_view partita = resto.substr(0, fine);
        if (const Coppia coppia = incontro(partita)) {
            ++incontri;
            const bool nomina = contiene({coppia->first.begin(), coppia->second.end()}, nome);
            sua = sua.empty() && nomina ? partita : sua;
        }
        resto.remove_prefix(std::min(fine + 2, resto.size()));
    }
    if (!sua.empty() && incontri > 1) {
        Letta letta = leggi_libero(sua, squadre);
        const Letta comune = leggi_libero(testo.substr(0, da), squadre);
        letta.data = letta.data.empty() ? comune.data : letta.data;
        letta.ora = letta.ora.empty() ? comune.ora : letta.ora;
        letta.propria = sua;
        return letta;
    }
    return std::nullopt;
}

}  // namespace

Letta leggi_libero(std::string_view testo, const Squadre& squadre, std::string_view nome) {
    if (auto sua = del_giro(testo, squadre, nome)) {
        return std::move(*sua);
    }
    Letta letta;
    std::vector<std::string_view> pezzi = pezzi_di(testo, letta);
    auto [k, coppia, intere] = coppia_di(pezzi, nome);
    due_nomi(pezzi, k, coppia, squadre);
    // A rest, or an e-mail's header that names the team among its senders or recipients.
    const bool a_riposo =
        riposo(testo) || una_di("da: a: cc: oggetto: inviato: from: to: subject: sent:",
                                testo.substr(0, testo.find(' ')));
    // A round's word starts a heading, unless the teams stand after the line's date or time.
    const int turno = !coppia || pezzi[k].data() == testo.data() ? di_turno(testo) : 0;
    if (a_riposo || turno > 0 || !coppia) {
        letta.tipo = a_riposo ? Letta::Tipo::altro : intestazione(testo, pezzi, turno == 2, letta);
        return letta;
    }
    letta.tipo = Letta::Tipo::partita;
    auto [casa, ospite] = *coppia;
    const bool categoria = nota_prima(casa, squadre, letta);
    const std::string dopo = senza_note(luogo_dopo(ospite), letta.altre);
    nota_dopo(ospite, squadre, letta.altre);
    // A venue before the home team, unless the piece starts the line or a field after spaces.
    const std::string_view prima(testo.data(), pezzi[k].data());
    std::string luogo =
        senza_note(luogo_prima(casa, intere || categoria || prima.empty() || prima.ends_with("  "),
                               squadre, ospite),
                   letta.altre);
    luogo.append(luogo.empty() || dopo.empty() ? "" : " ").append(dopo);
    // A venue named after the match: a category before it is none, "Serie D sab 17/10 ...".
    const bool poi = !dopo.empty() ||
                     std::any_of(pezzi.begin() + static_cast<std::ptrdiff_t>(k) + 1, pezzi.end(),
                                 [](std::string_view p) { return nomina_un_luogo(p); });
    for (std::size_t j = 0; j < pezzi.size(); ++j) {
        // A venue in brackets after the time, which senza_segni() unwraps: "ore 15.30 (Campo A)".
        const std::string_view altro = senza_segni(pezzi[j]);
        // A chat's words before the fields, "dimenticavo la 6ª: dom 25/10 ...", are no venue.
        if (j < k && (senza_spazi(pezzi[j]).ends_with(':') || poi) && !nomina_un_luogo(altro)) {
            letta.altre.emplace_back(altro);
        } else if (j != k && del_luogo(altro)) {
            luogo.append(luogo.empty() ? "" : " ").append(altro);
        }
    }
    // A tournament's group after the venue, "Campo 1 Girone A", is no part of it.
    if (const std::size_t girone = trova_ascii(luogo, " girone "); girone != FINE) {
        letta.altre.emplace_back(luogo.substr(girone + 1));
        luogo.resize(girone);
    }
    casa = senza_frase(casa);
    letta.casa = casa;
    letta.ospite = ospite;
    letta.partita = std::string(casa.begin(), ospite.end());
    letta.luogo = letta.luogo.empty() ? std::string(nel_discorso(senza_segni(luogo))) : letta.luogo;
    return letta;
}

}  // namespace turnolista
