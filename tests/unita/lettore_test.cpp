#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "esporta/parti.hpp"
#include "ricerca/ricerca.hpp"

namespace turnolista {
namespace {

using namespace std::chrono;

TEST(Date, ReadAsPeopleWriteThemAndNothingThatOnlyLooksLikeOne) {
    struct Caso {
        std::string testo;
        std::optional<Data> data;
    };
    const std::vector<Caso> casi{
        {"13/09", Data{13, 9, 0}},
        {"12-09-26", Data{12, 9, 2026}},
        {"Mercoled\xC3\xAC, 30 settembre 2026", Data{30, 9, 2026}},
        {"13 set. 26", Data{13, 9, 2026}},
        {"Sab,26/09", Data{26, 9, 0}},
        {"13 sett", Data{13, 9, 0}},
        {"DOM 13 SETT. 2026", Data{13, 9, 2026}},
        {"Giovanissimi, 13/09", Data{13, 9, 0}},
        {"29/02", Data{29, 2, 0}},
        {"27-set-26", Data{27, 9, 2026}},
        {"SA 26/09/26", Data{26, 9, 2026}},
        {"sab.10.10", Data{10, 10, 0}},
        {"(13/09/2026)", Data{13, 9, 2026}},
        {"08/10/2026 (gio)", Data{8, 10, 2026}},
        {"3 ottobre (sabato)", Data{3, 10, 0}},
        {"domenica 1\xC2\xB0 novembre", Data{1, 11, 0}},
        {"2026-09-13", Data{13, 9, 2026}},
        {"13 mar", Data{13, 3, 0}},
        {"17-18/10/2026", Data{18, 10, 2026}},
        {"31/10-01/11/2026", Data{1, 11, 2026}},
        {"13/09 Marconi", std::nullopt},
        {"13 otto", std::nullopt},
        {"13/09/", std::nullopt},
        {"13/09-2026", std::nullopt},
        {"29/02/2027", std::nullopt},
        {"31/04", std::nullopt},
        {"1/2/227", std::nullopt},
    };
    for (const auto& caso : casi) {
        const auto data = leggi_data(caso.testo);
        EXPECT_EQ(data.has_value(), caso.data.has_value()) << caso.testo;
        if (data && caso.data) {
            EXPECT_EQ(std::tuple(data->giorno, data->mese, data->anno),
                      std::tuple(caso.data->giorno, caso.data->mese, caso.data->anno))
                << caso.testo;
        }
    }
}

TEST(Date, TimesAsPeopleWriteThemAndNothingThatOnlyLooksLikeOne) {
    const std::vector<std::pair<std::string, std::optional<seconds>>> casi{
        {"15:30", hours(15) + minutes(30)},
        {"15,30", hours(15) + minutes(30)},
        {"h. 15.30", hours(15) + minutes(30)},
        {"ore 21", hours(21)},
        {"ORE 21", hours(21)},
        {"alle 21", hours(21)},
        {"20H45", hours(20) + minutes(45)},
        {"21h00", hours(21)},
        {"00:00", seconds(0)},
        {"9:00-9:40", hours(9)},
        {"17:00 \u2013 18:30", hours(17)},
        {"dalle 9 alle 9:40", hours(9)},
        {"dalle parti", std::nullopt},
        {"15:30.", hours(15) + minutes(30)},
        {"15:30:45", hours(15) + minutes(30) + seconds(45)},
        {"15:30.45", std::nullopt},
        {"21:60", std::nullopt},
        {"24:00", std::nullopt},
        {"15:3", std::nullopt},
    };
    for (const auto& [testo, ora] : casi) {
        EXPECT_EQ(leggi_ora(testo), ora) << testo;
    }
}

TEST(Lettore, FindsEachFieldOfEveryLineByWhatItHolds) {
    struct Campi {
        std::string n, data, ora, luogo, partita;
        bool operator==(const Campi&) const = default;
    };
    struct Caso {
        std::string lista;
        std::vector<Campi> righe;  // what each line holds
    };
    const std::vector<Caso> casi{
        {"101 13/09 15:30 Comunale Cant\xC3\xB9-Lupi\n",
         {{"101", "13/09", "15:30", "Comunale", "Cant\xC3\xB9-Lupi"}}},
        // A time not yet set: the place stays the place.
        {"1 13/09 - Campo Lupi-Orsi\n2 20/09 18:00 Oratorio Volpi-Lupi\n",
         {{"1", "13/09", "", "Campo", "Lupi-Orsi"},
          {"2", "20/09", "18:00", "Oratorio", "Volpi-Lupi"}}},
        {"N\tData\tOra\tCasa\tOspite\tCampo\n7\t13/09\t21:00\tLupi\tOrsi\tPalaLupi\n",
         {{}, {"7", "13/09", "21:00", "PalaLupi", "Lupi - Orsi"}}},
        {"Sab 26/09 ore 21 Palestra Rossi: Lupi - Orsi\n",
         {{"", "Sab 26/09", "ore 21", "Palestra Rossi", "Lupi - Orsi"}}},
        // Words after a team the list names are a note; a venue may follow in brackets.
        {"1 13/09 15:30 Oratorio Orsi-Aquile\n5 28/10 20:30 Comunale Lupi-Aquile recupero\n",
         {{"1", "13/09", "15:30", "Oratorio", "Orsi-Aquile"},
          {"5", "28/10", "20:30", "Comunale", "Lupi-Aquile"}}},
        {"1 13/09 Orsi-Lupi\n2 20/09 Orsi-Lupi B\n",
         {{"1", "13/09", "", "", "Orsi-Lupi"}, {"2", "20/09", "", "", "Orsi-Lupi B"}}},
        // A round's word starts a heading, unless the match follows the date.
        {"3\xC2\xAA GIORNATA - data da definire\n"
         "4\xC2\xAA giornata: Sab 10/10 ore 16.00 Campo Aquile: Aquilotti - Leoncini\n",
         {{}, {"", "Sab 10/10", "ore 16.00", "Campo Aquile", "Aquilotti - Leoncini"}}},
        // A mark where the date or the time would stand is a note, no team's words.
        {"1 13/09 15:30 Comunale Lupi-Orsi\nda definire Campo B Lupi - Gufi\nRINVIATA Tori - "
         "Lupi\n",
         {{"1", "13/09", "15:30", "Comunale", "Lupi-Orsi"},
          {"", "", "", "Campo B", "Lupi - Gufi"},
          {"", "", "", "", "Tori - Lupi"}}},
        // A chat's words around the venue and after the match are neither team's.
        {"sab 10/10 ore 15.00 Virtus - Borgo al campo nostro\n"
         "mer 14/10 ore 18.30 a Minerbio, Falchi - Borgo. Chi non viene lo dica\n"
         "dom 18/10 alle 10:30 giochiamo in casa, Borgo - Lame al comunale di via Po. Ritrovo 9:45 "
         "negli spogliatoi\nsab 24/10 trasferta: Virtus contro Borgo ore 15.30 al campo sintetico "
         "di Roverella, partenza alle 14\n",
         {{"", "sab 10/10", "ore 15.00", "campo nostro", "Virtus - Borgo"},
          {"", "mer 14/10", "ore 18.30", "Minerbio", "Falchi - Borgo"},
          {"", "dom 18/10", "alle 10:30", "comunale di via Po", "Borgo - Lame"},
          {"", "sab 24/10", "ore 15.30", "campo sintetico di Roverella", "Virtus contro Borgo"}}},
        // Designations: the teams either side of " / ", the fields between dashes; the word
        // before the date and the date the match moved from are no venue.
        {"GARA N. 1231 del 25/10/2026 ore 10:30 (SPOSTATA DA SABATO 24/10) - POL. LUPI / A.C. "
         "ORSI - CAMPO \"CALVI\" - VIA PO 2\n",
         {{"1231", "25/10/2026", "ore 10:30", "CAMPO \"CALVI\" - VIA PO 2",
           "POL. LUPI / A.C. ORSI"}}},
        // Lined up by spaces, an empty cell is known by where the others stand.
        {"N.  DATA        ORA    CAMPO      CASA   OSPITE\n"
         "1   13/09/2026  20:30  Campo A    Lupi   Orsi\n2   20/09/2026         Campo B    Tori   "
         "Lupi\n3   27/09/2026  21:00             Lupi   Gufi\n",
         {{},
          {"1", "13/09/2026", "20:30", "Campo A", "Lupi - Orsi"},
          {"2", "20/09/2026", "", "Campo B", "Tori - Lupi"},
          {"3", "27/09/2026", "21:00", "", "Lupi - Gufi"}}},
        // A match not played yet has no result: its venue stands a column before.
        {"Sab 10/10  h. 21  Lupi - Orsi  63-60  Palestra Rossi\n"
         "Sab 17/10  h. 21  Tori - Lupi  65-58  Palestra Verdi\n"
         "Sab 24/10  h. 21  Lupi - Gufi  Palestra Rossi\n",
         {{"", "Sab 10/10", "h. 21", "Palestra Rossi", "Lupi - Orsi"},
          {"", "Sab 17/10", "h. 21", "Palestra Verdi", "Tori - Lupi"},
          {"", "Sab 24/10", "h. 21", "Palestra Rossi", "Lupi - Gufi"}}},
        // A venue of several words before a home team the list names nowhere else.
        {"16 18/10 10:30 Campo Lupi Tori-Lupi\n",
         {{"16", "18/10", "10:30", "Campo Lupi", "Tori-Lupi"}}},
        // A chat's fields between middle dots and emoji; a note is no venue, and no team.
        {"[02/09/26, 21:15] Marta: \xF0\x9F\x8F\x90 Sab 10 ottobre \xC2\xB7 h 18.00 \xC2\xB7 Pol. "
         "Borgo vs Lupi \xC2\xB7 \xF0\x9F\x93\x8D PalaBorgo\n"
         "\xF0\x9F\x94\x81 RECUPERO \xF0\x9F\x93\x85 Mer 21/10 \xE2\x9A\xBD Lupi - Orsi "
         "\xF0\x9F\x93\x8D Comunale Orsi\n"
         "Lupi-Orsi, orario da definire (PalaLupi)\n"
         "5 Mer 21/10/2026 --.-- Lupi - Orsi PalaLupi\n"
         "19 Mar 09/02/2027 21.15 Lupi - Orsi Palazzetto Rossi\n",
         {{"", "Sab 10 ottobre", "h 18.00", "PalaBorgo", "Pol. Borgo vs Lupi"},
          {"", "Mer 21/10", "", "Comunale Orsi", "Lupi - Orsi"},
          {"", "", "", "PalaLupi", "Lupi-Orsi"},
          {"5", "Mer 21/10/2026", "", "PalaLupi", "Lupi - Orsi"},
          {"19", "Mar 09/02/2027", "21.15", "Palazzetto Rossi", "Lupi - Orsi"}}},
        // A date and its time in one cell, "ore" between them.
        {"Gara\tData e ora\tCasa\tOspite\tCampo\n2401\tsab 10 ott 2026 ore 18:00\tLupi\tOrsi\t"
         "Palestra Po\n",
         {{}, {"2401", "sab 10 ott 2026", "ore 18:00", "Palestra Po", "Lupi - Orsi"}}},
        // A time still to be set, a tournament's group, a forfeit: notes, no venue, no team.
        {"Sabato 24 ottobre 2026 \u2013 ore da definire \u2013 Salone Rossi: Orsi \u2013 Lupi\n"
         "20.30 Campo 1 Girone A Tori - Lupi\nDom 06/09/2026 10:30 Oratorio Zeno Lupi - Gufi 0-3 "
         "tav.\n",
         {{"", "Sabato 24 ottobre 2026", "", "Salone Rossi", "Orsi \u2013 Lupi"},
          {"", "", "20.30", "Campo 1", "Tori - Lupi"},
          {"", "Dom 06/09/2026", "10:30", "Oratorio Zeno", "Lupi - Gufi"}}},
        // A group's heading is no match; a dash alone joins the teams across a run of spaces.
        {"GIRONE A - 1a Giornata   13/09/2026\n1 13/09 15:30 Campo A Lupi - Orsi\n"
         "2 20/09 15:30 Tori    - Lupi  Campo B\n",
         {{},
          {"1", "13/09", "15:30", "Campo A", "Lupi - Orsi"},
          {"2", "20/09", "15:30", "Campo B", "Tori    - Lupi"}}},
        // A no-break space inside a name is the name's; "contro" joins two teams, a venue after
        // "a" before them; a mark after the away team and an app's "BYE" are no team.
        {"Lun 28 set \u00b7 20:30 \u00b7 Real\u00a0Fossa vs Orsi \u00b7 Sintetico 1\n"
         "sabato 19/9 ore 15 a Castenaso, Lupi Castenaso contro Orsi\n"
         "dom 4/10 Falchi - Orsi RINVIATA\n",
         {{"", "Lun 28 set", "20:30", "Sintetico 1", "Real\u00a0Fossa vs Orsi"},
          {"", "sabato 19/9", "ore 15", "Castenaso", "Lupi Castenaso contro Orsi"},
          {"", "dom 4/10", "", "", "Falchi - Orsi"}}},
        {"Date,Time,Home,Away,Venue\n2026-10-03,15:00,Lupi,Orsi,Campo\n2026-10-10,,Lupi,BYE,\n",
         {{}, {"", "2026-10-03", "15:00", "Campo", "Lupi - Orsi"}, {}}},
        {"Falchi - Orsi ore 15.30 (Campo Falchi)\n",
         {{"", "", "ore 15.30", "Campo Falchi", "Falchi - Orsi"}}},
        {"[12/09/26, 21:15] Mario: 3 20/09 15.30 Oratorio Lupi-Volpi\n",
         {{"3", "20/09", "15.30", "Oratorio", "Lupi-Volpi"}}},
        {"Data;Campo;Casa;Ospite\n13/09/2026 15:30;Comunale;Lupi;Orsi\n",
         {{}, {"", "13/09/2026", "15:30", "Comunale", "Lupi - Orsi"}}},
        {"Data\tOra\tPartita\tRisultato\tCampo\n13/09/2026\t15:30\tLupi / Orsi\t3-1\tComunale\n",
         {{}, {"", "13/09/2026", "15:30", "Comunale", "Lupi / Orsi"}}},
        // A team's name ending in a number; a street's date in a venue is no return leg.
        {"7 04/10 15:30 Sintetico Atletico 96-Lupi\n1 13/09 15:30 Comunale Lupi-Atletico 96\n",
         {{"7", "04/10", "15:30", "Sintetico", "Atletico 96-Lupi"},
          {"1", "13/09", "15:30", "Comunale", "Lupi-Atletico 96"}}},
        // A club's own list: its team, the other, and a flag that names neither.
        {"Data\tOra\tSquadra\tAvversario\tCasa/Trasferta\tCampo\n"
         "04/10/2026\t10:30\tLupi\tOrsi\tCasa\tCampo Lupi\n",
         {{}, {"", "04/10/2026", "10:30", "Campo Lupi", "Lupi - Orsi"}}},
        {"N;Data;Casa;Ospite;Campo\n1;sab 26/09 - 18:30;Lupi;Orsi;Palestra Carducci\n",
         {{}, {"1", "sab 26/09", "18:30", "Palestra Carducci", "Lupi - Orsi"}}},
        {"Mar 22/09/2026 Cervi - Lupi c/o Palestra Bianchi 20:45 (ritrovo 20:15)\n"
         "Mar 06/10/2026 ritrovo ore 20:15, inizio ore 20:45 Orsi - Lupi\n",
         {{"", "Mar 22/09/2026", "20:45", "Palestra Bianchi", "Cervi - Lupi"},
          {"", "Mar 06/10/2026", "ore 20:45", "", "Orsi - Lupi"}}},
        {"Gara n. 101 3/10/2026 ore 15 Oratorio San Rocco: Lupi - Orsi\n",
         {{"101", "3/10/2026", "ore 15", "Oratorio San Rocco", "Lupi - Orsi"}}},
        {"Sab 03/10 15h30 Lupi - Orsi @ Campo Via Verdi\n"
         "Domenica 4 ottobre: Lupi-Orsi (ore 15.30, campo di Via Verdi)\n",
         {{"", "Sab 03/10", "15h30", "Campo Via Verdi", "Lupi - Orsi"},
          {"", "Domenica 4 ottobre", "ore 15.30", "campo di Via Verdi", "Lupi-Orsi"}}},
        // A venue after the teams; a match moved to the date after "al".
        {"Dom 04/10 15:30 Lupi - Orsi Campo Comunale\n"
         "Dom 18/10 15:30 Lupi - Falchi PalaFalchi posticipata al 12/11 ore 20:30\n",
         {{"", "Dom 04/10", "15:30", "Campo Comunale", "Lupi - Orsi"},
          {"", "12/11", "ore 20:30", "PalaFalchi", "Lupi - Falchi"}}},
        // A match's code; a province's bracket is the team's; a sports centre, a tent hall a
        // venue, but not a team's last word "Centro".
        {"1DF-A-001 Sab 10/10/26 21:00 LUPIANO (CO) - ERBA (CO) Palestra Media - Via Roma 5\n"
         "Dom 18/10 11.00 Audax-Pregnana - Oratorio Cerro Centro Sportivo Vanzago\n"
         "25/10 Lupi-Orsi Tensostruttura Via Po\n1/11 Lupi-Atletico Centro\n",
         {{"1DF-A-001", "Sab 10/10/26", "21:00", "Palestra Media - Via Roma 5",
           "LUPIANO (CO) - ERBA (CO)"},
          {"", "Dom 18/10", "11.00", "Centro Sportivo Vanzago", "Audax-Pregnana - Oratorio Cerro"},
          {"", "25/10", "", "Tensostruttura Via Po", "Lupi-Orsi"},
          {"", "1/11", "", "", "Lupi-Atletico Centro"}}},
        // A sheet's rest row is no header; an e-mail's header is no match.
        {"Giornata,Incontro,Data e ora,Impianto\n1,\"Riposa: Orsi\",,\n"
         "1,\"Lupi - Volpi\",\"sab 17/10/26 15:30\",\"Palestra Lova\"\nA: Lupi - giocatori\n",
         {{}, {}, {"1", "sab 17/10/26", "15:30", "Palestra Lova", "Lupi - Volpi"}, {}}},
        // A series' game, set scores after the teams.
        {"Dom 11/04/2027 ore 11.00 gara 1 Knights - Rams (Stadio Casadio)\n"
         "Lun 12/10 19:30 Campo 1 Zanon/Dall'Acqua - Babetto/Gobbo 7-5 3-6 8-10\n",
         {{"1", "Dom 11/04/2027", "ore 11.00", "Stadio Casadio", "Knights - Rams"},
          {"", "Lun 12/10", "19:30", "Campo 1", "Zanon/Dall'Acqua - Babetto/Gobbo"}}},
        // A Markdown table, its rest row no header; a word processor's columns lined up by tabs.
        {"| N | Data | Casa | Ospite |\n| --- | --- | --- | --- |\n| 1 | | Riposa: Orsi | |\n"
         "| 1 | 13/09 | Lupi | Tori |\n",
         {{}, {}, {}, {"1", "13/09", "", "", "Lupi - Tori"}}},
        {"Data\t\tOra\tCampo\t\tPartita\nSab 3/10\t15.00\tComunale\tLupi - Orsi\n"
         "Sab 3/10\t15.30\tOratorio\t\t\tTori - Gufi\nDom 4/10\t\t10.00\tParrocchia\tVolpi - "
         "Lupi\n",
         {{},
          {"", "Sab 3/10", "15.00", "Comunale", "Lupi - Orsi"},
          {"", "Sab 3/10", "15.30", "Oratorio", "Tori - Gufi"},
          {"", "Dom 4/10", "10.00", "Parrocchia", "Volpi - Lupi"}}},
        // A code with a dot, a weekday glued to its date; a venue in the match's cell.
        {"G.1 sab.10.10 h.15.30 Campo Oratorio Lupi-Orsi\n",
         {{"G.1", "sab.10.10", "h.15.30", "Campo Oratorio", "Lupi-Orsi"}}},
        {"Data\tOra\tPartita\n13/09/2026\t15:30\tLupi - Orsi (PalaLupi, Via Roma 3)\n",
         {{}, {"", "13/09/2026", "15:30", "PalaLupi, Via Roma 3", "Lupi - Orsi"}}},
        // A venue's code that the list's venues at its end explain, and one they do not.
        {"N\tData\tCasa\tOspite\tCampo\n1\t13/09\tLupi\tOrsi\tC04\n2\t20/09\tTori\tLupi\tC09\n"
         "Codice\tImpianto\tIndirizzo\nC04\tPalestra Rossi\t\tVia Po 1\n",
         {{},
          {"1", "13/09", "", "Palestra Rossi, Via Po 1", "Lupi - Orsi"},
          {"2", "20/09", "", "C09", "Tori - Lupi"},
          {},
          {}}},
        {"11 18/10 15:30 Palestra Via 4 Novembre Falchi-Lupi\n",
         {{"11", "18/10", "15:30", "Palestra Via 4 Novembre", "Falchi-Lupi"}}},
        {"\xF0\x9F\x93\x85 Sab 19/09 \xE2\x8F\xB0 17:30 Palestra Verdi Lupi - Orsi\n",
         {{"", "Sab 19/09", "17:30", "Palestra Verdi", "Lupi - Orsi"}}},
        {"Gara: 7\nData: Sab 13/09\nOra: 20:30\nCasa: Lupi\nOspite: Orsi\nPalestra: Rossi\n"
         "Gara: 8\nData: Sab 20/09\nOra: 21:00\nCasa: Tori\nOspite: Lupi\nPalestra: Verdi\n"
         "Gara: 9\nData: Sab 27/09\nOra: 18:00\nCasa: Lupi\nOspite: Gufi\nPalestra: Rossi\n",
         {{"7", "Sab 13/09", "20:30", "Rossi", "Lupi - Orsi"},
          {"8", "Sab 20/09", "21:00", "Verdi", "Tori - Lupi"},
          {"9", "Sab 27/09", "18:00", "Rossi", "Lupi - Gufi"}}},
        // A web table copied from a browser, its date's cell of two lines with no quotes.
        {"Gara\tData Ora\tCasa\tOspite\tPalestra\n1\tSab 13/09\r\n15:30\tLupi\tOrsi\tComunale\n",
         {{}, {"1", "Sab 13/09", "15:30", "Comunale", "Lupi - Orsi"}}},
        // A table copied from a PDF, a cell on each line, a weekday's cell before each date.
        {"N.\nGiorno\nData\nCampo\nPartita\n1\nSab\n13/09\nComunale\nLupi - Orsi\n2\nDom\n"
         "20/09\n\nOratorio\nVolpi - Lupi\n3\nSab\n26/09\nComunale\nLupi - Tori\n",
         {{},
          {},
          {},
          {},
          {},
          {"1", "13/09", "", "Comunale", "Lupi - Orsi"},
          {"2", "20/09", "", "Oratorio", "Volpi - Lupi"},
          {"3", "26/09", "", "Comunale", "Lupi - Tori"}}},
        // A venue the PDF wrapped, a time's empty cell dropped, a rest's line between records.
        {"1\n13/09/2026\n21:00\nLupi\nOrsi\nPalaLupi\n2\n"
         "13/09/2026\n20:30\nTori\nGufi\nCentro Sportivo\n(sintetico)\n3\n20/09/2026\nOrsi\nTori\n"
         "PalaOrsi\nRiposa: Aquile\n4\n20/09/2026\n21:00\nGufi\nLupi\nPalaGufi\n5\n27/09/2026\n"
         "20:30\nLupi\nTori\nPalaLupi\n6\n27/09/2026\n21:00\nOrsi\nGufi\nPalaOrsi\n7\n04/10/2026\n"
         "21:00\nTori\nOrsi\nPalaTori\n8\n04/10/2026\n20:30\nGufi\nLupi\nPalaGufi\n",
         {{"1", "13/09/2026", "21:00", "PalaLupi", "Lupi - Orsi"},
          {"2", "13/09/2026", "20:30", "Centro Sportivo (sintetico)", "Tori - Gufi"},
          {"3", "20/09/2026", "", "PalaOrsi", "Orsi - Tori"},
          {},
          {"4", "20/09/2026", "21:00", "PalaGufi", "Gufi - Lupi"},
          {"5", "27/09/2026", "20:30", "PalaLupi", "Lupi - Tori"},
          {"6", "27/09/2026", "21:00", "PalaOrsi", "Orsi - Gufi"},
          {"7", "04/10/2026", "21:00", "PalaTori", "Tori - Orsi"},
          {"8", "04/10/2026", "20:30", "PalaGufi", "Gufi - Lupi"}}},
        // A page's path is no header; a result stands where a played match's time would.
        {"Home  \xE2\x80\xBA  Campionati  \xE2\x80\xBA  Open Misto  \xE2\x80\xBA  Girone Unico\n"
         "sab 26 set 3 - 1   Pallavolo Rivalta   Le Furie Rosse  PalaVerdi\n"
         "sab 3 ott 1 - 3  Volley Cerreto  Pallavolo Rivalta  Palestra Pascoli\n"
         "gio 22 ott h 21:15  Le Furie Rosse  Volley Cerreto  Palestra Don Bosco\n",
         {{},
          {"", "sab 26 set", "", "PalaVerdi", "Pallavolo Rivalta - Le Furie Rosse"},
          {"", "sab 3 ott", "", "Palestra Pascoli", "Volley Cerreto - Pallavolo Rivalta"},
          {"", "gio 22 ott", "h 21:15", "Palestra Don Bosco", "Le Furie Rosse - Volley Cerreto"}}},
        // A chat's words before the fields; a tournament's slot.
        {"dimenticavo la 6\xC2\xAA: dom 25/10 ore 10.30 Aquile - Lupi palestra Fermi\n"
         "dalle 9:00 alle 9:40 - Campo A: Lupi - Orsi\n",
         {{"", "dom 25/10", "ore 10.30", "palestra Fermi", "Aquile - Lupi"},
          {"", "", "dalle 9:00 alle 9:40", "Campo A", "Lupi - Orsi"}}},
        // A line a PDF or an e-mail wrapped goes on under it: in its columns, to a drawn table's
        // closing bar, or with the date and time the list's lines give, or the venue it ends with.
        {"Gara  Data       Ora    Casa        Ospite       Palestra\n"
         "1101  Sab 17/10  20:30  Lupi        Orsi         PalaLupi\n"
         "1102  Sab 17/10  17:30  Libertas    Volley       Tensostruttura\n"
         "                        Colleverde  Castelrosso  Loc. Campore\n",
         {{},
          {"1101", "Sab 17/10", "20:30", "PalaLupi", "Lupi - Orsi"},
          {"1102", "Sab 17/10", "17:30", "Tensostruttura Loc. Campore",
           "Libertas Colleverde - Volley Castelrosso"},
          {}}},
        {"| N | Data | Ora | Casa | Ospite | Campo |\n| 1 | 15/10 | 21:00 | Lupi | Orsi | Campo 1 "
         "|\n| 3 | 29/10 | 21:00 | Orsi | Tori | Campo 2 |\n| 2 | 22/10 | 21:00 | Tori | Lupi | "
         "Palestra\nComunale Via Po 14 |\n",
         {{},
          {"1", "15/10", "21:00", "Campo 1", "Lupi - Orsi"},
          {"3", "29/10", "21:00", "Campo 2", "Orsi - Tori"},
          {"2", "22/10", "21:00", "Palestra Comunale Via Po 14", "Tori - Lupi"},
          {}}},
        {"LUPI - ORSI PALAZZETTO VIA ROMA 3 17/10/2026 15:00\nTORI - GUFI PALESTRA ISTITUTO "
         "COMPRENSIVO\nVIA DEI CADUTI 11 17/10/2026 21:45\nGUFI - LUPI PALESTRA GUFI 24/10/2026 "
         "16:00\nTORI - ORSI PALESTRA ISTITUTO COMPRENSIVO\nVIA DEI CADUTI 11 31/10/2026 21:45\n"
         "ORSI - GUFI PALAZZETTO VIA ROMA 3 07/11/2026 15:00\n",
         {{"", "17/10/2026", "15:00", "PALAZZETTO VIA ROMA 3", "LUPI - ORSI"},
          {"", "17/10/2026", "21:45", "PALESTRA ISTITUTO COMPRENSIVO VIA DEI CADUTI 11",
           "TORI - GUFI"},
          {},
          {"", "24/10/2026", "16:00", "PALESTRA GUFI", "GUFI - LUPI"},
          // The same street twice is no two teams' names.
          {"", "31/10/2026", "21:45", "PALESTRA ISTITUTO COMPRENSIVO VIA DEI CADUTI 11",
           "TORI - ORSI"},
          {},
          {"", "07/11/2026", "15:00", "PALAZZETTO VIA ROMA 3", "ORSI - GUFI"}}},
        {"> ore 18.30 Virtus Campagnola - Ardea Volley palestra Istituto Tecnico\n> Agrario "
         "(ingresso da via Po)\n[13/09/26, 18:45] Mister: dom 25/10 ore 10.30 Aquile Dorate - "
         "Lupi Valcerro palestra Fermi\n[13/09/26, 18:47] Giulia: Il 27 siamo via, ciao\n",
         {{"", "", "ore 18.30", "palestra Istituto Tecnico Agrario (ingresso da via Po)",
           "Virtus Campagnola - Ardea Volley"},
          {},
          {"", "dom 25/10", "ore 10.30", "palestra Fermi", "Aquile Dorate - Lupi Valcerro"},
          {}}},
        // A result between the teams; a text's glued weekday; a match moved to a day; a day and
        // month of a result's shape that start the line; a note before a team the list names; a
        // label that names the teams; a category before the fields of a match whose venue follows.
        {"sab 10/10 Lupi 2 - 1 Orsi\nsab17/10 h21 c/o pal. Arcobaleno Tori-Lupi\nLupi - Orsi del "
         "17/10 anticipata a venerd\xC3\xAC 16/10 ore 21.00 presso il campo di via Po\n24-10 18:00 "
         "Lupi - Orsi campo Lupi\nRecupero Orsi - Lupi mercoled\xC3\xAC 14/10 ore 22\nSquadre: "
         "Tori - Orsi\n\xE2\x96\xB6\xEF\xB8\x8F Serie D sab 24/10 \xE2\x8F\xB0 20:45 Lupi - Orsi "
         "\xF0\x9F\x93\x8D Palestra Rossi\n",
         {{"", "sab 10/10", "", "", "Lupi 2 - 1 Orsi"},
          {"", "sab17/10", "h21", "pal. Arcobaleno", "Tori-Lupi"},
          {"", "venerd\xC3\xAC 16/10", "ore 21.00", "campo di via Po", "Lupi - Orsi"},
          {"", "24-10", "18:00", "campo Lupi", "Lupi - Orsi"},
          {"", "mercoled\xC3\xAC 14/10", "ore 22", "", "Orsi - Lupi"},
          {"", "", "", "", "Tori - Orsi"},
          {"", "sab 24/10", "20:45", "Palestra Rossi", "Lupi - Orsi"}}},
        // A friendly's label, as a group's, is no venue.
        {"Campo 3 | 10:45 | Amichevole | Lupi - Orsi\nCampo 1 | 09:00 | Girone A | Tori - Gufi\n",
         {{"", "", "10:45", "Campo 3", "Lupi - Orsi"},
          {"", "", "09:00", "Campo 1", "Tori - Gufi"}}},
        // Teams in two columns, where a venue's column holds a dash in some cells.
        {"17/10\t15:00\tLupi\tOrsi\tC.S. Rondini - Campo 3\n24/10\t15:00\tOrsi\tTori\tPalaOrsi\n"
         "31/10\t15:00\tTori\tLupi\tOratorio\n",
         {{"", "17/10", "15:00", "C.S. Rondini - Campo 3", "Lupi - Orsi"},
          {"", "24/10", "15:00", "PalaOrsi", "Orsi - Tori"},
          {"", "31/10", "15:00", "Oratorio", "Tori - Lupi"}}},
        {"Data;Ora;Squadra in casa;Squadra fuori casa;Impianto\n17/10/2026;21:30;Lupi;Orsi;Po\n",
         {{}, {"", "17/10/2026", "21:30", "Po", "Lupi - Orsi"}}},
        // No sign between the teams, as a PDF copied with single spaces: the names other lines
        // start or end with; a page's footer is no part of the venue above it.
        {"A1 SAB 17/10/26 18:30 LUPI BASKET ORSI ROSSI PALESTRA COMUNALE\nA2 DOM 18/10/26 10:30 "
         "ORSI ROSSI TORI PALATORI\nA3 SAB 24/10/26 16:00 TORI LUPI BASKET PALESTRA COMUNALE\n"
         "A4 DOM 25/10/26 11:00 LUPI BASKET TORI PALESTRA COMUNALE VIA DEI PLATANI 4\nPagina 1 di "
         "2\n",
         {{"A1", "SAB 17/10/26", "18:30", "PALESTRA COMUNALE", "LUPI BASKET ORSI ROSSI"},
          {"A2", "DOM 18/10/26", "10:30", "PALATORI", "ORSI ROSSI TORI"},
          {"A3", "SAB 24/10/26", "16:00", "PALESTRA COMUNALE", "TORI LUPI BASKET"},
          {"A4", "DOM 25/10/26", "11:00", "PALESTRA COMUNALE VIA DEI PLATANI 4",
           "LUPI BASKET TORI"},
          {}}},
        // A match's block, a field a line and its teams on lines of their own, is one record.
        {"Giornata 3\nsab 10 ott 2026, 20:30\nPalaLupi - Via Po 8\nLupi\nvs\nOrsi\n3 - "
         "1\nFinale\n\n"
         "PalaOrsi\nsab 17 ott 2026 \xC2\xB7 21:00\nOrsi\nvs\nTori\n\ndom 18 ott "
         "2026\nTori\nvs\nLupi\n",
         {{"", "sab 10 ott 2026", "20:30", "PalaLupi - Via Po 8", "Lupi  vs  Orsi"},
          {},
          {"", "sab 17 ott 2026", "21:00", "PalaOrsi", "Orsi  vs  Tori"},
          {},
          {"", "dom 18 ott 2026", "", "", "Tori  vs  Lupi"}}},
        {"\xF0\x9F\x97\x93 Sab 17/10\n\xE2\x9A\xBD Lupi vs Orsi\n\xF0\x9F\x95\x92 15:30\nCampo "
         "Po\n\n"
         "Mer 21/10 (recupero)\nTori vs Lupi\n18:45\n\nDom 25/10\nGufi - Lupi\nTutto il giorno\n",
         {{"", "Sab 17/10", "15:30", "Campo Po", "Lupi vs Orsi"},
          {},
          {"", "Mer 21/10", "18:45", "", "Tori vs Lupi"},
          {},
          {"", "Dom 25/10", "", "", "Gufi - Lupi"}}},
        // A PDF's columns of a single space here and runs of spaces there: the venue ends the line.
        {"Calendario Gare Fase di Andata\nGiornata 3\n1021 SAB 17/10/2026 18:00 LUPI BASKET   ORSI "
         "ROSSI   PALA ORSI\n1024 SAB 24/10/2026 18:30 ORSI ROSSI   LUPI BASKET   C.S. COMUNALE\n",
         {{},
          {},
          {"1021", "SAB 17/10/2026", "18:00", "PALA ORSI", "LUPI BASKET   ORSI ROSSI"},
          {"1024", "SAB 24/10/2026", "18:30", "C.S. COMUNALE", "ORSI ROSSI   LUPI BASKET"}}},
        // A phone's page, a field a line: the home team, the away team, the time, result or mark.
        {"Prima Categoria\nsab 17 ott\nLupi\nOrsi\n15:30\nTori\nGufi\nRinv.\ndom 18 "
         "ott\nOrsi\nTori\n2 - "
         "1\n",
         {{},
          {},
          {"", "", "15:30", "", "Lupi  Orsi"},
          {"", "", "", "", "Tori  Gufi"},
          {},
          {"", "", "", "", "Orsi  Tori"}}},
        // A secretary's sentences: the place after "a", up to the words that are no name's.
        {"Sabato 17 ottobre alle 18.00 a Villarosa (palestra comunale) si gioca Lupi \u2013 Orsi, "
         "mentre\nDomenica 18 alle ore 17.30 al PalaCervi di San Mauro si gioca Gufi \u2013 "
         "Aquile.\nvenerd\xC3\xAC 23 ottobre alle 21 con Orsi \u2013 Tori a C\xC3\xA0 Nova "
         "(tensostruttura)\n- la gara Tori \u2013 Lupi, prevista domenica 1/11, \xC3\xA8 "
         "anticipata a "
         "sabato 31/10 alle 19.30, sempre a Villarosa.\n",
         {{"", "Sabato 17 ottobre", "alle 18.00", "Villarosa (palestra comunale)",
           "Lupi \u2013 Orsi"},
          {"", "Domenica 18", "ore 17.30", "PalaCervi di San Mauro", "Gufi \u2013 Aquile"},
          {"", "venerd\xC3\xAC 23 ottobre", "alle 21", "C\xC3\xA0 Nova (tensostruttura)",
           "Orsi \u2013 Tori"},
          {"", "sabato 31/10", "alle 19.30", "Villarosa", "Tori \u2013 Lupi"}}},
        // A category's label is no venue, nor is a venue still to be told.
        {"Promozione: Lupi-Orsi (ore 15, campo comunale di Lupi).\nGara n. 31 del 02/11/2026 ore "
         "22:00 - Tori vs Lupi - c/o impianto da comunicare\n",
         {{"", "", "ore 15", "campo comunale di Lupi", "Lupi-Orsi"},
          {"31", "02/11/2026", "ore 22:00", "", "Tori vs Lupi"}}},
        // A venue's address in a column of its own goes with it, where a phone's map finds it.
        {"Data;Ora;Casa;Ospite;Campo;Indirizzo\n17/10/2026;15:30;Lupi;Orsi;Palestra Po;Via Roma "
         "1\n",
         {{}, {"", "17/10/2026", "15:30", "Palestra Po, Via Roma 1", "Lupi - Orsi"}}},
    };
    for (const auto& caso : casi) {
        const Lettore lettore(caso.lista);
        std::vector<Campi> lette;
        for (std::string_view resto = lettore.letto(); !resto.empty();) {
            const Letta l = lettore.leggi(prossima_riga(resto));
            lette.push_back(l.tipo == Letta::Tipo::partita
                                ? Campi{l.n, l.data, l.ora, l.luogo, l.partita}
                                : Campi{});
        }
        EXPECT_EQ(lette, caso.righe) << caso.lista;
    }
}

// A paper's round on one line: the team's match with its own time and venue, the others none;
// what all share before the colon, a date, a time, gives what the match lacks.
TEST(Lettore, OfARoundOnOneLineReadsTheTeamsMatch) {
    const std::string giornata =
        "1\xC2\xAA giornata (domenica 13 settembre): Lupi-Orsi; Volpi-Tori; Cervi-Gufi";
    const std::string categoria =
        "Prima categoria (ore 15): Lupi-Orsi (campo di Lupi); "
        "Volpi-Tori (ore 10,30); Cervi-Gufi (a Borgo). Juniores: Tori-Lupi rinviata a data da "
        "destinarsi.";
    const std::array<std::tuple<std::string_view, const char*, std::array<const char*, 5>>, 7> casi{
        {{giornata, "Volpi", {"domenica 13 settembre", "", "", "Volpi-Tori", ""}},
         {giornata, "Lupi", {"domenica 13 settembre", "", "", "Lupi-Orsi", ""}},
         {giornata, "Gufi", {"domenica 13 settembre", "", "", "Cervi-Gufi", ""}},
         {categoria, "Orsi", {"", "ore 15", "campo di Lupi", "Lupi-Orsi", ""}},
         {categoria, "Volpi", {"", "ore 10,30", "", "Volpi-Tori", ""}},
         {categoria, "Gufi", {"", "ore 15", "Borgo", "Cervi-Gufi", ""}},
         {categoria, "Tori-Lupi", {"", "ore 15", "", "Tori-Lupi", "rinviata"}}}};
    for (const auto& [lista, nome, campi] : casi) {
        const Lettore lettore(lista);
        const Letta letta = lettore.leggi(lettore.letto(), nome);
        EXPECT_EQ(std::tuple(letta.data, letta.ora, letta.luogo, letta.partita, letta.rinvio),
                  std::tuple(campi[0], campi[1], campi[2], campi[3], campi[4]))
            << nome;
    }
}

// A team first named past the records that tell the columns is still the team itself: "Lupi",
// only in the list's last division, is not "Lupi B" of the first.
TEST(Lettore, TeamFirstNamedLateInALongListIsOnlyItself) {
    std::string lista = "Data;Casa;Ospite\n";
    for (int partita = 1; partita <= 300; ++partita) {
        lista += std::to_string(partita % 28 + 1) + "/10;" +
                 (partita <= 200 ? "Lupi B;Orsi\n" : "Lupi;Volpi\n");
    }
    const Lettore lettore(lista);
    const Letta b = lettore.leggi("3/10;Lupi B;Orsi");
    const Letta lupi = lettore.leggi("3/10;Lupi;Volpi");
    EXPECT_FALSE(lettore.della_squadra(b, "Lupi"));
    EXPECT_TRUE(lettore.della_squadra(lupi, "Lupi"));
    EXPECT_TRUE(lettore.della_squadra(b, "Lupi B"));
    EXPECT_TRUE(lettore.della_squadra(b, "Lup"));
    EXPECT_TRUE(lettore.della_squadra(lupi, "Lup"));
}

// The layout alone, which is all a table of a list cut by the fixed rule reads: a sign
// between spaces counts again only past the end of the last one, so " – – " is one; two runs
// of spaces make cells, one does not.
TEST(Disposizione, TellsTheFixedRuleFromTheSeparatorsAlone) {
    EXPECT_TRUE(Disposizione("1 13/09 Lupi \u2013 \u2013 Orsi\n2 13/09 Tori \u2013 \u2013 Gufi\n")
                    .regola_fissa);
    EXPECT_FALSE(Disposizione("Sab \u2013 Oratorio \u2013 Lupi vs Orsi\n"
                              "Dom \u2013 Campo \u2013 Tori vs Gufi\n")
                     .regola_fissa);
    EXPECT_TRUE(Disposizione("Sab  Oratorio  Lupi\nDom  Campo  Tori\n").in_celle);
    EXPECT_FALSE(Disposizione("Sab  Oratorio Lupi\nDom  Campo Tori\n").in_celle);
    EXPECT_EQ(Disposizione("Titolo\n13/09;Lupi;Orsi\n14/09;Tori;Gufi\n").separatore,
              Separatore::punto_e_virgola);
    // A plain-text table in an e-mail, its borders drawn: cut at its bars.
    EXPECT_EQ(Disposizione("Ciao a tutti,\necco il calendario.\n+----+-------+\n| 1  | Lupi  |\n"
                           "+----+-------+\n")
                  .separatore,
              Separatore::barra);
    // A paper's matches of an evening, "; " between them, are no sheet's cells.
    EXPECT_TRUE(Disposizione("Lun 31/05: ore 20 Lupi - Orsi; ore 21 Tori - Gufi; ore 22 A - B\n")
                    .regola_fissa);
    // A match's blocks of lines, blank lines between, have no columns to keep: tables are read.
    EXPECT_FALSE(Disposizione("Sab 17/10\nLupi\nvs\nOrsi\n\nSab 24/10\nOrsi\nvs\nTori\n\n"
                              "Dom 25/10\nTori\nvs\nLupi\n")
                     .regola_fissa);
    // A date alone every few lines is a record of a cell a line, not a heading over matches.
    const std::string pdf = "1\n13/09\nLupi\nOrsi\n2\n20/09\nVolpi\nLupi\n3\n27/09\nLupi\nTori\n";
    EXPECT_EQ(std::pair(Disposizione(pdf).per_record, Disposizione(pdf).data_a),
              std::pair(std::size_t{4}, std::size_t{1}));
    // Its records are read as lines of cells; one left empty makes its record shorter, not the
    // next record's number its own.
    const std::string corta =
        "1\n13/09\nLupi\nOrsi\n2\n20/09\nLupi\n3\n27/09\nLupi\nTori\n4\n"
        "04/10\nOrsi\nTori\n";
    EXPECT_EQ(Disposizione(corta).unite(corta),
              "1\t13/09\tLupi\tOrsi\n2\t20/09\tLupi\n3\t27/09\tLupi\t"
              "Tori\n4\t04/10\tOrsi\tTori\n");
    // A record in two lines, as a cell of two lines leaves it, where most are; no short line alone.
    EXPECT_EQ(Disposizione("N;Data;Casa;Ospite\n1;13/09\n18:00;Lupi;Orsi\n2;20/09;Tori;Lupi\n"
                           "3;27/09;Lupi;Gufi\n")
                  .per_record,
              0U);
    // A site's table copied with a heading and a rest line a round: a third of its lines tabs.
    std::string turni = "Calendario\nGara\tData\tCasa\tOspite\n";
    for (const char* data : {"13/09", "20/09", "27/09"}) {
        turni.append("Giornata\n1\t").append(data).append("\tLupi\tOrsi\n2\t").append(data);
        turni.append("\tTori\tGufi\nRiposa: Volpi\n");
    }
    EXPECT_EQ(Disposizione(turni).separatore, Separatore::tab);
    // A PDF's records apart by its round headings and rest lines: its tables too.
    std::string giornate;
    for (const char* data : {"12/09", "19/09", "26/09"}) {
        giornate.append("Giornata\n").append(data).append("\nA\nLupi - Orsi\n");
        giornate.append(data).append("\nB\nTori - Gufi\nRiposa: Volpi\n");
    }
    const Disposizione pagine(giornate);
    EXPECT_EQ(std::tuple(pagine.per_record, pagine.regola_fissa), std::tuple(std::size_t{3}, true));
    // A portal's blocks of a label and a value a line: records, its tables by the fixed rule.
    std::string blocchi;
    for (const char* data : {"13/09", "20/09", "27/09"}) {
        blocchi.append("Gara: 7\nData: Sab ").append(data).append("\nCasa: Lupi\nOspite: Orsi\n");
    }
    const Disposizione portale(blocchi);
    EXPECT_EQ(std::tuple(portale.per_record, portale.data_a, portale.regola_fissa),
              std::tuple(std::size_t{4}, std::size_t{1}, true));
    EXPECT_EQ(Disposizione("Sab 13/09\nLupi - Orsi\nTori - Gufi\nSab 20/09\nOrsi - Lupi\n"
                           "Gufi - Tori\nSab 27/09\nLupi - Tori\nOrsi - Gufi\n")
                  .per_record,
              0U);
}

}  // namespace
}  // namespace turnolista
