#pragma once
// The team's season as an iCalendar file (RFC 5545), which phones, Google Calendar, Apple
// Calendar and Outlook import.
//
// Each matching line that is not a rest line and whose DATA cell is a date that exists
// ("d/m", or "d/m/yyyy" and "d/m/yy" for 20yy, an explicit year winning) is one event. With
// a time in ORARIO ("h:mm", "hh:mm" or "hh.mm", seconds allowed) it starts then, in Rome's
// time, and lasts two hours; without one it takes the whole day. SUMMARY is the PARTITA
// cell, LOCATION the LUOGO cell, DESCRIPTION the line as the list has it.
//
// The season starts in the year S of today's date when today is in July or later, else in
// the year before; a "d/m" from July to December falls in S, from January to June in S+1.
// When the last event so placed is before today, the list is for the next season, S+1.
//
// An event's UID comes from the season, the N cell and the PARTITA cell, not from the date,
// time or place, so that importing the calendar again after the league moved a match updates
// that event; SEQUENCE grows with the time the file is written, so that a later file is a
// newer revision.

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "comune/codifica.hpp"
#include "esporta/colonne.hpp"

namespace turnolista {

class Calendario {
  public:
    // `squadra` as typed, in UTF-8, names the calendar; `adesso` is when it is written; the
    // lines are in the list's encoding `codifica`, cut at its `separatore`.
    Calendario(std::string squadra, std::chrono::sys_seconds adesso, Codifica codifica,
               Separatore separatore);
    ~Calendario();
    Calendario(const Calendario&) = delete;
    Calendario& operator=(const Calendario&) = delete;

    // The next matching line and its number in the list; it must outlive the calendar.
    void riga(std::string_view riga, std::uint64_t numero);

    // The whole file, in UTF-8 with CR LF line ends; then the season and the lines left out
    // are known.
    std::string scrivi();

    int stagione() const { return stagione_; }  // S: the season S/S+1
    // Matching lines, not rest lines, with no date that exists; the first one's number.
    std::uint64_t senza_data() const { return senza_data_; }
    std::uint64_t prima_senza_data() const { return prima_senza_data_; }

  private:
    struct Evento;

    std::string_view grezza(std::size_t quale) const;
    std::string cella(std::size_t quale) const;
    void lascia_fuori(std::uint64_t numero);
    void scrivi_evento(std::string& testo, const Evento& evento, std::chrono::sys_days giorno,
                       std::string_view revisione);

    std::string squadra_;
    std::chrono::sys_seconds adesso_;
    Codifica codifica_;
    Separatore separatore_;
    std::vector<Evento> eventi_;
    Celle celle_;
    int stagione_ = 0;
    std::uint64_t senza_data_ = 0;
    std::uint64_t prima_senza_data_ = 0;
};

}  // namespace turnolista
