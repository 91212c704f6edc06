#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "esecuzione.hpp"

namespace prova {
namespace {

// A league saved from Excel as Italian CSV: a heading that decides the separator, a rest
// line with the empty cells Excel writes, a quoted place, a match not yet dated, and the
// Sunday the clocks go back (25/10/2026, when 15:30 in Rome is 14:30 UTC).
const std::string LISTA_CSV =
    "N;DATA;ORARIO;LUOGO;PARTITA\n"
    "1;13/09;10:30;Oratorio;Falchi-Lupi\n"
    "Giornata 1: Riposa Lupi;;;;\n"
    "7;25/10;15:30;\"Campo \"\"Sant'Agata\"\", Citt\xC3\xA0\";Lupi-Orsi\n"
    "9;da definire;;;Lupi-Cervi\n"
    "12;08/11;;Comunale;Volpi-Lupi;;\n";

const std::string FUSO =
    "BEGIN:VTIMEZONE\r\nTZID:Europe/Rome\r\n"
    "BEGIN:DAYLIGHT\r\nTZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\nTZNAME:CEST\r\n"
    "DTSTART:19700329T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\r\nEND:DAYLIGHT\r\n"
    "BEGIN:STANDARD\r\nTZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\nTZNAME:CET\r\n"
    "DTSTART:19701025T030000\r\nRRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\r\nEND:STANDARD\r\n"
    "END:VTIMEZONE\r\n";

TEST(Calendario, SeasonGoesIntoACalendarFileForThePhone) {
    const auto e = esegui({.file = {{"originale.txt", LISTA_CSV}},
                           .file_grezzi = {{"calendario.ics", "vecchio\r\n"}},
                           .input = "c\nLupi\nn\n",
                           .adesso = "2026-09-01T08:00:00Z"});
    EXPECT_EQ(e.out, FORMATO + NOME + PRESENTE + "5" + ESEGUITO + COMPLIMENTI +
                         "calendario.ics (stagione 2026/2027)\nPer averlo nel telefono, mandalo a "
                         "te stesso per posta elettronica e aprilo dal telefono (i passi sono "
                         "nella guida, LEGGIMI.txt)\n" +
                         ANCORA);
    EXPECT_EQ(e.err,
              "Attenzione: la riga 5 del file originale.txt non \xE8 nel calendario: la partita "
              "\xE8 segnata \xAB"
              "da definire\xBB\n");
    EXPECT_EQ(e.stato, 0);
    const std::string comune = "DTSTAMP:20260901T080000Z\r\nSEQUENCE:350400\r\n";
    EXPECT_EQ(e.file.at("calendario.ics"),
              "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//turnolista//turnolista " VERSIONE_ATTESA
              "//IT\r\nCALSCALE:GREGORIAN\r\nX-WR-CALNAME:Lupi 2026/2027\r\n" +
                  FUSO + "BEGIN:VEVENT\r\nUID:2026-c486344eee3d03ba@turnolista\r\n" + comune +
                  "DTSTART;TZID=Europe/Rome:20260913T103000\r\n"
                  "DTEND;TZID=Europe/Rome:20260913T123000\r\n"
                  "SUMMARY:Falchi-Lupi\r\nLOCATION:Oratorio\r\n"
                  "DESCRIPTION:1\\;13/09\\;10:30\\;Oratorio\\;Falchi-Lupi\r\nEND:VEVENT\r\n"
                  "BEGIN:VEVENT\r\nUID:2026-22a9bf5fdd046414@turnolista\r\n" +
                  comune +
                  "DTSTART;TZID=Europe/Rome:20261025T153000\r\n"
                  "DTEND;TZID=Europe/Rome:20261025T173000\r\n"
                  "SUMMARY:Lupi-Orsi\r\nLOCATION:Campo \"Sant'Agata\"\\, Citt\xC3\xA0\r\n"
                  "DESCRIPTION:7\\;25/10\\;15:30\\;\"Campo \"\"Sant'Agata\"\"\\, Citt\xC3\xA0\"\\;"
                  "Lupi-Orsi\r\nEND:VEVENT\r\n"
                  "BEGIN:VEVENT\r\nUID:2026-7082e98d6e069cbf@turnolista\r\n" +
                  comune +
                  "DTSTART;VALUE=DATE:20261108\r\nDTEND;VALUE=DATE:20261109\r\n"
                  "SUMMARY:Volpi-Lupi\r\nLOCATION:Comunale\r\n"
                  "DESCRIPTION:12\\;08/11\\;\\;Comunale\\;Volpi-Lupi\\;\\;\r\nEND:VEVENT\r\n"
                  "END:VCALENDAR\r\n");
    EXPECT_EQ(e.file.size(), 2U);  // no temp.txt
}

TEST(Calendario, EveryMatchLeftOutIsToldWithWhyTheFirstTenOneToALine) {
    // How many lines are left out, and the line that says how many more.
    const std::vector<std::pair<int, std::string>> casi{
        {10, ""},
        {12, "Attenzione: altre 2 righe trovate non sono nel calendario\n"},
    };
    for (const auto& [fuori, altre] : casi) {
        std::string lista = "1 13/09 15:30 Oratorio Falchi-Lupi\n";
        std::string err;
        for (int n = 2; n <= fuori + 1; ++n) {
            lista += std::to_string(n) + " - 15:30 Oratorio Falchi-Lupi\n";
            if (n <= 11) {
                err += "Attenzione: la riga " + std::to_string(n) +
                       " del file originale.txt non \xE8 nel calendario: non ha una data\n";
            }
        }
        const auto e = esegui({.file = {{"originale.txt", lista}},
                               .input = "c\nLupi\nn\n",
                               .adesso = "2026-09-01T08:00:00Z"});
        EXPECT_EQ(e.err, err + altre) << fuori;
        EXPECT_EQ(e.stato, 0);
    }
}

TEST(Calendario, CalendarWithNoMatchIsNotWrittenAndSaysWhy) {
    // No line of the team, or none with a date: the calendar a phone has stays.
    for (const std::string squadra : {"Aquile", "Cervi"}) {
        const auto e = esegui({.file = {{"originale.txt", LISTA_CSV}},
                               .file_grezzi = {{"calendario.ics", "vecchio\r\n"}},
                               .input = "C\n" + squadra + "\nn\n",
                               .adesso = "2027-03-01T08:00:00Z"});
        EXPECT_EQ(e.out, FORMATO + NOME + PRESENTE + (squadra == "Aquile" ? "0" : "1") + ESEGUITO +
                             "Il file calendario.ics non \xE8 stato scritto: nessuna riga trovata "
                             "ha una data che turnolista sa leggere\n" +
                             ANCORA);
        EXPECT_EQ(e.stato, 0);
        EXPECT_EQ(e.file.at("calendario.ics"), "vecchio\r\n");
    }
}

}  // namespace
}  // namespace prova
