#include "esporta/lettore.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <tuple>

#include "comune/codifica.hpp"

namespace turnolista {

using namespace std::chrono;

namespace {

constexpr std::array<std::string_view, 12> MESI{"gennaio",   "febbraio", "marzo",    "aprile",
                                                "maggio",    "giugno",   "luglio",   "agosto",
                                                "settembre", "ottobre",  "novembre", "dicembre"};
// The start of each weekday's name, enough to tell it: "Gio", "Giovedì", "giovedi".
constexpr std::array<std::string_view, 7> GIORNI{"lun", "mar", "mer", "gio", "ven", "sab", "dom"};

// Takes the leading digits off `testo`: their value, where they are `minimo` to `massimo`.
std::optional<unsigned> cifre(std::string_view& testo, std::size_t minimo, std::size_t massimo) {
    const auto n = static_cast<std::size_t>(std::ranges::find_if_not(testo, cifra) - testo.begin());
    unsigned valore = 0;
    std::from_chars(testo.data(), testo.data() + std::min(n, massimo), valore);
    testo.remove_prefix(n);
    return n >= minimo && n <= massimo ? std::optional(valore) : std::nullopt;
}

// The whole of `testo` as a year: none (0), "26" (2026) or "2026".
std::optional<int> anno_di(std::string_view testo) {
    const std::size_t lunghezza = testo.size();
    const auto anno = cifre(testo, 2, 4);
    const bool letto = anno && testo.empty() && lunghezza != 3;
    return lunghezza == 0 ? 0
           : letto        ? std::optional(static_cast<int>(*anno) + (lunghezza == 2 ? 2000 : 0))
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

// The month and the year after a date's day and `segno`, the same separator twice:
// "13/09/2026", "12-09-26", "19.09", and as Excel writes a month's name, "27-set-26".
std::pair<std::optional<unsigned>, std::optional<int>> dopo_il_giorno(std::string_view resto,
                                                                      char segno) {
    const std::size_t nome =
        !resto.empty() && lettera(resto.front()) ? std::min(resto.find(segno), resto.size()) : 0;
    const auto mese = nome > 0 ? mese_di(resto.substr(0, nome)) : cifre(resto, 1, 2);
    resto.remove_prefix(nome);
    return {mese, resto.empty()                                ? std::optional(0)
                  : resto.size() > 1 && resto.front() == segno ? anno_di(resto.substr(1))
                                                               : std::nullopt};
}

}  // namespace

std::string_view senza_spazi(std::string_view testo) {
    testo.remove_prefix(std::min(testo.find_first_not_of(' '), testo.size()));
    return testo.substr(0, testo.find_last_not_of(' ') + 1);
}

bool data_in_cella(std::string_view cella) {
    const std::size_t spazio = cella.rfind(' ');
    return leggi_data(cella) || (spazio != FINE && leggi_ora(cella.substr(spazio + 1)) &&
                                 leggi_data(senza_segni(cella.substr(0, spazio))));
}

bool tra_cifre(std::string_view testo, std::string_view segni) {
    for (auto i = testo.find_first_of(segni); i != FINE; i = testo.find_first_of(segni, i + 1)) {
        if (i > 0 && i + 1 < testo.size() && cifra(testo[i - 1]) && cifra(testo[i + 1])) {
            return true;
        }
    }
    return false;
}

bool giorno_solo(std::string_view cella) {
    const std::string_view tre = cella.substr(0, 3);
    return cella.size() <= 10 && std::any_of(GIORNI.begin(), GIORNI.end(), [&](std::string_view g) {
               return std::equal(g.begin(), g.end(), tre.begin(), tre.end(),
                                 [](char a, char b) { return a == minuscola_ascii(b); });
           });
}

std::optional<Data> leggi_data(std::string_view testo) {
    // The longest, "Mercoledì, 30 settembre 2026", fits well within this.
    testo = senza_spazi(testo);
    // In brackets, as a round's heading may write it: "GIORNATA 1 (13/09/2026)".
    testo =
        testo.starts_with('(') && testo.ends_with(')') ? testo.substr(1, testo.size() - 2) : testo;
    std::string_view resto = testo.size() > 40 ? "" : testo;
    if (!resto.empty() && !cifra(resto.front()) && giorno_solo(resto.substr(0, 3))) {
        // Without the weekday, told by its first letters: "Sab 26/09", "Domenica, 13 settembre".
        const std::size_t fine = std::min(resto.find_first_of(" ,"), resto.size());
        resto = fine < resto.size() && !cifra(resto[fine - 1]) ? senza_spazi(resto.substr(fine + 1))
                                                               : resto;
    }
    // Every date starts with its day: most words a line is tried by end here.
    const auto giorno = cifre(resto, 1, 2);
    if (!giorno || resto.empty()) {
        return std::nullopt;
    }
    const char segno = resto.front();
    resto.remove_prefix(1);
    std::optional<unsigned> mese;
    std::optional<int> anno;
    if (segno == ' ') {  // "13 settembre 2026", "13 set", "13 set. 26"
        resto = senza_spazi(resto);
        const std::size_t fine = std::min(resto.find(' '), resto.size());
        mese = mese_di(resto.substr(0, fine));
        anno = mese ? anno_di(senza_spazi(resto.substr(fine))) : std::nullopt;
    } else if (segno == '/' || segno == '-' || segno == '.') {
        std::tie(mese, anno) = dopo_il_giorno(resto, segno);
    }
    const auto esiste = [&] {
        return year_month_day(year(*anno != 0 ? *anno : 2000) / month(*mese) / day(*giorno)).ok();
    };
    return mese && anno && esiste() ? std::optional(Data{*giorno, *mese, *anno}) : std::nullopt;
}

std::optional<seconds> leggi_ora(std::string_view testo) {
    // The longest, "ore 20.45.00", fits well within this.
    testo = senza_spazi(testo);
    std::string_view resto = testo.size() > 16 ? "" : testo;
    // "ore 21", "h 21", "h21": the hour alone is enough.
    bool detta = false;
    for (const std::string_view prima : {"ore", "h.", "h"}) {
        if (!detta && resto.size() > prima.size() &&
            std::ranges::equal(resto.substr(0, prima.size()), prima, {}, minuscola_ascii) &&
            (cifra(resto[prima.size()]) || resto[prima.size()] == ' ')) {
            resto = senza_spazi(resto.substr(prima.size()));
            detta = true;
        }
    }
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
    // A slot, "9:00-9:40", starts at its first time.
    resto = detta && resto.starts_with('-') && leggi_ora(resto.substr(1)) ? "" : resto;
    const bool letta = detta && resto.empty() && ore && minuti && secondi && *ore < 24 &&
                       *minuti < 60 && *secondi < 60;
    return letta ? std::optional(hours(*ore) + minutes(*minuti) + seconds(*secondi)) : std::nullopt;
}

}  // namespace turnolista
