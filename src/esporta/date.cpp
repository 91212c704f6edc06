#include "esporta/date.hpp"

namespace turnolista {

using namespace std::chrono;
using std::chrono::year;

namespace {

constexpr auto FINE = std::string_view::npos;

// A number of `minimo` to `massimo` decimal digits, and nothing else.
std::optional<unsigned> cifre(std::string_view testo, std::size_t minimo, std::size_t massimo) {
    if (testo.size() < minimo || testo.size() > massimo) {
        return std::nullopt;
    }
    unsigned valore = 0;
    for (const char c : testo) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        valore = valore * 10 + static_cast<unsigned>(c - '0');
    }
    return valore;
}

}  // namespace

std::string_view senza_spazi(std::string_view testo) {
    const auto inizio = testo.find_first_not_of(' ');
    return inizio == FINE ? std::string_view()
                          : testo.substr(inizio, testo.find_last_not_of(' ') - inizio + 1);
}

// "d/m", "d/m/yyyy" or "d/m/yy" (20yy), where it can be a date in some year: 29/02 waits
// for its year.
std::optional<Data> leggi_data(std::string_view testo) {
    testo = senza_spazi(testo);
    const auto barra = testo.find('/');
    if (barra == FINE) {
        return std::nullopt;
    }
    const auto seconda = testo.find('/', barra + 1);
    const auto giorno = cifre(testo.substr(0, barra), 1, 2);
    const auto mese = cifre(testo.substr(barra + 1, seconda - barra - 1), 1, 2);
    std::optional<unsigned> anno = 0;
    if (seconda != FINE) {
        const std::string_view scritto = testo.substr(seconda + 1);
        anno = scritto.size() == 3 ? std::nullopt : cifre(scritto, 2, 4);
        if (anno && scritto.size() == 2) {
            *anno += 2000;
        }
    }
    if (!giorno || !mese || !anno) {
        return std::nullopt;
    }
    const Data data{*giorno, *mese, static_cast<int>(*anno)};
    const year bisestile(2000);
    if (!year_month_day((data.anno != 0 ? year(data.anno) : bisestile) / month(data.mese) /
                        day(data.giorno))
             .ok()) {
        return std::nullopt;
    }
    return data;
}

// Hours, minutes and seconds from midnight: "h:mm", "hh:mm" or "hh.mm", then ":ss" or ".ss".
std::optional<seconds> leggi_ora(std::string_view testo) {
    testo = senza_spazi(testo);
    const auto punto = testo.find_first_of(":.");
    if (punto == FINE) {
        return std::nullopt;
    }
    const auto ore = cifre(testo.substr(0, punto), 1, 2);
    std::string_view resto = testo.substr(punto + 1);
    const auto minuti = cifre(resto.substr(0, 2), 2, 2);
    std::optional<unsigned> secondi = 0;
    if (resto.size() != 2) {
        secondi = resto.size() == 5 && (resto[2] == ':' || resto[2] == '.')
                      ? cifre(resto.substr(3), 2, 2)
                      : std::nullopt;
    }
    if (!ore || !minuti || !secondi || *ore > 23 || *minuti > 59 || *secondi > 59) {
        return std::nullopt;
    }
    return hours(*ore) + minutes(*minuti) + seconds(*secondi);
}

}  // namespace turnolista
