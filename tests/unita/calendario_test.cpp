#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "esporta/calendario.hpp"

namespace turnolista {
namespace {

using namespace std::chrono;

sys_seconds alle(year_month_day giorno, minutes ora = hours(12)) {
    return sys_days(giorno) + ora;
}

// The Lupi's calendar of the list `righe`, written at `adesso`.
std::string calendario(std::string_view righe, sys_seconds adesso) {
    return turnolista::calendario(righe, "Lupi", adesso).ics;
}

// The content lines that start with `nome`, unfolded.
std::vector<std::string> proprieta(std::string testo, std::string_view nome) {
    for (std::size_t piega; (piega = testo.find("\r\n ")) != std::string::npos;) {
        testo.erase(piega, 3);
    }
    std::vector<std::string> trovate;
    std::istringstream in(testo);
    for (std::string riga; std::getline(in, riga);) {
        if (riga.starts_with(nome)) {
            trovate.push_back(riga.substr(0, riga.size() - 1));  // its CR
        }
    }
    return trovate;
}

TEST(Calendario, DatesTimesAndTheSeasonAtTheirEdges) {
    struct Caso {
        std::string nome;
        sys_seconds adesso;
        std::string righe;
        std::vector<std::string> inizi;
        std::string stagione;
        int senza_data = 0;
        std::uint64_t prima_senza_data = 0;
    };
    const std::vector<Caso> casi{
        {"June: a season still going",
         alle(2026y / June / 15),
         "1 30/06 15:30 C Lupi-Orsi\n",
         {"DTSTART;TZID=Europe/Rome:20260630T153000"},
         "2026"},
        {"June: a season that ended, so the list is the next one",
         alle(2026y / June / 15),
         "1 01/07 15:30 C Lupi-Orsi\n",
         {"DTSTART;TZID=Europe/Rome:20260701T153000"},
         "2026/2027"},
        {"July, a day apart: the shortest stretch, not the list's order",
         alle(2026y / July / 1),
         "1 01/07 9.05 C Lupi-Orsi\n2 30/06 15:30:45 C Orsi-Lupi\n",
         {"DTSTART;TZID=Europe/Rome:20260701T090500", "DTSTART;TZID=Europe/Rome:20260630T153045"},
         "2026"},
        {"January, midseason",
         alle(2027y / January / 10),
         "1 13/09 15:30 C Lupi-Orsi\n2 10/1 15:30 C Orsi-Lupi\n",
         {"DTSTART;TZID=Europe/Rome:20260913T153000", "DTSTART;TZID=Europe/Rome:20270110T153000"},
         "2026/2027"},
        {"autumn and spring: the summer's gap is longer than the winter's",
         alle(2026y / September / 1),
         "1 13/09 - C Lupi-Orsi\n2 11/10 - C Orsi-Lupi\n3 7/03 - C Lupi-Volpi\n4 4/04 - C "
         "Volpi-Lupi\n",
         {"DTSTART;VALUE=DATE:20260913", "DTSTART;VALUE=DATE:20261011",
          "DTSTART;VALUE=DATE:20270307", "DTSTART;VALUE=DATE:20270404"},
         "2026/2027"},
        {"a recovery out of order stays in its season",
         alle(2026y / September / 1),
         "1 13/09 - C Lupi-Orsi\n2 17/01 - C Orsi-Lupi\n3 20/09 - C Lupi-Volpi\n",
         {"DTSTART;VALUE=DATE:20260913", "DTSTART;VALUE=DATE:20270117",
          "DTSTART;VALUE=DATE:20260920"},
         "2026/2027"},
        {"29/02 in a leap year",
         alle(2027y / August / 1),
         "1 29/02 15:30 C Lupi-Orsi\n",
         {"DTSTART;TZID=Europe/Rome:20280229T153000"},
         "2028"},
        {"29/02 in another year, 31/04 and no date at all",
         alle(2026y / August / 1),
         "1 13/09 15:30 C Lupi-Orsi\n2 29/02 15:30 C Lupi-Orsi\n3 31/04 C Lupi-Orsi\n"
         "Giornata 4: Riposa Lupi\n5 rinviata C Lupi-Orsi\n",
         {"DTSTART;TZID=Europe/Rome:20260913T153000"},
         "2026/2027",
         3,
         2},
        {"explicit years win",
         alle(2026y / December / 9),
         "1 13/9/2025 15:30 C Lupi-Orsi\n2 1/2/27 15:30 C Lupi-Orsi\n3 1/2/227 15:30 C Lupi-Orsi\n",
         {"DTSTART;TZID=Europe/Rome:20250913T153000", "DTSTART;TZID=Europe/Rome:20270201T153000"},
         "2025/2026",
         1,
         3},
        {"no time is the whole day, a time not understood no event",
         alle(2026y / December / 9),
         "1 13/09 - C Lupi-Orsi\n2 14/09 24:00 C Lupi-Orsi\n3 15/09 15:3 C Lupi-Orsi\n",
         {"DTSTART;VALUE=DATE:20270913"},
         "2027/2028",
         2,
         2},
        {"no event takes the season of today", alle(2026y / March / 1), "", {}, "2025/2026"},
        {"already July in Rome at 22:30 UTC on 30 June",
         alle(2026y / June / 30, hours(22) + minutes(30)),
         "1 30/06 15:30 C Lupi-Orsi\n",
         {"DTSTART;TZID=Europe/Rome:20270630T153000"},
         "2027"},
        {"1 July with no dated line",
         alle(2026y / July / 1),
         "1 - 15:30 C Lupi-Orsi\n",
         {},
         "2026/2027",
         1,
         1},
        {"a last match today keeps its season",
         alle(2026y / June / 15),
         "1 15/06 15.30.45 C Lupi-Orsi\n",
         {"DTSTART;TZID=Europe/Rome:20260615T153045"},
         "2026"},
        {"a summer tournament stays in its year",
         alle(2026y / June / 10),
         "1 20/06 - C Lupi-Orsi\n2 05/07 - C Orsi-Lupi\n",
         {"DTSTART;VALUE=DATE:20260620", "DTSTART;VALUE=DATE:20260705"},
         "2026"},
        {"a spring tournament takes the nearest year not over",
         alle(2026y / December / 9),
         "1 10/03 - C Lupi-Orsi\n2 20/05 - C Orsi-Lupi\n",
         {"DTSTART;VALUE=DATE:20270310", "DTSTART;VALUE=DATE:20270520"},
         "2027"},
        {"a line of Thursday's league with its date is a match",
         alle(2026y / September / 1),
         "Gio 01/10/2026 21:00 PalaCampus Lupi-Orsi\nGiornata 2: Riposa Lupi\n",
         {"DTSTART;TZID=Europe/Rome:20261001T210000"},
         "2026/2027"},
        {"a match at 00:00 is at midnight, not all day",
         alle(2026y / September / 1),
         "1 13/09 00:00 C Lupi-Orsi\n",
         {"DTSTART;TZID=Europe/Rome:20260913T000000"},
         "2026/2027"},
        {"a suspended or postponed match and a day no year has are no event",
         alle(2026y / September / 1),
         "1 13/09 15:30 C Lupi-Orsi sospesa\n2 29/02/2027 15:30 C Lupi-Orsi\n"
         "3 11/10 15:30 C Cervi-Lupi rinv.\n4 18/10 15:30 C Lupi-Orsi Postponed\n",
         {},
         "2026/2027",
         4,
         1},
        {"a heading's time goes with its date to the matches under it that have none",
         alle(2026y / September / 1),
         "Sabato 17 ottobre 2026 ore 15.00\nSant Andrea - Lupi Campo Comunale\n"
         "Sabato 24 ottobre 2026 ore 15.00\nLupi - Orsi ore 18:00 Stadio\n",
         {"DTSTART;TZID=Europe/Rome:20261017T150000", "DTSTART;TZID=Europe/Rome:20261024T180000"},
         "2026/2027"},
        {"in a list by rounds a line's own date wins over its round's",
         alle(2026y / September / 1),
         "1\xC2\xAA GIORNATA - Domenica 13/09/2026\nore 15:30 Campo: Lupi - Orsi\n"
         "20/09/2026 ore 18:00 Campo: Volpi - Lupi\n",
         {"DTSTART;TZID=Europe/Rome:20260913T153000", "DTSTART;TZID=Europe/Rome:20260920T180000"},
         "2026/2027"},
        {"a line of the team that reads as no match is told, a rest line is not",
         alle(2026y / September / 1),
         "1 13/09 15:30 C Lupi-Orsi\nGiornata 2: Riposa Lupi\n3 27/09 Lupi e Orsi\n",
         {"DTSTART;TZID=Europe/Rome:20260913T153000"},
         "2026/2027",
         1,
         3},
        // Headings that give a month, a week or a weekend to the weekdays under them; the year
        // known, the day must be its weekday ("Sab 11" is a Sunday).
        {"a month's heading dates the days under it",
         alle(2026y / September / 1),
         "OTTOBRE 2026\nSab 10 ore 18.00 Lupi - Orsi\nSab 11 ore 18.00 Lupi - Volpi\n"
         "NOVEMBRE 2026\nDom 1 ore 11.00 Orsi - Lupi (Palestra Parini)\n",
         {"DTSTART;TZID=Europe/Rome:20261010T180000", "DTSTART;TZID=Europe/Rome:20261101T110000"},
         "2026/2027",
         1,
         3},
        {"a week's heading across two months, a weekend's",
         alle(2026y / September / 1),
         "PROGRAMMA GARE DAL 30 NOVEMBRE AL 4 DICEMBRE\nMarted\xC3\xAC 1 h 21.30 Tori - Lupi\n"
         "2\xC2\xAA giornata 31/10-01/11/2026\nVen 20.30 Lupi - Orsi Palestra Tintoretto\n",
         {"DTSTART;TZID=Europe/Rome:20261201T213000", "DTSTART;TZID=Europe/Rome:20261030T203000"},
         "2026/2027"},
        {"a line of labels dates the match under it, a day that does not exist is told",
         alle(2026y / September / 1),
         "Data: sabato 10 ottobre 2026 / Ore: 15.00 / Campo: Oratorio, via Po - Bresso\n"
         "Lupi - Orsi\nMercoled\xC3\xAC, 31 novembre 2026 ore 21 Lupi - Tori\n",
         {"DTSTART;TZID=Europe/Rome:20261010T150000"},
         "2026/2027",
         1,
         3},
        {"of several matches on a line, each has the time before it",
         alle(2026y / September / 1),
         "Luned\xC3\xAC 31 maggio 2027: ore 20.30 Orsi - Tori; ore 21.15 Lupi - Volpi\n",
         {"DTSTART;TZID=Europe/Rome:20270531T211500"},
         "2027"},
        {"a web table's records in two lines, a cell's line break between: told by the first",
         alle(2026y / September / 1),
         "Gara\tData Ora\tCasa\tOspite\n1\tSab 10/10/2026\n18:00\tLupi\tOrsi\n2\tSab 17/10/2026\n"
         "rinviata\tOrsi\tLupi\n3\tSab 24/10/2026\n21:00\tTori\tLupi\n",
         {"DTSTART;TZID=Europe/Rome:20261010T180000", "DTSTART;TZID=Europe/Rome:20261024T210000"},
         "2026/2027",
         1,
         4},
        {"a match to be recovered under a firm date is no event",
         alle(2026y / September / 1),
         "1 13/09 15:30 C Lupi-Orsi da recuperare\n2 20/09 15:30 C Orsi-Lupi\n",
         {"DTSTART;TZID=Europe/Rome:20260920T153000"},
         "2026/2027",
         1,
         1},
        {"under a paper's round, a weekday moves the match, a time to be set is the whole day",
         alle(2026y / September / 1),
         "1a GIORNATA - Domenica 20 settembre\nLupi-Orsi (anticipo sabato ore 20.30, Campo A)\n"
         "2a GIORNATA - Domenica 27 settembre\nOrsi-Lupi, orario da definire (PalaOrsi)\n",
         {"DTSTART;TZID=Europe/Rome:20260919T203000", "DTSTART;VALUE=DATE:20260927"},
         "2026/2027"},
        {"a day of no month is of the month of the date above it, a heading's or a match's",
         alle(2026y / September / 1),
         "Sabato 17 ottobre ore 18 Lupi - Orsi\nDomenica 18 ore 17.30 Orsi - Lupi\n",
         {"DTSTART;TZID=Europe/Rome:20261017T180000", "DTSTART;TZID=Europe/Rome:20261018T173000"},
         "2026/2027"},
        {"a bulletin's two legs on a line, dated and timed by the round's heading",
         alle(2026y / September / 1),
         " ANDATA: 13/09/26   |  1  G I O R N A T A  | RITORNO: 17/01/27\n"
         " ORE...: 15:30      |                      | ORE....: 14:30\n"
         " Lupi      -  Orsi  |  Orsi      -  Lupi\n Riposa... -  Tori  |  Riposa... -  Tori\n",
         {"DTSTART;TZID=Europe/Rome:20260913T153000", "DTSTART;TZID=Europe/Rome:20270117T143000"},
         "2026/2027"},
        {"a sheet's merged cells: a row of a venue and no time or number is of the date above",
         alle(2026y / September / 1),
         "N\tData\tOra\tCampo\tCasa\tOspite\n7\t21/11/2026\t14:30\tC\tOrsi\tTori\n"
         "\t\t\tCampo Lupi\tLupi\tGufi\n",
         {"DTSTART;VALUE=DATE:20261121"},
         "2026/2027"},
        {"the date a match moved from is no return leg",
         alle(2026y / September / 1),
         "GARA N. 1231 del 25/10/2026 ore 10:30 (SPOSTATA DA SABATO 24/10) - POL. ORSI / Lupi - "
         "CAMPO A - VIA PO 2\n",
         {"DTSTART;TZID=Europe/Rome:20261025T103000"},
         "2026/2027"},
        {"a group's heading leaves the day's date to the matches under it",
         alle(2026y / September / 1),
         "SABATO 17 OTTOBRE\nGirone A\nore 9.30  campo 1  Lupi \xE2\x80\x93 Orsi  2-1\n",
         {"DTSTART;TZID=Europe/Rome:20261017T093000"},
         "2026/2027"},
        {"a sheet's rows of a day: a time in the dates' column takes the day above",
         alle(2026y / September / 1),
         "Ora\tCampo\tCasa\tOspite\nVenerd\xC3\xAC 4 giugno 2027\t\t\t\n20:30\tCampo "
         "1\tLupi\tOrsi\n"
         "20:30\tCampo 2\tTori\tGufi\n\t\t\t\nLuned\xC3\xAC 7 giugno\t\t\t\n21:00\tCampo "
         "1\tOrsi\tLupi\n"
         "21:00\tCampo 2\tGufi\tTori\n\t\t\t\nMercoled\xC3\xAC 9 giugno\t\t\t\n20:30\tCampo "
         "1\tLupi\tTori\n",
         {"DTSTART;TZID=Europe/Rome:20270604T203000", "DTSTART;TZID=Europe/Rome:20270607T210000",
          "DTSTART;TZID=Europe/Rome:20270609T203000"},
         "2027"},
        {"a portal's blocks of labels: each a record, a date not set no other's",
         alle(2026y / September / 1),
         "Entro il 14/10 segnalate le palestre.\n\nGara: 1\nData: sabato 17 ottobre 2026\n"
         "Orario: 20:45\nSquadre: Lupi \xE2\x80\x93 Orsi\nPalestra:\xC2\xA0Media \xE2\x80\x93 via "
         "Po\n\n"
         "Gara: 2\nData: da definire\nSquadre: Orsi \xE2\x80\x93 Lupi\n\nGara: 3\nData: "
         "domenica 25 ottobre 2026 ore 18:00\nSquadre: Tori \xE2\x80\x93 Lupi\n",
         {"DTSTART;TZID=Europe/Rome:20261017T204500", "DTSTART;TZID=Europe/Rome:20261025T180000"},
         "2026/2027",
         1,
         9},
        {"the season is the matches', not today's",
         alle(2026y / December / 9),
         "1 13/9/2025 15:30 C Lupi-Orsi\n",
         {"DTSTART;TZID=Europe/Rome:20250913T153000"},
         "2025/2026"},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.nome);
        const EsitoCalendario c = turnolista::calendario(caso.righe, "Lupi", caso.adesso);
        EXPECT_EQ(proprieta(c.ics, "DTSTART;"), caso.inizi);
        EXPECT_EQ(c.stagione, caso.stagione);
        EXPECT_EQ(c.scartate.size(), caso.senza_data);
        EXPECT_EQ(c.scartate.empty() ? 0 : c.scartate.front().numero, caso.prima_senza_data);
    }
}

TEST(Calendario, DatesAndTimesAsListsWriteThemAndWhyALineIsNoEvent) {
    std::string lista;
    for (const std::string_view riga :
         {"1\t12-09-2026\tore 21\tC\tLupi-Orsi", "2\tSab 19.09.2026\tore 20.45\tC\tOrsi-Lupi",
          "3\t13 settembre 2026\th 21\tC\tLupi-Volpi", "4\tDom. 27/09\t21h\tC\tVolpi-Lupi",
          "5\t4 ott\t20h45\tC\tLupi-Cervi", "6\t11/10/26\t15:30:00\tC\tCervi-Lupi",
          "7\t18/10\tRINVIATA\tC\tLupi-Gufi", "8\t18/10\t21 e 30\tC\tGufi-Lupi",
          "9\t25/10\t-\tC\tLupi-Tori", "10\t\t\tC\tTori-Lupi", "11\t31/11\t\tC\tLupi-Tori",
          "12\t29/02/2027\t\tC\tLupi-Orsi", "13\t1/11\t21.75\tC\tLupi-Volpi",
          "14\t8/11\t15:30\t\tVolpi-Lupi", "15\t\t18:00\tC\tLupi-Gufi",
          "16\t15/11\tda definire\tC\tGufi-Lupi", "17\t22/11\tTBD\tC\tLupi-Orsi"}) {
        lista.append(riga).append("\n");
    }
    const EsitoCalendario c = turnolista::calendario(lista, "Lupi", alle(2026y / September / 1));
    const std::string& testo = c.ics;
    EXPECT_EQ(
        proprieta(testo, "DTSTART;"),
        (std::vector<std::string>{
            "DTSTART;TZID=Europe/Rome:20260912T210000", "DTSTART;TZID=Europe/Rome:20260919T204500",
            "DTSTART;TZID=Europe/Rome:20260913T210000", "DTSTART;TZID=Europe/Rome:20260927T210000",
            "DTSTART;TZID=Europe/Rome:20261004T204500", "DTSTART;TZID=Europe/Rome:20261011T153000",
            "DTSTART;VALUE=DATE:20261025", "DTSTART;TZID=Europe/Rome:20261108T153000",
            // A time under an empty date, as a sheet's merged cells leave it: the date above.
            "DTSTART;TZID=Europe/Rome:20261108T180000",
            // A time still to be set, under a firm date: the whole day.
            "DTSTART;VALUE=DATE:20261115", "DTSTART;VALUE=DATE:20261122"}));
    // An event with no venue has no LOCATION.
    EXPECT_EQ(proprieta(testo, "LOCATION").size(), 10U);
    std::vector<std::pair<std::uint64_t, std::string>> scartate;
    for (const Scartata& s : c.scartate) {
        scartate.emplace_back(s.numero, s.testo);
    }
    EXPECT_EQ(scartate, (std::vector<std::pair<std::uint64_t, std::string>>{{7, "RINVIATA"},
                                                                            {8, "21 e 30"},
                                                                            {10, ""},
                                                                            {11, "31/11"},
                                                                            {12, "29/02/2027"},
                                                                            {13, "21.75"}}));
    // A time not understood is told as that alone.
    EXPECT_EQ(c.scartate.at(5).motivo, Scartata::Motivo::ora);
    EXPECT_EQ(c.scartate.at(1).motivo, Scartata::Motivo::ora);
    EXPECT_EQ(c.scartate.at(2).motivo, Scartata::Motivo::senza_data);
    EXPECT_EQ(c.scartate.at(3).motivo, Scartata::Motivo::data);
}

// A chat's or an events page's block: the venue on a line under the match, the block's last, or
// after its label.
TEST(Calendario, VenueOnTheLastLineOfAMatchsBlock) {
    const std::string ics = calendario(
        "*Sabato 3 ottobre 2026*\n\xF0\x9F\x95\x92 16:00 Lupi - Orsi\n"
        "\xF0\x9F\x93\x8D Campo sintetico via Po\n\n10 ottobre 2026 @ 18:00\nU15 | Volpi - Lupi\n"
        "PalaVolpi Via Roma 5, Noale\n\nSabato 17 ottobre 2026\nLupi - Tori 16:00\nStadio Rossi\n"
        "Ritrovo davanti al bar\n\nSabato 24 ottobre 2026\nGufi - Lupi 16:00\nForza ragazzi\n\n"
        "Sabato 31 ottobre 2026 \xE2\x80\x93 Palestra Girasole\nore 9.00 Lupi-Tori (campo A)\n",
        alle(2026y / September / 1));
    EXPECT_EQ(proprieta(ics, "LOCATION"),
              (std::vector<std::string>{
                  "LOCATION:Campo sintetico via Po", "LOCATION:PalaVolpi Via Roma 5\\, Noale",
                  "LOCATION:Stadio Rossi", "LOCATION:Palestra Girasole\\, campo A"}));
    const std::string blocchi = calendario(
        "Sab 31/10 ore 20.30\nLupi - Borgo\n\xF0\x9F\x8F\xA0 in casa\n\xF0\x9F\x93\x8D PalaLupi\n\n"
        "Sab 07/11 ore 18\nLupi - Tori\n\xF0\x9F\x93\x8D PalaLupi\n\xE2\x9A\xA0 RINVIATA, a data "
        "da definire\n\n"
        "Giornata 2\nDom 08/11 18:00 Lupi - Orsi 65-58\nCampo: Palestra Liceo, Via Scuole 5\n"
        "Dom 15/11 18:00 Gufi - Lupi\nCampo: PalaGufi\nDom 22/11 14:30 Gazzo - Lupi\n"
        "Campo Parrocchiale S. Giovanni Bosco\nGiornata 12\n",
        alle(2026y / September / 1));
    EXPECT_EQ(proprieta(blocchi, "LOCATION"),
              (std::vector<std::string>{
                  "LOCATION:PalaLupi", "LOCATION:Palestra Liceo\\, Via Scuole 5",
                  "LOCATION:PalaGufi", "LOCATION:Campo Parrocchiale S. Giovanni Bosco"}));
    // A mark that closes a match's block is the match's.
    EXPECT_EQ(proprieta(blocchi, "SUMMARY").size(), 4U);
}

// A round's return date: each match under it again then, the teams swapped, at the time a line
// gives the return legs, on the other team's ground as its matches at home give it; a PDF's
// aligned columns, a cell starting with the dash.
TEST(Calendario, RoundsReturnDateGivesEachMatchItsReturnLeg) {
    const std::string ics = calendario(
        "Le gare di ritorno si disputano a campi invertiti alle ore 14.30.\n"
        "GIRONE A - 1a Giornata        ANDATA: 13/09/2026   RITORNO: 17/01/2027\n"
        "Lupi        - Orsi        Comunale Lupi    15:30\n"
        "Tori        - Gufi        Comunale Tori    16:00\n"
        "GIRONE A - 2a Giornata        ANDATA: 20/09/2026   RITORNO: 24/01/2027\n"
        "Orsi        - Tori        Campo Orsi       15:30\n",
        alle(2026y / September / 1));
    EXPECT_EQ(proprieta(ics, "DTSTART;"),
              (std::vector<std::string>{"DTSTART;TZID=Europe/Rome:20260913T153000",
                                        "DTSTART;TZID=Europe/Rome:20270117T143000"}));
    EXPECT_EQ(proprieta(ics, "SUMMARY"),
              (std::vector<std::string>{"SUMMARY:Lupi - Orsi", "SUMMARY:Orsi - Lupi"}));
    EXPECT_EQ(proprieta(ics, "LOCATION"),
              (std::vector<std::string>{"LOCATION:Comunale Lupi", "LOCATION:Campo Orsi"}));
}

// A line of the team read as a match whose fields hold the name nowhere is told; one whose
// venue holds it is another team's match.
TEST(Calendario, TeamsLineReadAsAnotherMatchIsTold) {
    const EsitoCalendario c = turnolista::calendario(
        "31/10 9:30 Lupi Azzurri - Orsi\n7/11 9:30 Campo Lupi Azzurri Tori-Orsi\n", "Lupi Azzurri",
        alle(2026y / September / 1));
    ASSERT_EQ(c.scartate.size(), 1U);
    EXPECT_EQ(std::pair(c.scartate[0].numero, c.scartate[0].motivo),
              std::pair(std::uint64_t{1}, Scartata::Motivo::squadre));
}

// A table copied from a PDF, a cell on each line: a match is the lines around its date, told
// by the line it starts on, and its description is its line that holds the name.
TEST(Calendario, PdfWithACellOnEachLineGivesAnEventForEachRecord) {
    const std::string lista =
        "N.\r\nData\r\nOra\r\nCasa\r\nOspite\r\n1\r\n13/09/2026\r\n15:30\r\nLupi\r\nOrsi\r\n"
        "2\r\n20/09/2026\r\nrinviata\r\nOrsi\r\nLupi\r\nPagina 1 di 2\r\nN.\r\nData\r\nOra\r\n"
        "Casa\r\nOspite\r\n3\r\n27/09/2026\r\n18:00\r\nTori\r\nLupi\r\n4\r\n04/10/2026\r\n"
        "18:00\r\nOrsi\r\nTori\r\n";
    const EsitoCalendario c = turnolista::calendario(lista, "Lupi", alle(2026y / September / 1));
    EXPECT_EQ(proprieta(c.ics, "DTSTART;"),
              (std::vector<std::string>{"DTSTART;TZID=Europe/Rome:20260913T153000",
                                        "DTSTART;TZID=Europe/Rome:20260927T180000"}));
    EXPECT_EQ(proprieta(c.ics, "SUMMARY"),
              (std::vector<std::string>{"SUMMARY:Lupi - Orsi", "SUMMARY:Tori - Lupi"}));
    EXPECT_EQ(proprieta(c.ics, "DESCRIPTION"),
              (std::vector<std::string>{"DESCRIPTION:Lupi", "DESCRIPTION:Lupi"}));
    ASSERT_EQ(c.scartate.size(), 1U);
    EXPECT_EQ(std::pair(c.scartate[0].numero, c.scartate[0].testo),
              std::pair(std::uint64_t{11}, std::string("rinviata")));
}

TEST(Calendario, EventLastsTwoHoursAndTheWholeDayEndsTheNextOne) {
    const std::string testo = calendario("1 31/12 23:00 C Lupi-Orsi\n2 30/01 - C Lupi-Orsi\n",
                                         alle(2026y / December / 9));
    EXPECT_EQ(proprieta(testo, "DTEND"),
              (std::vector<std::string>{"DTEND;TZID=Europe/Rome:20270101T010000",
                                        "DTEND;VALUE=DATE:20270131"}));
}

TEST(Calendario, TextIsEscapedAndFoldedAt75OctetsNeverInsideACharacter) {
    // The à of the summary would be the 75th and 76th octets of its line; the description
    // is folded three times.
    const std::string partita = std::string(66, 'x') + "\xC3\xA0-Lupi" + std::string(200, 'y');
    const std::string testo =
        calendario("1 13/09 15:30 Sant'Agata,\\n;2 " + partita + "\n", alle(2026y / December / 9));
    EXPECT_NE(testo.find("\r\nSUMMARY:" + std::string(66, 'x') + "\r\n \xC3\xA0-Lupi" +
                         std::string(67, 'y') + "\r\n "),
              std::string::npos);
    EXPECT_EQ(proprieta(testo, "LOCATION"),
              std::vector<std::string>{"LOCATION:Sant'Agata\\,\\\\n\\;2"});
    std::istringstream in(testo);
    for (std::string riga; std::getline(in, riga);) {
        EXPECT_LE(riga.size(), 76U) << riga;  // 75 octets and the CR
        EXPECT_TRUE(riga.size() < 2 || (static_cast<unsigned char>(riga[1]) & 0xC0) != 0x80);
    }
}

TEST(Calendario, UidStaysWhenTheLeagueMovesAMatchAndSequenceGrowsWithTime) {
    const auto oggi = alle(2026y / December / 9);
    const auto uid = [](const std::string& testo) { return proprieta(testo, "UID"); };
    const std::string prima = calendario("7 27/09 15:30 Comunale Lupi-Orsi\n", oggi);
    const std::string spostata = calendario("7 4/10 20:45 Oratorio Lupi-Orsi\n", oggi + hours(1));
    EXPECT_EQ(uid(prima), uid(spostata));
    EXPECT_EQ(uid(prima), std::vector<std::string>{"UID:2027-22a9bf5fdd046414@turnolista"});
    EXPECT_NE(uid(prima), uid(calendario("8 27/09 15:30 Comunale Lupi-Orsi\n", oggi)));
    EXPECT_NE(uid(prima), uid(calendario("7 27/09 15:30 Comunale Lupi-Volpi\n", oggi)));
    // A match and its recovery, alike, are two events.
    EXPECT_EQ(uid(calendario("7 27/09 15:30 Comunale Lupi-Orsi\n7 4/10 15:30 C Lupi-Orsi\n", oggi)),
              (std::vector<std::string>{"UID:2027-22a9bf5fdd046414@turnolista",
                                        "UID:2027-22a9bf5fdd046414-2@turnolista"}));
    EXPECT_EQ(proprieta(prima, "SEQUENCE"), std::vector<std::string>{"SEQUENCE:493200"});
    EXPECT_EQ(proprieta(spostata, "SEQUENCE"), std::vector<std::string>{"SEQUENCE:493260"});
    EXPECT_EQ(proprieta(calendario("7 27/09 15:30 C Lupi-Orsi\n", alle(2025y / December / 31)),
                        "SEQUENCE"),
              std::vector<std::string>{"SEQUENCE:0"});
}

}  // namespace
}  // namespace turnolista
