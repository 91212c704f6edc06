#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "esporta/calendario.hpp"
#include "esporta/parti.hpp"
#include "esporta/tabella.hpp"
#include "ricerca/ricerca.hpp"

namespace turnolista {
namespace {

// The table of the lines in `righe`, cut by the list's separator as in a pass.
std::string tabella(TipoTabella tipo, std::string_view righe) {
    Tabella t(tipo);
    const Lettore lettore(righe);
    for (std::string_view resto = righe; !resto.empty();) {
        const std::string_view riga = prossima_riga(resto, lettore.tra_i_record());
        lettore.regola_fissa ? t.riga(riga) : t.riga(lettore.leggi(riga), riga);
    }
    return std::move(t).chiudi();
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

TEST(Colonne, MostLinesOfTheListDecideTheSeparatorNotATitleAboveThem) {
    const std::vector<std::pair<std::string, Separatore>> casi{
        {"1 13/09 10:30 Oratorio Falchi-Lupi\n", Separatore::spazio},
        {"1\t13/09\t10:30\tOratorio\tFalchi-Lupi\n", Separatore::tab},
        {"1;13/09;10:30;\"Campo; 2\";Falchi-Lupi\n", Separatore::punto_e_virgola},
        {"Girone A; Serie D; 2026\n1 13/09 Oratorio Lupi-Orsi\n2 20/09 Campo Orsi-Lupi\n",
         Separatore::spazio},
        {"CALENDARIO\nN;Data;Campo;Partita\n1;13/09;C;Lupi-Orsi\n", Separatore::punto_e_virgola},
        {"1,13/09/2026,15:30,Campo,Lupi - Orsi\r2,20/09/2026,15:30,Campo,Orsi - Lupi\r",
         Separatore::virgola},
    };
    for (const auto& [lista, separatore] : casi) {
        EXPECT_EQ(Lettore(lista).separatore, separatore) << lista;
    }
}

TEST(Celle, RecordIsCutByItsListsSeparatorWithoutWhatIsNoContent) {
    struct Caso {
        Separatore separatore;
        std::string riga;
        std::vector<std::string> celle;
    };
    const std::vector<Caso> casi{
        // A sheet's further columns are further cells; the separators that end the line,
        // which a sheet writes for empty cells, are not.
        {Separatore::tab,
         "1\t13/09\t15:30\tCitt\xC3\xA0 di Castello\tLupi-Orsi\t2-1\t\t",
         {"1", "13/09", "15:30", "Citt\xC3\xA0 di Castello", "Lupi-Orsi", "2-1"}},
        {Separatore::tab, "Giornata 1: Riposa Lupi\t\t\t\t", {"Giornata 1: Riposa Lupi"}},
        {Separatore::tab, "1\t\t\tCampo\tLupi", {"1", "", "", "Campo", "Lupi"}},
        // Excel quotes a cell that holds a quote in its tab-separated text too.
        {Separatore::tab, "1\t\"Stadio \"\"Neri\"\"\"\tLupi", {"1", "Stadio \"Neri\"", "Lupi"}},
        {Separatore::punto_e_virgola,
         "1;\"Campo Sportivo Comunale\";\"Lupi-Orsi di Sopra\"",
         {"1", "Campo Sportivo Comunale", "Lupi-Orsi di Sopra"}},
        {Separatore::punto_e_virgola,
         "1;13/09;15:30;\"Campo; \"\"Nuovo\"\"\";Lupi-Orsi;;",
         {"1", "13/09", "15:30", "Campo; \"Nuovo\"", "Lupi-Orsi"}},
        {Separatore::punto_e_virgola, "1;\"a\"b;\"\";Lupi", {"1", "ab", "", "Lupi"}},
        {Separatore::punto_e_virgola, "1;\"aperta;e mai chiusa", {"1", "aperta;e mai chiusa"}},
        // A quote opens a cell only at its start; a line break in a quoted cell is a space.
        {Separatore::punto_e_virgola, "1;Palestra \"Rossi;Lupi", {"1", "Palestra \"Rossi", "Lupi"}},
        {Separatore::virgola, "1,\"Campo\r\nNord\",Lupi-Orsi", {"1", "Campo Nord", "Lupi-Orsi"}},
        {Separatore::punto_e_virgola, "Giornata 2: Riposa Lupi;;;;", {"Giornata 2: Riposa Lupi"}},
        {Separatore::punto_e_virgola, ";;;;", {""}},
        // Columns aligned by runs of spaces; a chat's sender, emoji and emphasis are no text.
        {Separatore::spazio,
         "1   13/09   Campo Nord   Lupi - Orsi",
         {"1", "13/09", "Campo Nord", "Lupi - Orsi"}},
        {Separatore::spazio,
         "[12/09/26, 21:15] Mario: *1 13/09 Lupi-Orsi* \xF0\x9F\x98\x80",
         {"1 13/09 Lupi-Orsi"}},
        {Separatore::spazio, "> - 2 20/09\xC2\xA0Orsi-Lupi", {"2 20/09 Orsi-Lupi"}},
    };
    for (const auto& caso : casi) {
        EXPECT_EQ(celle_di(caso.riga, caso.separatore), caso.celle) << caso.riga;
    }
    // A line of endless cells: the last of 64 holds the rest of its text.
    std::string lunga;
    for (int i = 0; i < 100; ++i) {
        lunga += "a;";
    }
    const auto celle = celle_di(lunga, Separatore::punto_e_virgola);
    EXPECT_EQ(celle.size(), 64U);
    EXPECT_EQ(celle.back().size(), 37U * 2 - 1);
}

TEST(Excel, RowsAreNumberedAndTabSeparated) {
    EXPECT_EQ(excel("1 05/10 15:30 Comunale Lupi-Falchi\n"
                    "5 12/10 15:30 Campo Nuovo Lupi-Orsi\n"
                    "7 19/10  Comunale Volpi-Lupi\n"
                    "8 26/10 rinviata\n"
                    "Giornata 9: Riposa Lupi\n"
                    "Giornata 10: nessuna partita\n"
                    "GioLupiRi\n"
                    "gio 1 2 3 Lupi 4\n"
                    "1 a b c d;; \n"),
              "1\t1\t05/10\t15:30\tComunale\tLupi-Falchi\n"
              "2\t5\t12/10\t15:30\tCampo\tNuovo Lupi-Orsi\n"
              "3\t7\t19/10\t\tComunale\tVolpi-Lupi\n"
              "4\t8\t26/10\trinviata\n"
              "5\t\t\t\t\tRiposa Lupi\n"
              "6\t\t\t\t\t\n"
              "7\t\t\t\t\tRi\n"
              "8\tgio\t1\t2\t3\tLupi 4\n"
              "9\t1\ta\tb\tc\td;; \n");
}

TEST(Excel, ListSavedFromASheetGivesOneCellPerColumn) {
    // The rest line comes before the line that decides the separator: it waits for it.
    EXPECT_EQ(excel("Giornata 1: Riposa Lupi;;;;\n"
                    "1;13/09;15:30;\"Campo; 2\";Lupi-Orsi;3-1;\n"
                    "2;20/09;;;Volpi-Lupi\n"
                    "3;2026-09-27;;;Lupi-Tori\n"),
              "1\t\t\t\t\tRiposa Lupi\n"
              "2\t1\t13/09\t15:30\tCampo; 2\tLupi-Orsi\t3-1\n"
              "3\t2\t20/09\t\t\tVolpi-Lupi\n"
              // An app's date as people here write it.
              "4\t3\t27/09/2026\t\t\tLupi-Tori\n");
    // A round's date over its matches, as a sheet's merged cells leave it; Excel's time.
    const Lettore lettore(
        "Giornata 1;13/09/2026;;;\n1;;15,30;Campo;Lupi-Orsi\n2;;16:00;C;Tori-Lupi\n");
    Tabella turni(TipoTabella::excel);
    per_partita(lettore, "Lupi",
                [&](Letta& letta, std::string_view riga) { turni.riga(letta, riga); });
    EXPECT_EQ(std::move(turni).chiudi(),
              "1\t1\t13/09/2026\t15:30\tCampo\tLupi-Orsi\n2\t2\t13/09/2026\t16:00\tC\tTori-Lupi\n");
}

TEST(Excel, ListOfFieldsApartByADashIsReadByContentNotByTheRuleOfSpaces) {
    EXPECT_EQ(excel("- Sab 26/09 ore 16:00 \u2013 Campo Parrocchiale \u2013 Condor vs Lupi\n"
                    "- Dom 27/09 ore 10:30 \u2013 Palestra Kennedy \u2013 Linci vs Puma\n"),
              "1\t\tSab 26/09\tore 16:00\tCampo Parrocchiale\tCondor vs Lupi\n"
              "2\t\tDom 27/09\tore 10:30\tPalestra Kennedy\tLinci vs Puma\n");
}

TEST(Excel, NoLinesGiveAnEmptyFile) {
    EXPECT_EQ(excel(""), "");
    // A sheet's rest line, without the empty cells after it.
    EXPECT_EQ(excel("Giornata 1: Riposa Lupi\t\t\n"), "1\t\t\t\t\tRiposa Lupi\n");
}

TEST(Excel, SpecialCharactersAreCopiedAsTheyAre) {
    EXPECT_EQ(excel("1 a b c <Lupi> & Co\r\n"), "1\t1\ta\tb\tc\t<Lupi> & Co\n");
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
