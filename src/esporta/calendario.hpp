#pragma once
// The team's season as an iCalendar file (RFC 5545), as phones and calendar programs import
// it. README's "Files" tells what an event holds, which lines make none, and why.

#include <chrono>
#include <cstdint>
#include <functional>
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

// The calendar as written, and the lines left out.
struct EsitoCalendario {
    std::string ics;       // empty with no event
    std::string stagione;  // assumed, as a member names it: "2026/2027", or a tournament's "2027"
    std::uint64_t eventi = 0;
    std::vector<Scartata> scartate;
};

// A match of the team with a date, from the line `numero` of the list.
struct Evento {
    Data data;
    std::chrono::seconds ora{-1};  // from midnight; negative for the whole day
    std::uint64_t numero = 0;
    std::string scritta, n, partita, luogo, riga;  // the date as written, the fields it shows
    std::chrono::year_month_day giorno{};          // once its year is known
};

// Today's date in Rome, by the file's time zone (FUSO in ics.cpp), changing at 01:00 UTC.
std::chrono::year_month_day oggi_a_roma(std::chrono::sys_seconds adesso);
// The day of each event, its year as README says: the year's shortest stretch that holds every
// date. An event on a day its year has not, 29/02, is left out.
void anni(std::vector<Evento>& eventi, std::vector<Scartata>& scartate,
          std::chrono::year_month_day oggi);

// The iCalendar file named `nome` of the season `stagione` (S of S/S+1), written at `adesso`.
std::string file_ics(std::string_view nome, int stagione, const std::vector<Evento>& eventi,
                     std::chrono::sys_seconds adesso);

// Calls `fai` on each record of `lettore`'s list that holds `squadra`, as typed, with what it
// holds and what a match with no date takes from the records above it.
void per_partita(const Lettore& lettore, std::string_view squadra,
                 const std::function<void(Letta&, std::string_view)>& fai);

// The calendar of `squadra`, as typed, in UTF-8, from the list `testo`, written at `adesso`.
EsitoCalendario calendario(std::string_view testo, std::string_view squadra,
                           std::chrono::sys_seconds adesso);

}  // namespace turnolista
