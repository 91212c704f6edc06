#include "esporta/parti.hpp"

namespace turnolista {

namespace {

// An ASCII letter in either case: what tells a name ("Lupi") from a sentence's words here.
constexpr bool maiuscola(char c) {
    return c >= 'A' && c <= 'Z';
}
constexpr bool minuscola(char c) {
    return c >= 'a' && c <= 'z';
}

// The text without a sentence's stop, after a word too long for an abbreviation: "Pol." stays.
std::string_view senza_punto(std::string_view testo) {
    return testo.substr(
        0, testo.size() - (testo.ends_with('.') && testo.size() - testo.rfind(' ') > 6 ? 1 : 0));
}

// A venue without the word that leads to it: "c/o pal. Rossi", "presso il campo", "a Pieve".
std::string_view senza_presso(std::string_view luogo) {
    luogo.remove_prefix(luogo.starts_with("a ") ? 2 : 0);
    const std::size_t s = luogo.find(' ');
    if (s != FINE && una_di("c/o presso", luogo.substr(0, s))) {
        luogo.remove_prefix(s + 1);
        luogo.remove_prefix(una_di("il lo la", luogo.substr(0, luogo.find(' '))) ? 3 : 0);
    }
    return luogo;
}

// Whether `parole` hold a name's word, no venue's kind: "Campo a 7 coperto" holds none.
bool con_nome(std::string_view parole) {
    for (std::size_t da = 0; da < parole.size();
         da = std::min(parole.find(' ', da), parole.size()) + 1) {
        if (maiuscola(parole[da]) && !di_luogo(parole.substr(da))) {
            return true;
        }
    }
    return false;
}

}  // namespace

// Where no sign ends the venue, it stands before a team the list names, or takes as many words as
// the away team has: "Campo Lupi Tori-Orsi".
std::string_view luogo_prima(std::string_view& casa, bool solo, const Squadre& squadre,
                             std::string_view ospite) {
    // Where the home team starts, 0 for none: a sign holds a space, and names have few.
    std::size_t taglio = 0, squadra = 0;
    for (std::size_t s = casa.find(' '); s != FINE; s = casa.find(' ', s + 1)) {
        taglio = s > 0 && (casa[s - 1] == ':' || casa[s - 1] == ',') ? s : taglio;
        for (const std::string_view tra : {" - ", " \u2013 ", " \u2014 ", " | "}) {
            taglio = casa.substr(s).starts_with(tra) ? s + 1 : taglio;
        }
        squadra = squadra == 0 && squadre.contains(casa.substr(s + 1)) ? s + 1 : squadra;
    }
    if (taglio == 0 && (solo || squadre.contains(casa))) {
        return {};
    }
    std::size_t fine = casa.size();
    for (auto parole = std::ranges::count(ospite, ' ') + 1; parole > 0 && fine != FINE; --parole) {
        fine = fine > 0 ? casa.rfind(' ', fine - 1) : FINE;
    }
    taglio = taglio == 0 ? squadra : taglio;
    taglio = taglio == 0 ? fine + 1 : taglio;
    std::string_view luogo = taglio == 0 ? "" : senza_segni(casa.substr(0, taglio - 1));
    luogo.remove_prefix(luogo.starts_with("a ") ? 2 : 0);  // "a Castenaso, Lupi - Orsi"
    casa = taglio == 0 ? casa : senza_segni(casa.substr(taglio));
    return luogo;
}

std::string_view luogo_dopo(std::string_view& ospite) {
    // Not at a province's bracket, which is the team's: "Albavilla (CO)".
    std::size_t aperta = ospite.find(" (");
    while (aperta != FINE && ospite.substr(aperta + 2, 3).ends_with(')') &&
           std::all_of(ospite.begin() + aperta + 2, ospite.begin() + aperta + 4, maiuscola)) {
        aperta = ospite.find(" (", aperta + 1);
    }
    aperta = std::min(aperta, ospite.size());
    // A sentence's "a" before a place's name: "Lupi - Orsi a Cà Nova".
    for (std::size_t s = ospite.find(' '); s < aperta; s = ospite.find(' ', s + 1)) {
        const bool a = ospite.substr(s).starts_with(" a ") && ospite.size() > s + 3 &&
                       maiuscola(ospite[s + 3]);
        aperta = ospite[s - 1] == ',' || a || di_luogo(ospite.substr(s + 1)) ? s : aperta;
    }
    const bool tra_parentesi = ospite.substr(aperta).starts_with(" (");
    const std::string_view luogo = senza_segni(ospite.substr(std::min(aperta + 1, ospite.size())));
    ospite = senza_punto(senza_segni(ospite.substr(0, aperta)));
    // "Virtus al campo nostro": the word that leads to the venue is the team's no more than it
    // is the venue's; in small letters, as "Lupi A" is a team.
    const std::size_t s = ospite.rfind(' ');
    if (!luogo.empty() && s != FINE && ospite[s + 1] >= 'a' &&
        una_di("a al allo alla in", ospite.substr(s + 1))) {
        ospite = ospite.substr(0, s);
    }
    return tra_parentesi ? luogo.substr(0, luogo.find(')')) : luogo;
}

bool nota_prima(std::string_view& casa, const Squadre& squadre, Letta& letta) {
    std::vector<std::string>& altre = letta.altre;
    if (const std::size_t s = casa.find(' '); s != FINE && leggi_ora(casa.substr(0, s))) {
        letta.ora = casa.substr(0, s);
        casa = senza_segni(casa.substr(s));
    }
    const std::size_t s = casa.find(' ');
    if (s != FINE && una_di("recupero anticipo posticipo", casa.substr(0, s)) &&
        squadre.contains(casa.substr(s + 1))) {
        altre.emplace_back(casa.substr(0, s));
        casa.remove_prefix(s + 1);
    }
    const std::size_t due_punti = casa.find(": ");
    if (due_punti == FINE || nomina_un_luogo(casa.substr(0, due_punti))) {
        return false;
    }
    altre.emplace_back(casa.substr(0, due_punti));
    casa.remove_prefix(due_punti + 2);
    return true;
}

std::string_view senza_frase(std::string_view casa) {
    while (casa.find(' ') != FINE && minuscola(casa[0]) && std::ranges::any_of(casa, maiuscola)) {
        casa.remove_prefix(casa.find(' ') + 1);
    }
    return casa;
}

bool di_luogo(std::string_view testo) {
    const std::string_view parola = testo.substr(0, testo.find(' '));
    return una_di(
               "campo palestra palazzetto palasport stadio impianto oratorio sintetico c/o "
               "presso @ pala palaz. tensostruttura polivalente piscina comunale salone c.s.",
               parola) ||
           (una_di("centro", parola) && testo.size() > 7 && una_di("sport", testo.substr(7, 5))) ||
           (parola.size() > 4 && una_di("pala", parola.substr(0, 4)) &&
            parola[4] != minuscola_ascii(parola[4]));  // "PalaLupi", "PALALUPI", no "Palazzo"
}

bool nomina_un_luogo(std::string_view testo) {
    bool nomina = di_luogo(testo);
    for (std::size_t s = testo.find(' '); s != FINE && !nomina; s = testo.find(' ', s + 1)) {
        nomina = di_luogo(testo.substr(s + 1));
    }
    return nomina;
}

// A venue in a chat's sentences: from the word that names its kind, where words in small letters
// stand before it, to its clause's end: "trasferta al campo sintetico di Roverella, partenza col
// pulmino" is "campo sintetico di Roverella"; "Lupi, Palestra Rossi, via Verdi" stays as it is.
std::string_view nel_discorso(std::string_view luogo) {
    // The place after a sentence's "a": "la gara è prevista a Villarosa".
    const std::size_t a = luogo.rfind(" a ");
    luogo.remove_prefix(a != FINE && !minuscola(luogo[a + 3]) && minuscola(luogo[0]) ? a + 3 : 0);
    bool discorso = false;
    std::size_t da = 0;
    while (da < luogo.size() && !di_luogo(luogo.substr(da))) {
        // A word in small letters, "è" too (U+00E0 to U+00FF, after 0xC3).
        discorso = discorso || minuscola(luogo[da]) ||
                   (luogo.substr(da).starts_with('\xC3') && da + 1 < luogo.size() &&
                    static_cast<unsigned char>(luogo[da + 1]) >= 0xA0);
        da = std::min(luogo.find(' ', da), luogo.size() - 1) + 1;
    }
    discorso = discorso && da < luogo.size();
    const std::string_view frase = senza_presso(discorso ? luogo.substr(da) : luogo);
    for (std::size_t s = frase.find(' '); s != FINE; s = frase.find(' ', s + 1)) {
        // A sentence's stop, not an abbreviation's ("S. Rocco", "camp. com."): after a long word,
        // a name's outside a sentence; in a sentence also before a small letter, as a comma is
        // before a word in small letters that is no street's. Before any comma, a word in small
        // letters after a name that links none of its words: "PalaCervi di Rivo si gioca".
        const std::string_view prima = frase.substr(0, s);
        const std::string_view dopo = frase.substr(s + 1, frase.find(' ', s + 1) - s - 1);
        const bool piccola = !dopo.empty() && minuscola(dopo[0]);
        const std::string_view parola = prima.substr(prima.rfind(' ') + 1);
        const bool punto =
            prima.ends_with('.') &&
            (discorso ? piccola || parola.size() > 4 : parola.size() > 4 && !minuscola(parola[0]));
        const bool virgola = discorso && prima.ends_with(',') && piccola &&
                             !una_di("via viale piazza loc. località", dopo);
        const bool altro =
            piccola && prima.find(',') == FINE &&
            !una_di("di del della dello dei degli delle via viale piazza le la", dopo) &&
            std::ranges::count(prima, '(') == std::ranges::count(prima, ')') && !di_luogo(dopo) &&
            con_nome(prima);
        if (punto || virgola || altro) {
            return prima.substr(0, s - (punto || virgola ? 1 : 0));
        }
    }
    return senza_punto(frase);
}

}  // namespace turnolista
