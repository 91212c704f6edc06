#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
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

// What `c` writes of `righe`, one per newline, all of them matching lines of a list of
// spaces, numbered from 1.
std::string scritto(Calendario& c, std::string_view righe) {
    std::uint64_t numero = 0;
    while (!righe.empty()) {
        const auto riga = righe.substr(0, righe.find('\n'));
        c.riga(riga, ++numero);
        righe.remove_prefix(riga.size() + 1);
    }
    return c.scrivi();
}

// The Lupi's calendar of `righe`, written at `adesso`.
std::string calendario(std::string_view righe, sys_seconds adesso) {
    Calendario c("Lupi", adesso, Codifica::utf8, Separatore::spazio);
    return scritto(c, righe);
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
        int stagione;
        int senza_data = 0;
        std::uint64_t prima_senza_data = 0;
    };
    const std::vector<Caso> casi{
        {"June: a season still going",
         alle(2026y / June / 15),
         "1 30/06 15:30 C Lupi-Orsi\n",
         {"DTSTART;TZID=Europe/Rome:20260630T153000"},
         2025},
        {"June: a season that ended, so the list is the next one",
         alle(2026y / June / 15),
         "1 01/07 15:30 C Lupi-Orsi\n",
         {"DTSTART;TZID=Europe/Rome:20260701T153000"},
         2026},
        {"July",
         alle(2026y / July / 1),
         "1 01/07 9.05 C Lupi-Orsi\n2 30/06 15:30:45 C Orsi-Lupi\n",
         {"DTSTART;TZID=Europe/Rome:20260701T090500", "DTSTART;TZID=Europe/Rome:20270630T153045"},
         2026},
        {"January, midseason",
         alle(2027y / January / 10),
         "1 13/09 15:30 C Lupi-Orsi\n2 10/5 15:30 C Orsi-Lupi\n",
         {"DTSTART;TZID=Europe/Rome:20260913T153000", "DTSTART;TZID=Europe/Rome:20270510T153000"},
         2026},
        {"29/02 in a leap year",
         alle(2027y / August / 1),
         "1 29/02 15:30 C Lupi-Orsi\n",
         {"DTSTART;TZID=Europe/Rome:20280229T153000"},
         2027},
        {"29/02 in another year, 31/04 and no date at all",
         alle(2026y / August / 1),
         "1 13/09 15:30 C Lupi-Orsi\n2 29/02 15:30 C Lupi-Orsi\n3 31/04 C Lupi\n"
         "Giornata 4: Riposa Lupi\n5 rinviata C Lupi\n",
         {"DTSTART;TZID=Europe/Rome:20260913T153000"},
         2026,
         3,
         2},
        {"explicit years win",
         alle(2026y / December / 9),
         "1 13/9/2025 15:30 C Lupi-Orsi\n2 1/2/27 15:30 C Lupi-Orsi\n3 1/2/227 15:30 C Lupi\n",
         {"DTSTART;TZID=Europe/Rome:20250913T153000", "DTSTART;TZID=Europe/Rome:20270201T153000"},
         2026,
         1,
         3},
        {"no time is the whole day",
         alle(2026y / December / 9),
         "1 13/09 - C Lupi-Orsi\n2 14/09 24:00 C Lupi-Orsi\n3 15/09 15:3 C Lupi-Orsi\n",
         {"DTSTART;VALUE=DATE:20270913", "DTSTART;VALUE=DATE:20270914",
          "DTSTART;VALUE=DATE:20270915"},
         2027},
        {"no event takes the season of today", alle(2026y / March / 1), "", {}, 2025},
        {"already July in Rome at 22:30 UTC on 30 June",
         alle(2026y / June / 30, hours(22) + minutes(30)),
         "1 30/06 15:30 C Lupi-Orsi\n",
         {"DTSTART;TZID=Europe/Rome:20270630T153000"},
         2026},
        {"1 July with no dated line", alle(2026y / July / 1), "1 - 15:30 C Lupi\n", {}, 2026, 1, 1},
        {"a last match today keeps its season",
         alle(2026y / June / 15),
         "1 15/06 15.30.45 C Lupi-Orsi\n",
         {"DTSTART;TZID=Europe/Rome:20260615T153045"},
         2025},
        {"explicit years do not decide the season",
         alle(2026y / December / 9),
         "1 13/9/2025 15:30 C Lupi-Orsi\n",
         {"DTSTART;TZID=Europe/Rome:20250913T153000"},
         2026},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.nome);
        Calendario c("Lupi", caso.adesso, Codifica::utf8, Separatore::spazio);
        const std::string testo = scritto(c, caso.righe);
        EXPECT_EQ(proprieta(testo, "DTSTART;"), caso.inizi);
        EXPECT_EQ(c.stagione(), caso.stagione);
        EXPECT_EQ(c.senza_data(), caso.senza_data);
        EXPECT_EQ(c.prima_senza_data(), caso.prima_senza_data);
    }
}

TEST(Calendario, EventLastsTwoHoursAndTheWholeDayEndsTheNextOne) {
    const std::string testo = calendario("1 31/12 23:00 C Lupi-Orsi\n2 30/06 - C Lupi-Orsi\n",
                                         alle(2026y / December / 9));
    EXPECT_EQ(proprieta(testo, "DTEND"),
              (std::vector<std::string>{"DTEND;TZID=Europe/Rome:20270101T010000",
                                        "DTEND;VALUE=DATE:20270701"}));
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
    EXPECT_EQ(proprieta(prima, "SEQUENCE"), std::vector<std::string>{"SEQUENCE:493200"});
    EXPECT_EQ(proprieta(spostata, "SEQUENCE"), std::vector<std::string>{"SEQUENCE:493260"});
    EXPECT_EQ(
        proprieta(calendario("7 27/09 15:30 C Lupi\n", alle(2025y / December / 31)), "SEQUENCE"),
        std::vector<std::string>{"SEQUENCE:0"});
}

}  // namespace
}  // namespace turnolista
