#pragma once
// The team's season as an iCalendar file (RFC 5545), which phones, Google Calendar, Apple
// Calendar and Outlook import.
//
// Each matching line whose DATA cell is a date (see date.hpp) is one event, unless a cell
// marks it postponed or undecided ("rinviata", "da definire"...): a line that starts with
// "Gio" is a rest line only without a date. With a time in ORARIO it starts then, in Rome's
// time, and lasts two hours; with nothing there (or a dash) it takes the whole day; a time
// not understood makes no event. SUMMARY is the PARTITA cell, LOCATION the LUOGO cell,
// DESCRIPTION the line as the list has it. Every other matching line is told, with why.
//
// The list's dates run forward: a date without a year before the one above it falls in the
// next year; the first year is the nearest in which the last match is not over. The season
// S/S+1 is that of the first such match; matches all within one year and not all from July
// on (a spring or a summer tournament) are that year's.
//
// An event's UID comes from the season, the N cell and the PARTITA cell, not from the date,
// time or place, so that importing the calendar again after the league moved a match updates
// that event (a second match alike takes "-2"); SEQUENCE grows with the time the file is
// written, so that a later file is a newer revision.

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "comune/codifica.hpp"
#include "esporta/date.hpp"
#include "esporta/disposizione.hpp"
#include "esporta/ics.hpp"

namespace turnolista {

// A matching line that is no event, and why.
struct Scartata {
    enum class Motivo {
        senza_data,        // its DATA cell is empty
        data,              // a date not understood
        ora,               // a time not understood
        rinviata,          // marked postponed or undecided
        data_inesistente,  // 29/02 in a year that has none
    };
    std::uint64_t numero = 0;  // the line's number in the list
    Motivo motivo = Motivo::senza_data;
    std::string testo;  // what the line has there, in UTF-8
};

class Calendario {
  public:
    // `squadra` as typed, in UTF-8, names the calendar; `adesso` is when it is written; the
    // lines, in UTF-8 (a line of a list read as UTF-8 may still hold bytes that are not, which
    // the file is given as Windows-1252), are laid out as `disposizione` says.
    Calendario(std::string squadra, std::chrono::sys_seconds adesso, Disposizione disposizione);
    ~Calendario();
    Calendario(const Calendario&) = delete;
    Calendario& operator=(const Calendario&) = delete;

    // Every line of the list, before riga() is given it if it matches: a round's line
    // gives its date to the matches under it.
    void giornata(std::string_view riga);
    // The next matching line and its number in the list; it must outlive the calendar.
    void riga(std::string_view riga, std::uint64_t numero);

    // The whole file, in UTF-8 with CR LF line ends; then what follows is known.
    std::string scrivi();

    int stagione() const { return stagione_; }  // S: the season S/S+1
    // The one year all its matches are in, where they are no season across New Year.
    std::optional<int> anno() const { return anno_; }
    std::uint64_t eventi() const { return scritti_; }
    // The matching lines that are no event, in the list's order.
    const std::vector<Scartata>& scartate() const { return scartate_; }

  private:
    struct Evento;

    std::string campo(std::size_t quale) const;
    void scrivi_evento(Ics& ics, const Evento& evento, std::chrono::sys_days giorno,
                       long long revisione, std::map<std::uint64_t, int>& uid);

    std::string squadra_;
    std::chrono::sys_seconds adesso_;
    Disposizione disposizione_;
    std::vector<Evento> eventi_;
    Celle celle_;
    Campi campi_;
    std::optional<Data> giornata_;
    int stagione_ = 0;
    std::optional<int> anno_;
    std::uint64_t scritti_ = 0;
    std::vector<Scartata> scartate_;
};

}  // namespace turnolista
