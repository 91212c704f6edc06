#pragma once
// The pieces of an iCalendar file (RFC 5545) as the calendar writes them: its own lines and
// time zone, its content lines, its dates, and a stable mark for an event's UID.

#include <chrono>
#include <string>
#include <string_view>

namespace turnolista {

// Today's date in Rome, by the same rule as the file's time zone.
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

}  // namespace turnolista
