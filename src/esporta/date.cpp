#include "esporta/date.hpp"

#include "comune/codifica.hpp"

#include <algorithm>
#include <array>
#include <charconv>

namespace turnolista {

using namespace std::chrono;
using std::chrono::year;

namespace {

constexpr auto FINE = std::string_view::npos;

constexpr std::array<std::string_view, 12> MESI{"gennaio",   "febbraio", "marzo",    "aprile",
                                                "maggio",    "giugno",   "luglio",   "agosto",
                                                "settembre", "ottobre",  "novembre", "dicembre"};
// The start of each weekday's name, enough to tell it: "Gio", "Giovedì", "giovedi".
constexpr std::array<std::string_view, 7> GIORNI{"lun", "mar", "mer", "gio", "ven", "sab", "dom"};

// A number of `minimo` to `massimo` decimal digits, and nothing else.
std::optional<unsigned> cifre(std::string_view testo, std::size_t minimo, std::size_t massimo) {
    unsigned valore = 0;
    const auto [fine, errore] = std::from_chars(testo.data(), testo.data() + testo.size(), valore);
    if (testo.size() < minimo || testo.size() > massimo || errore != std::errc() ||
        fine != testo.data() + testo.size() || !cifra(testo.front())) {
        return std::nullopt;
    }
    return valore;
}

// Takes the leading digits off `testo`.
std::string_view numero(std::string_view& testo) {
    const auto n = static_cast<std::size_t>(std::find_if_not(testo.begin(), testo.end(), cifra) -
                                            testo.begin());
    const std::string_view preso = testo.substr(0, n);
    testo.remove_prefix(n);
    return preso;
}

// A year as a list writes it: none, "26" (2026) or "2026".
std::optional<int> anno_di(std::string_view testo) {
    const auto anno = testo.size() == 3 ? std::nullopt : cifre(testo, 2, 4);
    if (testo.empty() || !anno) {
        return testo.empty() ? std::optional(0) : std::nullopt;
    }
    return static_cast<int>(*anno) + (testo.size() == 2 ? 2000 : 0);
}

// "13 settembre 2026", "13 set", "13 set. 26".
std::optional<Data> con_il_mese(std::string_view giorno, std::string_view resto) {
    resto = senza_spazi(resto);
    const std::size_t fine = std::min(resto.find(' '), resto.size());
    std::string parola = minuscolo_ascii(resto.substr(0, fine));
    if (parola.ends_with('.')) {
        parola.pop_back();
    }
    const auto* mese = std::find_if(MESI.begin(), MESI.end(), [&](std::string_view m) {
        // "set", "sett", "settembre"; not "otto", which is a number.
        return parola.size() >= 3 && m.starts_with(parola) &&
               (parola.size() == 3 || parola == "sett" || parola == m);
    });
    const auto anno = anno_di(senza_spazi(resto.substr(fine)));
    if (mese == MESI.end() || !anno || !cifre(giorno, 1, 2)) {
        return std::nullopt;
    }
    return Data{*cifre(giorno, 1, 2), static_cast<unsigned>(mese - MESI.begin() + 1), *anno};
}

}  // namespace

std::string_view senza_spazi(std::string_view testo) {
    const auto inizio = testo.find_first_not_of(' ');
    return inizio == FINE ? std::string_view()
                          : testo.substr(inizio, testo.find_last_not_of(' ') - inizio + 1);
}

std::string_view senza_giorno(std::string_view testo) {
    if (std::none_of(GIORNI.begin(), GIORNI.end(),
                     [&](std::string_view g) { return inizia_con_ascii(testo, g); })) {
        return testo;
    }
    const auto fine = static_cast<std::size_t>(
        std::find_if(testo.begin(), testo.end(), [](char c) { return c == ' ' || c == ','; }) -
        testo.begin());
    return fine < testo.size() && !cifra(testo[fine - 1]) ? senza_spazi(testo.substr(fine + 1))
                                                          : testo;
}

std::optional<Data> leggi_data(std::string_view testo) {
    // The longest, "Mercoledì, 30 settembre 2026", fits well within this.
    constexpr std::size_t LUNGA = 40;
    std::string_view resto = senza_spazi(testo);
    if (resto.size() > LUNGA) {
        return std::nullopt;
    }
    resto = senza_giorno(resto);
    // Every date starts with its day: most words a line is tried by end here.
    if (resto.empty() || !cifra(resto.front())) {
        return std::nullopt;
    }
    const std::string_view giorno = numero(resto);
    std::optional<Data> data;
    if (!resto.empty() && resto.front() == ' ') {
        data = con_il_mese(giorno, resto);
    } else if (!resto.empty() && std::string_view("/-.").find(resto.front()) != FINE) {
        // The same separator twice: "13/09/2026", "12-09-26", "19.09".
        const char separatore = resto.front();
        resto.remove_prefix(1);
        const std::string_view mese = numero(resto);
        std::optional<int> anno = 0;
        if (resto.size() > 1 && resto.front() == separatore) {
            anno = anno_di(resto.substr(1));
            resto = {};
        }
        if (resto.empty() && anno && cifre(giorno, 1, 2) && cifre(mese, 1, 2)) {
            data = Data{*cifre(giorno, 1, 2), *cifre(mese, 1, 2), *anno};
        }
    }
    if (!data) {
        return std::nullopt;
    }
    // Where it can be a date in some year: 29/02 waits for its year.
    const year anno = data->anno != 0 ? year(data->anno) : year(2000);
    return year_month_day(anno / month(data->mese) / day(data->giorno)).ok() ? data : std::nullopt;
}

std::optional<seconds> leggi_ora(std::string_view testo) {
    // The longest, "ore 20.45.00", fits well within this.
    constexpr std::size_t LUNGA = 16;
    if (senza_spazi(testo).size() > LUNGA) {
        return std::nullopt;
    }
    std::string orario = minuscolo_ascii(senza_spazi(testo));
    // "ore 21", "h 21", "h21": the hour alone is enough.
    bool detta = false;
    for (const std::string_view prima : {"ore", "h.", "h"}) {
        if (orario.starts_with(prima) && orario.size() > prima.size() &&
            (cifra(orario[prima.size()]) || orario[prima.size()] == ' ')) {
            orario = std::string(senza_spazi(std::string_view(orario).substr(prima.size())));
            detta = true;
            break;
        }
    }
    std::string_view resto = orario;
    const auto ore = cifre(numero(resto), 1, 2);
    std::optional<unsigned> minuti = 0;
    std::optional<unsigned> secondi = 0;
    if (resto == "h") {  // "21h"
        resto = {};
        detta = true;
    } else if (!resto.empty() && std::string_view(":.,h").find(resto.front()) != FINE) {
        const char separatore = resto.front();
        resto.remove_prefix(1);
        minuti = cifre(numero(resto), 2, 2);
        if (separatore != 'h' && resto.size() == 3 && resto.front() == separatore) {
            secondi = cifre(resto.substr(1), 2, 2);
            resto = {};
        }
        detta = true;
    }
    if (!detta || !resto.empty() || !ore || !minuti || !secondi || *ore > 23 || *minuti > 59 ||
        *secondi > 59) {
        return std::nullopt;
    }
    return hours(*ore) + minutes(*minuti) + seconds(*secondi);
}

}  // namespace turnolista
