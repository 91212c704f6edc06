#include "esporta/calendario.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <map>
#include <numeric>
#include <optional>
#include <tuple>

#include "esporta/date.hpp"
#include "esporta/disposizione.hpp"
#include "esporta/giornate.hpp"
#include "esporta/ics.hpp"

namespace turnolista {

namespace {

using namespace std::chrono;
using std::chrono::year;

constexpr auto FINE = std::string_view::npos;
constexpr hours DURATA{2};

// A mark of a match that is not played on its date, in any cell and any case.
std::optional<std::string_view> rinvio(std::string_view riga) {
    for (const std::string_view segno : {"rinviat", "da definire", "da recuperare", "sospes"}) {
        if (const auto dove = trova_ascii(riga, segno); dove != FINE) {
            const auto fine =
                std::min(riga.find_first_of(" \t;,\"", dove + segno.size()), riga.size());
            return riga.substr(dove, fine - dove);
        }
    }
    return std::nullopt;
}

// Whether a cell says something: a letter or a digit, not a dash or a question mark.
bool scritta(std::string_view cella) {
    return std::any_of(cella.begin(), cella.end(),
                       [](char c) { return cifra(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z'); });
}

// The calendar's own lines, and the time zone of its events.
void intestazione(Ics& ics, std::string_view nome) {
    for (const std::string_view riga :
         {"BEGIN:VCALENDAR", "VERSION:2.0",
          "PRODID:-//turnolista//turnolista " TURNOLISTA_VERSIONE "//IT", "CALSCALE:GREGORIAN"}) {
        ics.riga(riga);
    }
    ics.riga("X-WR-CALNAME:").valore(nome);
    for (const std::string_view riga : FUSO) {
        ics.riga(riga);
    }
}

}  // namespace

struct Calendario::Evento {
    Data data;
    seconds ora{-1};        // from midnight; negative for the whole day
    std::string n;          // cppcheck-suppress unusedStructMember ; the fields it shows, in UTF-8
    std::string partita;    // cppcheck-suppress unusedStructMember
    std::string luogo;      // cppcheck-suppress unusedStructMember
    std::string_view riga;  // cppcheck-suppress unusedStructMember
    std::uint64_t numero = 0;
};

Calendario::Calendario(std::string squadra, sys_seconds adesso, Disposizione disposizione)
    : squadra_(std::move(squadra)), adesso_(adesso), disposizione_(std::move(disposizione)) {}

Calendario::~Calendario() = default;

std::string Calendario::campo(std::size_t quale) const {
    return in_utf8(senza_spazi(campi_[quale]));
}

void Calendario::giornata(std::string_view riga) {
    if (const auto data = data_della_giornata(riga)) {
        giornata_ = leggi_data(*data);
    }
}

void Calendario::riga(std::string_view riga, std::uint64_t numero_riga) {
    // A round's own line gives its date to the matches under it.
    if (data_della_giornata(riga)) {
        return;
    }
    leggi_campi(riga, disposizione_, true, celle_, campi_);
    auto data = leggi_data(campi_[CAMPO_DATA]);
    if (!data && giornata_) {
        campi_nella_giornata(riga, campi_);
        data = giornata_;
    }
    // A line that starts with "Gio" is a rest line, unless it has a date: giovedì.
    if (e_riposo(riga) && !data) {
        return;
    }
    const auto scarta = [&](Scartata::Motivo motivo, std::string_view testo) {
        scartate_.push_back({numero_riga, motivo, in_utf8(senza_spazi(testo))});
    };
    const auto ora = leggi_ora(campi_[CAMPO_ORA]);
    if (const auto segno = rinvio(riga)) {
        scarta(Scartata::Motivo::rinviata, *segno);
    } else if (!data) {
        scarta(scritta(campi_[CAMPO_DATA]) ? Scartata::Motivo::data : Scartata::Motivo::senza_data,
               campi_[CAMPO_DATA]);
    } else if (!ora && scritta(campi_[CAMPO_ORA])) {
        scarta(Scartata::Motivo::ora, campi_[CAMPO_ORA]);
    } else {
        eventi_.push_back({*data, ora.value_or(seconds(-1)), campo(CAMPO_N), campo(CAMPO_PARTITA),
                           campo(CAMPO_LUOGO), riga, numero_riga});
    }
}

std::string Calendario::scrivi() {
    // The list's dates run forward: one before the date above it is in the next year. The
    // first year is the nearest in which the last of them is not over.
    std::vector<int> avanti(eventi_.size(), 0);
    std::optional<std::size_t> ultimo;
    int anni = 0;
    for (std::size_t i = 0; i < eventi_.size(); ++i) {
        const Data& data = eventi_[i].data;
        if (data.anno == 0) {
            const Data* prima = ultimo ? &eventi_[*ultimo].data : nullptr;
            if (prima != nullptr &&
                std::pair(data.mese, data.giorno) < std::pair(prima->mese, prima->giorno)) {
                ++anni;
            }
            avanti[i] = anni;
            ultimo = i;
        }
    }
    const year_month_day oggi = oggi_a_roma(adesso_);
    const auto giorno_di = [&](std::size_t i, int anno) {
        const Data& data = eventi_[i].data;
        return year(data.anno != 0 ? data.anno : anno + avanti[i]) / month(data.mese) /
               day(data.giorno);
    };
    int primo = static_cast<int>(oggi.year()) - anni - 1;
    while (ultimo && std::tuple(giorno_di(*ultimo, primo).year(), giorno_di(*ultimo, primo).month(),
                                giorno_di(*ultimo, primo).day()) <
                         std::tuple(oggi.year(), oggi.month(), oggi.day())) {
        ++primo;
    }
    // The season S/S+1, which the UIDs carry: of the first dated match, or of today.
    const auto inizio = std::find_if(eventi_.begin(), eventi_.end(),
                                     [](const Evento& e) { return e.data.anno == 0; });
    const year_month_day da =
        inizio != eventi_.end()
            ? giorno_di(static_cast<std::size_t>(inizio - eventi_.begin()), primo)
            : oggi;
    stagione_ = static_cast<int>(da.year()) - (da.month() >= July ? 0 : 1);
    anno_ = ultimo && anni == 0 &&
                    std::any_of(eventi_.begin(), eventi_.end(),
                                [](const Evento& e) { return e.data.anno == 0 && e.data.mese < 7; })
                ? std::optional(primo)
                : std::nullopt;

    // Room for the whole file: the header and the time zone, then twice each event's text.
    Ics ics(std::accumulate(
        eventi_.begin(), eventi_.end(), std::size_t{4096}, [](std::size_t n, const Evento& e) {
            return n + 300 + 2 * (e.partita.size() + e.luogo.size() + e.riga.size());
        }));
    intestazione(ics,
                 squadra_ + " " +
                     (anno_ ? std::to_string(*anno_)
                            : std::to_string(stagione_) + "/" + std::to_string(stagione_ + 1)));
    // The revision of every event is when the file was written: the minutes since the start
    // of 2026, so that a later file has a higher number.
    const auto minuti = duration_cast<minutes>(adesso_ - sys_days(year(2026) / January / 1));
    const long long revisione = std::max<long long>(minuti.count(), 0);
    std::map<std::uint64_t, int> uid;  // how many events had each so far
    for (std::size_t i = 0; i < eventi_.size(); ++i) {
        const auto giorno = giorno_di(i, primo);
        if (giorno.ok()) {
            scrivi_evento(ics, eventi_[i], sys_days(giorno), revisione, uid);
        } else {
            scartate_.push_back({eventi_[i].numero, Scartata::Motivo::data_inesistente,
                                 std::to_string(static_cast<unsigned>(giorno.day())) + "/" +
                                     std::to_string(static_cast<unsigned>(giorno.month())) + "/" +
                                     std::to_string(static_cast<int>(giorno.year()))});
        }
    }
    ics.riga("END:VCALENDAR");
    std::stable_sort(scartate_.begin(), scartate_.end(),
                     [](const Scartata& a, const Scartata& b) { return a.numero < b.numero; });
    return std::move(ics).chiudi();
}

void Calendario::scrivi_evento(Ics& ics, const Evento& evento, sys_days giorno, long long revisione,
                               std::map<std::uint64_t, int>& uid) {
    // A match and its recovery, or two matches alike, are two events.
    const std::uint64_t marca = impronta(evento.n + '\0' + evento.partita);
    const int prima = uid[marca]++;
    ++scritti_;
    ics.riga("BEGIN:VEVENT");
    ics.riga("UID:").numero(stagione_).piu("-").esadecimale(marca);
    if (prima > 0) {
        ics.piu("-").numero(prima + 1);
    }
    ics.piu("@turnolista");
    ics.riga("DTSTAMP:").data_ora(adesso_).piu("Z");
    ics.riga("SEQUENCE:").numero(revisione);
    if (evento.ora >= seconds(0)) {
        ics.riga("DTSTART;TZID=Europe/Rome:").data_ora(giorno + evento.ora);
        ics.riga("DTEND;TZID=Europe/Rome:").data_ora(giorno + evento.ora + DURATA);
    } else {
        ics.riga("DTSTART;VALUE=DATE:").data(giorno);
        ics.riga("DTEND;VALUE=DATE:").data(giorno + days(1));
    }
    ics.riga("SUMMARY:").valore(evento.partita);
    if (!evento.luogo.empty()) {
        ics.riga("LOCATION:").valore(evento.luogo);
    }
    ics.riga("DESCRIPTION:").valore(in_utf8(evento.riga));
    ics.riga("END:VEVENT");
}

}  // namespace turnolista
