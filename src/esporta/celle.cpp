#include "esporta/parti.hpp"

#include <algorithm>
#include <array>

#include "comune/codifica.hpp"

namespace turnolista {

namespace {

constexpr std::size_t CELLE = 64;  // a record's most: see celle_di()

// A mark of a match not played on its date (see rinvio_di), in small letters.
constexpr std::array<std::string_view, 15> SEGNI{
    "rinv",          "sosp",        "annullat",     "posticipat", "da rec",
    "non disputat",  "da definire", "da stabilire", "da fissare", "da confermare",
    "da comunicare", "data da",     "postpone",     "cancel",     "tbd"};
// The key of the last three bytes, `c` the last: their low five bits, a letter's in either case.
constexpr std::size_t ultimi_tre(std::size_t prima, char c) {
    return ((prima << 5U) | (static_cast<unsigned char>(c) & 31U)) & 0x7FFFU;
}
// Whether three bytes, by their key, may start a mark: most lines have no three that may.
constexpr auto INIZI = [] {
    std::array<bool, 0x8000> inizi{};
    for (const std::string_view segno : SEGNI) {
        inizi.at(ultimi_tre(ultimi_tre(ultimi_tre(0, segno[0]), segno[1]), segno[2])) = true;
    }
    return inizi;
}();

// Emoji, their joiners and selectors, a chat's direction marks, bullets, middle dots, emphasis.
bool figura(char32_t c) {
    if (c < 0x80) {  // most characters, each byte of a cell looked at once
        return c == '*' || c == '_' || c == '~';
    }
    return c >= 0x1F000 || (c >= 0x2300 && c <= 0x23FF) || (c >= 0x2600 && c <= 0x27BF) ||
           (c >= 0x2B00 && c <= 0x2BFF) || (c >= 0x200D && c <= 0x200F) || c == 0xFE0F ||
           c == 0x2022 || (c >= 0x25A0 && c <= 0x25FF) || c == 0xB7;
}

// The text in double quotes that starts `riga`, as a sheet quotes a cell ("" one quote, a line
// break a space), into `cella`; where the cell goes on after it.
std::size_t tra_virgolette(std::string_view riga, std::string& cella) {
    std::size_t i = 1;
    for (; i < riga.size() && (riga[i] != '"' || riga.substr(i).starts_with("\"\"")); ++i) {
        i += riga.substr(i).starts_with("\"\"") || riga.substr(i).starts_with("\r\n") ? 1 : 0;
        cella += riga[i] == '\n' || riga[i] == '\r' ? ' ' : riga[i];
    }
    return std::min(i + 1, riga.size());
}

// What a header's words may name, beyond what the cells show: a field's words, in the order
// in which the first wins where a cell holds two ("Campo squadra ospite" is a venue).
constexpr std::array<std::pair<std::string_view, std::optional<std::size_t> Colonne::*>, 6> NOMI{{
    {" campo luogo impianto palestra sede stadio struttura location venue ", &Colonne::luogo},
    {" casa locali ospitante home 1 ", &Colonne::casa},
    {" ospite ospiti trasferta ospitata away avversario avversari fuori 2 ", &Colonne::ospite},
    {" partita incontro squadre ", &Colonne::partita},
    {" gara n num numero nr ", &Colonne::n},
    {" indirizzo address ", &Colonne::indirizzo},
}};

}  // namespace

std::optional<std::size_t> Colonne::*campo_nominato(std::string_view cella) {
    // Each word between spaces, as NOMI writes them.
    std::string parole = std::string(" ").append(minuscolo_ascii(cella)).append(" ");
    std::ranges::replace_if(
        parole, [](char c) { return !lettera(c) && !cifra(c); }, ' ');
    // "Squadra fuori casa" is the away team, not a flag of both.
    if (const std::size_t fuori = parole.find(" fuori casa "); fuori != FINE) {
        parole.erase(fuori + 6, 5);
    }
    const auto* nome = NOMI.end();
    unsigned lati = 0;  // the home's words, the away's: both name a flag, "Casa/Trasferta"
    for (std::size_t da = 0; da + 1 < parole.size(); da = parole.find(' ', da + 1)) {
        const std::string_view parola(parole.data() + da, parole.find(' ', da + 1) + 1 - da);
        const auto* k =
            std::ranges::find_if(NOMI, [&](const auto& n) { return n.first.find(parola) != FINE; });
        lati |= k == &NOMI[1] ? 1U : k == &NOMI[2] ? 2U : 0U;
        nome = std::min(k, nome);
    }
    return nome == NOMI.end() || lati == 3 ? nullptr : nome->second;
}

std::size_t etichetta(std::string_view riga) {
    // A label is one short word: most lines start otherwise, with a digit. A mail's HTML may
    // put a no-break space after its colon.
    const std::size_t due_punti =
        !riga.empty() && lettera(riga.front()) ? riga.substr(0, 17).find(':') : FINE;
    const std::string_view parola = riga.substr(0, due_punti);
    const std::string_view dopo = riga.substr(std::min(due_punti + 1, riga.size()));
    const std::size_t spazio = dopo.starts_with(' ') ? 1 : dopo.starts_with("\u00A0") ? 2 : 0;
    return spazio > 0 && std::ranges::all_of(parola, lettera) &&
                   (una_di("data ora orario", parola) || campo_nominato(parola) != nullptr)
               ? due_punti + 1 + spazio
               : 0;
}

std::string pulita(std::string_view riga) {
    riga.remove_prefix(riga.starts_with("\u200E") ? 3 : 0);
    // What a chat puts before a message: "[12/09/26, 21:15] Mario: ", "12/09/26, 21:15 - Mario: ".
    const std::size_t chiusa = riga.starts_with('[') ? riga.find("] ") : FINE;
    const std::size_t trattino = !riga.empty() && cifra(riga.front()) ? riga.find(" - ") : FINE;
    const std::size_t dopo = std::min(chiusa, trattino);
    const std::size_t due_punti = riga.find(": ", dopo);
    const bool chat =
        dopo <= 24 && riga.substr(0, dopo).find(':') != FINE && due_punti <= dopo + 40;
    riga.remove_prefix(chat ? due_punti + 2 : 0);
    riga.remove_prefix(std::min(riga.find_first_not_of("> "), riga.size()));
    riga.remove_prefix(etichetta(riga));
    riga.remove_prefix(riga.starts_with("- ") ? 2 : 0);  // "* ", as every '*', is figura()'s
    // Most cells are plain ASCII with nothing to take out: no byte to decode one at a time.
    if (std::none_of(riga.begin(), riga.end(),
                     [](unsigned char c) { return c == '\t' || c >= 0x80 || figura(c); })) {
        return std::string(senza_spazi(riga));
    }
    std::string testo;
    testo.reserve(riga.size());
    for (std::size_t i = 0, n = 0; i < riga.size(); i += n) {
        const char32_t c = carattere(riga.substr(i), n);
        n = std::max<std::size_t>(n, 1);
        // A no-break space between a name's letters, "Real\u00a0Fossa", is the name's own.
        const bool nel_nome =
            !testo.empty() && lettera(testo.back()) && i + n < riga.size() && lettera(riga[i + n]);
        testo.append(c == '\t'                ? "  "
                     : c == 0xA0 && !nel_nome ? " "
                     : figura(c)              ? std::string_view()
                                              : riga.substr(i, n));
    }
    return std::string(senza_spazi(testo));
}

std::vector<std::string> celle_di(std::string_view riga, Separatore separatore) {
    const auto s = static_cast<char>(separatore);
    const bool spazi = separatore == Separatore::spazio;
    // Past the spaces and tabs from `da`, which cut cells where spaces do.
    const auto dopo_gli_spazi = [&](std::size_t da) {
        return riga.substr(std::min(riga.find_first_not_of(" \t", da), riga.size()));
    };
    riga = spazi || s == '|' ? senza_spazi(dopo_gli_spazi(0)) : riga;
    riga = riga.substr(0, riga.find_last_not_of(s) + 1);
    riga.remove_prefix(s == '|' && riga.starts_with(s) ? 1 : 0);
    std::vector<std::string> celle;
    celle.reserve(
        spazi ? 0 : std::min(static_cast<std::size_t>(std::ranges::count(riga, s)) + 1, CELLE));
    while (!spazi || !riga.empty()) {
        const bool ultima = celle.size() + 1 == CELLE;
        std::string cella;
        const std::size_t i =
            !ultima && !spazi && riga.starts_with('"') ? tra_virgolette(riga, cella) : 0;
        const std::size_t fine = ultima  ? FINE
                                 : spazi ? std::min(riga.find("  ", i), riga.find('\t', i))
                                         : riga.find(s, i);
        celle.push_back(pulita(i == 0 ? riga.substr(0, fine)
                                      : std::string_view(cella.append(riga.substr(i, fine - i)))));
        if (fine >= riga.size()) {
            break;
        }
        riga = spazi ? dopo_gli_spazi(fine) : riga.substr(fine + 1);
    }
    return celle;
}

Coppia incontro(std::string_view testo) {
    // Each sign below holds a dash, or "v", "c" or "/" after a space: most cells, a date or a
    // venue, hold neither, and so are looked at once rather than once a sign.
    if (std::adjacent_find(testo.begin(), testo.end(), [](char a, char b) {
            return a == '-' || a == '\xE2' ||
                   (a == ' ' && (b == 'v' || b == 'V' || b == '/' || b == 'c' || b == 'C'));
        }) == testo.end()) {
        return std::nullopt;
    }
    const auto ai_lati = [&](std::size_t dove, std::size_t lungo) {
        return dove == FINE ? std::pair<std::string_view, std::string_view>()
                            : std::pair(senza_segni(testo.substr(0, dove)),
                                        senza_segni(testo.substr(dove + lungo)));
    };
    // Each looked for only where its second byte, no space, stands: memchr tells so at once.
    for (const std::string_view segno : {" vs. ", " vs ", " VS ", " contro ", " CONTRO ", " - ",
                                         " \u2013 ", " \u2014 ", "\u2013", "\u2014"}) {
        const auto dove = testo.find(segno[1]) == FINE ? FINE : testo.find(segno);
        const auto squadre = ai_lati(dove, segno.size());
        if (!squadre.first.empty() && !squadre.second.empty()) {
            return squadre;
        }
    }
    // "Lupi-Orsi": a dash between a name's end and a letter; a name may end in a number,
    // "Atletico 96-Lupi", where a word comes before it ("13-set" is a date). One word with a
    // digit is a code, "DF-A-001".
    for (std::size_t i = 1; i + 1 < testo.size(); ++i) {
        if (testo[i] == '-' && testo[i - 1] != ' ' && lettera(testo[i + 1]) &&
            (!cifra(testo[i - 1]) || std::any_of(testo.begin(), testo.begin() + i, lettera)) &&
            (testo.find(' ') != FINE || std::none_of(testo.begin(), testo.end(), cifra))) {
            return ai_lati(i, 1);
        }
    }
    // "Lupi / Orsi", after every other sign: a venue may hold one ("Campo A / B").
    const auto lati = ai_lati(testo.find(" / "), 3);
    return lati.first.empty() || lati.second.empty() ? std::nullopt : std::optional(lati);
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

std::string rinvio_di(std::string_view riga, bool datata, std::string_view al) {
    std::size_t i = 0;
    for (std::size_t chiave = 0; i < riga.size(); ++i) {
        chiave = ultimi_tre(chiave, riga[i]);
        if (i >= 2 && INIZI[chiave]) {
            break;
        }
    }
    if (i >= riga.size()) {
        return {};
    }
    const std::string minuscola = minuscolo_ascii(riga);
    for (const std::string_view segno : SEGNI) {
        const std::size_t dove = minuscola.find(segno);
        // Under a firm date, "da definire", "TBD" and their kind are a time still to be set.
        if (dove == FINE ||
            ((segno.starts_with("da ") || segno == "tbd") && segno != "da rec" && datata &&
             std::string_view(minuscola).substr(0, dove).find("data ") == FINE)) {
            continue;
        }
        const std::string_view marca =
            riga.substr(dove, riga.find_first_of(" \t;,\")", dove + segno.size()) - dove);
        if (al.empty() ||
            !riga.substr(dove + marca.size()).starts_with(std::string(" al ").append(al))) {
            return std::string(marca);
        }
    }
    return {};
}

}  // namespace turnolista
