#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "esporta/colonne.hpp"
#include "esporta/tabella.hpp"

namespace turnolista {
namespace {

// The table of the lines in `righe`, one per newline.
std::string tabella(TipoTabella tipo, std::string_view righe) {
    std::ostringstream out;
    Tabella t(out, tipo);
    while (!righe.empty()) {
        const auto a_capo = righe.find('\n');
        t.riga(righe.substr(0, a_capo));
        righe.remove_prefix(a_capo + 1);
    }
    t.chiudi();
    EXPECT_TRUE(out.good());
    return out.str();
}

std::string excel(std::string_view righe) {
    return tabella(TipoTabella::excel, righe);
}

std::string pagina(std::string_view righe) {
    return tabella(TipoTabella::pagina, righe);
}

constexpr const char* APERTURA =
    "<HTML>\n<BODY>\n<TABLE border=1 bgcolor=#80ff80>\n"
    "<TR><TD><b>G</b></TD><TD><b>N</b></TD><TD align=center><b>DATA</b></TD><TD "
    "align=center><b>ORARIO</b></TD><TD align=center><b>LUOGO</b></TD><TD "
    "align=center><b>PARTITA</b></TD></TR>";
constexpr const char* CHIUSURA = "\n</TABLE>\n</BODY>\n</HTML>";

TEST(Colonne, OrdinaryLineIsCutAtItsFirstFourSpaces) {
    const Celle c = taglia_in_celle("5 12/10 15:30 Campo Nuovo Lupi-Falchi");
    ASSERT_EQ(c.quante, 5U);
    EXPECT_EQ(c.testo[0], "5");
    EXPECT_EQ(c.testo[3], "Campo");
    EXPECT_EQ(c.testo[4], "Nuovo Lupi-Falchi");
}

TEST(Colonne, RestLineNeedsExactlyGioAtTheStart) {
    const Celle riposo = taglia_in_celle("Giornata 3: Riposa Falchi");
    ASSERT_EQ(riposo.quante, 5U);
    EXPECT_EQ(riposo.testo[0], "");
    EXPECT_EQ(riposo.testo[4], "Riposa Falchi");

    const Celle minuscola = taglia_in_celle("giornata 3: Riposa Falchi");
    ASSERT_EQ(minuscola.quante, 4U);
    EXPECT_EQ(minuscola.testo[0], "giornata");
    EXPECT_EQ(minuscola.testo[3], "Falchi");
}

TEST(Excel, RowsAreNumberedAndTabSeparated) {
    EXPECT_EQ(excel("1 05/10 15:30 Comunale Lupi-Falchi\n"
                    "5 12/10 15:30 Campo Nuovo Lupi-Orsi\n"
                    "7 19/10  Comunale Volpi-Lupi\n"
                    "8 26/10 rinviata\n"
                    "Giornata 9: Riposa Lupi\n"
                    "Giornata 10: nessuna partita\n"
                    "GioLupiRi\n"
                    "gio 1 2 3 Lupi 4\n"),
              "1\t1\t05/10\t15:30\tComunale\tLupi-Falchi\n"
              "2\t5\t12/10\t15:30\tCampo\tNuovo Lupi-Orsi\n"
              "3\t7\t19/10\t\tComunale\tVolpi-Lupi\n"
              "4\t8\t26/10\trinviata\n"
              "5\t\t\t\t\tRiposa Lupi\n"
              "6\t\t\t\t\t\n"
              "7\t\t\t\t\tRi\n"
              "8\tgio\t1\t2\t3\tLupi 4\n");
}

TEST(Excel, NoLinesGiveAnEmptyFile) {
    EXPECT_EQ(excel(""), "");
}

TEST(Excel, SpecialCharactersAreCopiedAsTheyAre) {
    EXPECT_EQ(excel("1 a b c <Lupi> & Co\r\n"), "1\t1\ta\tb\tc\t<Lupi> & Co\r\n");
}

TEST(Pagina, RowsAlternateColoursAndKeepTheNewlineInTheLastCell) {
    EXPECT_EQ(pagina("1 05/10 15:30 Comunale Lupi-Falchi\n"
                     "Giornata 2: Riposa Lupi\n"
                     "8 26/10 rinviata\n"),
              std::string(APERTURA) +
                  "<TR bgcolor=#ffff80>\n\t<TD>1</TD>\n\t<TD>1</TD>\n\t<TD>05/10</TD>\n\t<TD>15:30"
                  "</TD>\n\t<TD>Comunale</TD>\n\t<TD>Lupi-Falchi\n\t</TD>\n</TR>\n"
                  "<TR bgcolor=#c0ffff>\n\t<TD>2</TD>\n\t<TD></TD>\n\t<TD></TD>\n\t<TD></TD>\n\t"
                  "<TD></TD>\n\t<TD>Riposa Lupi\n\t</TD>\n</TR>\n"
                  "<TR bgcolor=#ffff80>\n\t<TD>3</TD>\n\t<TD>8</TD>\n\t<TD>26/10</TD>\n\t<TD>"
                  "rinviata\n\t</TD>\n</TR>\n" +
                  CHIUSURA);
}

TEST(Pagina, NoLinesGiveTheHeadingOnly) {
    EXPECT_EQ(pagina(""), std::string(APERTURA) + CHIUSURA);
}

TEST(Pagina, FixtureTextIsEscaped) {
    EXPECT_EQ(pagina("1 a&b <c> d e<script>&amp;\n"),
              std::string(APERTURA) +
                  "<TR bgcolor=#ffff80>\n\t<TD>1</TD>\n\t<TD>1</TD>\n\t<TD>a&amp;b</TD>\n\t<TD>"
                  "&lt;c&gt;</TD>\n\t<TD>d</TD>\n\t<TD>e&lt;script&gt;&amp;amp;\n\t</TD>\n</TR>\n" +
                  CHIUSURA);
}

}  // namespace
}  // namespace turnolista
