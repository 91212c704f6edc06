#include "esporta/parti.hpp"

#include <algorithm>
#include <array>
#include <charconv>

#include "comune/codifica.hpp"

namespace turnolista {

using namespace std::chrono;

namespace {

constexpr std::array<std::string_view, 12> MESI{"gennaio",   "febbraio", "marzo",    "aprile",
                                                "maggio",    "giugno",   "luglio",   "agosto",
                                                "settembre", "ottobre",  "novembre", "dicembre"};

// Takes the leading digits off `testo`: their value, where they are `minimo` to `massimo`.
std::optional<unsigned> cifre(std::string_view& testo, std::size_t minimo, std::size_t massimo) {
    unsigned valore = 0;
    const char* fine = std::from_chars(testo.data(), testo.data() + testo.size(), valore).ptr;
    const auto n = static_cast<std::size_t>(fine - testo.data());
    testo.remove_prefix(n);
    return n >= minimo && n <= massimo ? std::optional(valore) : std::nullopt;
}

// The whole of `testo` as a year: "26" (2026) or "2026".
std::optional<int> anno_di(std::string_view testo) {
    const std::size_t lunghezza = testo.size();
    const auto anno = lunghezza == 2 || lunghezza == 4 ? cifre(testo, lunghezza, 4) : std::nullopt;
    return anno ? std::optional(static_cast<int>(*anno) + (lunghezza == 2 ? 2000 : 0))
                : std::nullopt;
}

// The month a word names: "set", "set.", "sett", "settembre"; not "otto", which is a number.
std::optional<unsigned> mese_di(std::string_view testo) {
    const std::string_view parola = testo.substr(0, testo.size() - (testo.ends_with('.') ? 1 : 0));
    if (parola.size() < 3 || !lettera(parola.front())) {  // most words, before twelve names
        return std::nullopt;
    }
    // Three letters tell each month from the others: at most one is named.
    const auto* mese = std::ranges::find_if(MESI, [&](std::string_view nome) {
        const std::string_view inizio = nome.substr(0, parola.size());
        return std::ranges::equal(parola, inizio, {}, minuscola_ascii) &&
               (parola.size() == 3 || inizio == "sett" || inizio == nome);
    });
    return mese == MESI.end() ? std::nullopt
                              : std::optional(static_cast<unsigned>(mese - MESI.begin()) + 1);
}

// The date that `resto` writes from its day on: "13/09/2026", "13 set. 26", "1° novembre".
std::optional<Data> dal_giorno(std::string_view resto) {
    // Every date starts with its day: most words a line is tried by end here.
    const auto giorno = cifre(resto, 1, 2);
    resto.remove_prefix(resto.starts_with("\xC2\xB0") || resto.starts_with("\xC2\xBA") ? 2 : 0);
    if (!giorno || resto.empty() || std::string_view(" /-.").find(resto.front()) == FINE) {
        return std::nullopt;
    }
    // The month after a space, or after a sign that stands again before the year ("13-09-26");
    // by its name after either, as Excel writes it too: "27-set-26".
    const char segno = resto.front();
    resto = segno == ' ' ? senza_spazi(resto.substr(1)) : resto.substr(1);
    const bool nominato = segno == ' ' || (!resto.empty() && lettera(resto.front()));
    const std::size_t nome = nominato ? std::min(resto.find(segno), resto.size()) : 0;
    const auto mese = nominato ? mese_di(resto.substr(0, nome)) : cifre(resto, 1, 2);
    resto.remove_prefix(nome);
    const auto anno = resto.empty()            ? std::optional(0)
                      : resto.front() == segno ? anno_di(senza_spazi(resto.substr(1)))
                                               : std::nullopt;
    // Year 0, where the list says none, is a leap year: 29/02 waits for its year.
    return mese && anno && year_month_day(year(*anno) / month(*mese) / day(*giorno)).ok()
               ? std::optional(Data{*giorno, *mese, *anno})
               : std::nullopt;
}

}  // namespace

bool data_in_cella(std::string_view cella) {
    // The time, or a played match's result, is the last word, two or three: "sab 10 ott 2026 ore
    // 18:00", "sab 26 set 3 - 1".
    std::array<std::size_t, 3> spazi{cella.rfind(' ')};
    for (std::size_t i = 1; i < spazi.size(); ++i) {
        const std::size_t dopo = spazi[i - 1];
        spazi[i] = dopo == FINE || dopo == 0 ? FINE : cella.rfind(' ', dopo - 1);
    }
    return leggi_data(cella) || std::ranges::any_of(spazi, [&](std::size_t s) {
               const std::string_view dopo = s == FINE ? "" : cella.substr(s + 1);
               return (leggi_ora(dopo) || risultato(dopo)) && leggi_data(cella.substr(0, s));
           });
}

std::optional<std::string> da_iso(std::string_view testo) {
    if (testo.size() != 10 || testo[4] != '-' || testo[7] != '-' || !cifra(testo[0])) {
        return std::nullopt;
    }
    return std::string(testo.substr(8)) + '/' + std::string(testo.substr(5, 2)) + '/' +
           std::string(testo.substr(0, 4));
}

// Each of a weekday's letters goes on with its name, three at least; most words fail the first.
unsigned giorno_solo(std::string_view cella) {
    if (cella.size() < 3 || cella.size() > 10 || !lettera(cella.front())) {  // most cells
        return 0;
    }
    constexpr std::array<std::string_view, 7> giorni{"lunedi",  "martedi", "mercoledi", "giovedi",
                                                     "venerdi", "sabato",  "domenica"};
    const auto* giorno = std::ranges::find_if(giorni, [&](std::string_view g) {
        return std::ranges::equal(cella.substr(0, 3), g.substr(0, 3), {}, minuscola_ascii);
    });
    if (giorno == giorni.end()) {
        return 0;
    }
    // Its letters after the three go on with its name's.
    const auto* const diversa = std::ranges::mismatch(cella, *giorno, {}, minuscola_ascii).in1;
    const char dopo = diversa != cella.end() ? minuscola_ascii(*diversa) : ' ';
    return dopo < 'a' || dopo > 'z' ? static_cast<unsigned>(giorno - giorni.begin()) + 1 : 0;
}

std::optional<Data> leggi_data(std::string_view testo) {
    // In brackets too, as a round's heading may write it: "GIORNATA 1 (13/09/2026)".
    std::string_view resto = senza_segni(testo);
    // The longest, "Mercoledì, 30 settembre 2026", fits well within this.
    resto = resto.size() > 40 ? "" : resto;
    const unsigned settimana = giorno_solo(resto.substr(0, 3));
    if (settimana != 0 || (resto.size() > 3 && resto[2] == ' ' &&
                           una_di("lu ma me gi ve sa do", resto.substr(0, 2)))) {
        // Without the weekday, told by its first letters: "Sab 26/09", "Domenica, 13 settembre",
        // "sab.10.10", by two as the LND prints it: "SA 26/09/26", or glued, as a text: "sab17/10".
        const std::size_t fine = resto.find_first_of(" ,.");
        const std::size_t giorno = resto.find_first_of("0123456789");
        resto = fine != FINE && !cifra(resto[fine - 1]) ? senza_spazi(resto.substr(fine + 1))
                : giorno == 3                           ? resto.substr(giorno)
                                                        : resto;
    }
    if (resto.empty() || !cifra(resto.front())) {  // every date starts with its day
        return std::nullopt;
    }
    const auto italiana = da_iso(resto);  // "2026-09-13"
    if (const auto data = dal_giorno(italiana ? *italiana : resto)) {
        return Data{data->giorno, data->mese, data->anno, settimana};
    }
    // A weekend, "17-18/10/2026", "31/10-01/11/2026": its last day, near which its matches are.
    const std::size_t trattino = resto.find_first_not_of("0123456789/");
    if (resto.size() <= 16 && trattino != FINE && resto[trattino] == '-') {
        return dal_giorno(resto.substr(trattino + 1));
    }
    // The weekday after the date, as a sheet's format may add it: "08/10/2026 (gio)", "3 ottobre
    // (sabato)"; a longer word only in brackets ("13/09 Marconi" is no date).
    const std::size_t spazio = resto.rfind(' ');
    const std::string_view dopo =
        cifra(resto.back()) ? "" : senza_segni(resto.substr(std::min(spazio, resto.size())));
    const bool breve = dopo.size() == 3 || resto.ends_with(')');
    return breve && giorno_solo(dopo) != 0 ? leggi_data(resto.substr(0, spazio)) : std::nullopt;
}

std::optional<seconds> leggi_ora(std::string_view testo) {
    // The longest, "ore 20.45 - 22.15", fits well within this; every time starts with a digit or a
    // word below, and most words with neither.
    testo = senza_spazi(testo);
    const bool forse = !testo.empty() && (cifra(testo.front()) ||
                                          std::string_view("oadhOADH").find(testo.front()) != FINE);
    std::string_view resto = testo.size() > 24 || !forse ? "" : testo;
    // "ore 21", "alle 21", "dalle 21", "h 21", "h. 21", "h21": the hour alone is enough.
    const std::size_t parola = std::min(resto.find_first_of(" 0123456789"), resto.size());
    bool detta = parola != 0 && una_di("ore alle dalle h. h", resto.substr(0, parola));
    resto = detta ? senza_spazi(resto.substr(parola)) : resto;
    const auto ore = cifre(resto, 1, 2);
    std::optional<unsigned> minuti = 0, secondi = 0;
    if (const char segno = resto.empty() ? ' ' : minuscola_ascii(resto.front());
        std::string_view(":.,h").find(segno) != FINE) {
        resto.remove_prefix(1);
        minuti = segno == 'h' && resto.empty() ? 0 : cifre(resto, 2, 2);  // "21h"
        if (segno != 'h' && resto.size() == 3 && resto.front() == segno) {
            resto.remove_prefix(1);
            secondi = cifre(resto, 2, 2);
        }
        detta = true;
    }
    // A slot, "9:00-9:40", "17:00 – 18:30", "dalle 9 alle 10", starts at its first time; a
    // sentence's stop ends one.
    const std::string_view dopo = senza_spazi(resto);
    const bool fascia = detta &&
                        (dopo.starts_with('-') || dopo.starts_with("\u2013") ||
                         una_di("alle", dopo.substr(0, dopo.find(' ')))) &&
                        leggi_ora(senza_segni(dopo));
    const bool letta = detta && (resto.empty() || resto == "." || fascia) && ore && minuti &&
                       secondi && *ore < 24 && *minuti < 60 && *secondi < 60;
    return letta ? std::optional(hours(*ore) + minutes(*minuti) + seconds(*secondi)) : std::nullopt;
}

std::optional<Data> leggi_parte(std::string_view testo) {
    testo = senza_spazi(testo);
    const std::size_t spazio = std::min(testo.find(' '), testo.size());
    std::string_view nome = testo.substr(0, spazio), dopo = senza_spazi(testo.substr(spazio));
    const auto mese = mese_di(nome);
    const auto anno = dopo.size() == 4 ? anno_di(dopo) : std::optional(0);
    if (mese && anno && (dopo.empty() || *anno != 0)) {
        return Data{0, *mese, *anno};
    }
    // A weekday: its three letters or its whole name, "dom.", "Lunedì", "sabato"; not "Sabbioneta".
    nome = senza_segni(nome.substr(0, nome.size() - (nome.ends_with('.') ? 1 : 0)));
    const bool intero = nome.size() == 3 || nome.ends_with("\xC3\xAC") || nome.ends_with('i') ||
                        una_di("sabato domenica", nome);
    const unsigned settimana = intero ? giorno_solo(nome) : 0;
    const auto giorno = cifre(dopo, dopo.size(), 2);
    return settimana != 0 && giorno && *giorno <= 31 ? std::optional(Data{*giorno, 0, 0, settimana})
                                                     : std::nullopt;
}

std::optional<Data> nel_mese(std::string_view giorno, std::string_view sopra) {
    const auto parte = leggi_parte(giorno);
    if (!parte || parte->mese != 0) {  // most lines: a date of their own, or none
        return std::nullopt;
    }
    const auto data = leggi_data(sopra);
    const auto titolo = data ? data : leggi_parte(sopra);
    // A weekday alone under a day's heading of no year, "anticipo sabato" under "Domenica 20
    // settembre": that weekday nearest the heading's day, counted in a year of no 29 February.
    if (titolo && parte->giorno == 0 && titolo->anno == 0 && titolo->giorno != 0 &&
        titolo->settimana != 0) {
        const auto scarto =
            (static_cast<int>(parte->settimana) + 10 - static_cast<int>(titolo->settimana)) % 7 - 3;
        const year_month_day g(sys_days(year(2001) / month(titolo->mese) / day(titolo->giorno)) +
                               days(scarto));
        return Data{static_cast<unsigned>(g.day()), static_cast<unsigned>(g.month())};
    }
    if (!titolo || titolo->mese == 0 ||
        (parte->giorno == 0 && (titolo->giorno == 0 || titolo->anno == 0))) {
        return std::nullopt;
    }
    // The day nearest the heading's, of a month's heading in that month, that has the day
    // written and, where the year is known, the weekday written.
    const sys_days centro =
        year(titolo->anno) / month(titolo->mese) / day(std::max(titolo->giorno, 1U));
    for (int vicino = 0; vicino <= 30; ++vicino) {
        for (const sys_days d : {centro + days(vicino), centro - days(vicino)}) {
            const year_month_day g(d);
            if ((parte->giorno == 0 || g.day() == day(parte->giorno)) &&
                (titolo->anno == 0 || weekday(d) == weekday(parte->settimana)) &&
                (titolo->giorno == 0 ? g.month() == month(titolo->mese) : vicino <= 15)) {
                return Data{static_cast<unsigned>(g.day()), static_cast<unsigned>(g.month()),
                            titolo->anno == 0 ? 0 : static_cast<int>(g.year())};
            }
        }
    }
    return std::nullopt;
}

}  // namespace turnolista
