#pragma once
// The pieces of an iCalendar file (RFC 5545) as the calendar writes them: its time zone,
// its text values and content lines, its dates, and a stable mark for an event's UID.

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace turnolista {

// Europe/Rome as the file describes it: CET, and CEST from the last Sunday of March to the
// last Sunday of October, as the European Union has it since 1996.
inline constexpr std::string_view FUSO =
    "BEGIN:VTIMEZONE\r\n"
    "TZID:Europe/Rome\r\n"
    "BEGIN:DAYLIGHT\r\n"
    "TZOFFSETFROM:+0100\r\n"
    "TZOFFSETTO:+0200\r\n"
    "TZNAME:CEST\r\n"
    "DTSTART:19700329T020000\r\n"
    "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\r\n"
    "END:DAYLIGHT\r\n"
    "BEGIN:STANDARD\r\n"
    "TZOFFSETFROM:+0200\r\n"
    "TZOFFSETTO:+0100\r\n"
    "TZNAME:CET\r\n"
    "DTSTART:19701025T030000\r\n"
    "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\r\n"
    "END:STANDARD\r\n"
    "END:VTIMEZONE\r\n";

// Today's date in Rome, by the same rule as FUSO.
std::chrono::year_month_day oggi_a_roma(std::chrono::sys_seconds adesso);

// Text as a property value takes it: backslash, semicolon, comma and newline escaped, and
// no control character but the tab, which the value cannot hold.
std::string testo_ics(std::string_view testo);

// Adds a content line, folded every 75 octets (a CR LF and a space, then the rest), never
// inside a UTF-8 sequence.
void riga_ics(std::string& uscita, std::string_view riga);

// 20260913, and with a time 20260913T103000.
std::string data_ics(std::chrono::sys_days giorno);
std::string data_ora_ics(std::chrono::sys_seconds istante);

// FNV-1a: a short, stable mark of a text, the same on every system and in every version,
// in hexadecimal.
std::string impronta(std::string_view testo);

}  // namespace turnolista
