#pragma once
// The team's season as an iCalendar file (RFC 5545), which phones, Google Calendar, Apple
// Calendar and Outlook import. README's "Files" tells what each event holds, which matching
// lines make none, and how a date's year, the season and an event's UID are found.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "esporta/lettore.hpp"

namespace turnolista {

// A matching line that is no event, and why.
struct Scartata {
    enum class Motivo {
        senza_data,        // it gives no date
        data,              // a date not understood
        ora,               // a time not understood
        rinviata,          // marked postponed or undecided
        data_inesistente,  // 29/02 in a year that has none
        squadre,           // no match and no rest: its two teams not understood
    };
    std::uint64_t numero = 0;  // the line's number in the list
    Motivo motivo = Motivo::senza_data;
    std::string testo;  // what the line has there, in UTF-8
};

// The calendar as written: the file (empty with no event), the season it assumed (S of
// S/S+1) or the one year of a tournament, how many events, and the lines left out.
struct EsitoCalendario {
    std::string ics;
    int stagione = 0;
    std::optional<int> anno;
    std::uint64_t eventi = 0;
    std::vector<Scartata> scartate;
};

// Today's date in Rome, by the same rule as the file's time zone (ics.cpp, as what follows).
std::chrono::year_month_day oggi_a_roma(std::chrono::sys_seconds adesso);

// An iCalendar file as it is written, a content line at a time.
struct Ics {
    // A calendar named `nome`, its own lines and the time zone of its events written.
    explicit Ics(std::string_view nome);
    // Adds the content line `inizio` ("SUMMARY:"), as it stands, then `valore` as a property
    // value takes it (backslash, semicolon, comma and newline escaped, and no control
    // character but the tab, which the value cannot hold); folded every 75 octets (a CR LF
    // and a space, then the rest), never inside a UTF-8 sequence.
    void riga(std::string_view inizio, std::string_view valore = {});

    std::string testo;  // the calendar ends with its line END:VCALENDAR
};

// The day of `istante` as the file writes it, 20260913, and with `ora` its time: 20260913T103000.
std::string data(std::chrono::sys_seconds istante, bool ora);

// FNV-1a in 16 hexadecimal digits: a short, stable mark of a text, the same on every system
// and in every version.
std::string impronta(std::string_view testo);

// The calendar of `squadra`, as typed, in UTF-8, from the list `testo`, written at `adesso`.
EsitoCalendario calendario(std::string_view testo, std::string_view squadra,
                           std::chrono::sys_seconds adesso);

}  // namespace turnolista
