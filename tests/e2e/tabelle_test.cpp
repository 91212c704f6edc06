#include <gtest/gtest.h>

#include "esecuzione.hpp"

namespace prova {
namespace {

const std::string LUNGO(230, 'k');

// Every kind of line the column rule meets, each naming the Lupi.
const std::string ORIGINALE =
    "1 05/10 15:30 Comunale Lupi-Falchi\n"
    "2 05/10 10:00 Campo Don Bosco Orsi-Lupi\n"
    "3 12/10  Comunale Lupi-Volpi\n"
    "4 12/10 rinviata Lupi\n"
    "5 13/10 18:00 Palestrina Tori-Aquile\n"
    "Giornata 2: Riposa Lupi\n"
    "Giornata 3: nessuna gara per i Lupi\n"
    "giornata 4: Riposa Lupi\n"
    "6 19/10 20:30 Bar <Sport> & Lupi\n"
    "7 26/10 15:30 " +
    LUNGO +
    " Lupi-Orsi\n"
    "8 02/11 15:30 Comunale Lupi-Tori\n"
    "9 09/11 15:30 Comunale Lupi-Gioiosa";

const std::string RIGHE_LUPI =
    "1 05/10 15:30 Comunale Lupi-Falchi\n"
    "2 05/10 10:00 Campo Don Bosco Orsi-Lupi\n"
    "3 12/10  Comunale Lupi-Volpi\n"
    "4 12/10 rinviata Lupi\n"
    "Giornata 2: Riposa Lupi\n"
    "Giornata 3: nessuna gara per i Lupi\n"
    "giornata 4: Riposa Lupi\n"
    "6 19/10 20:30 Bar <Sport> & Lupi\n"
    "7 26/10 15:30 " +
    LUNGO +
    " Lupi-Orsi\n"
    "8 02/11 15:30 Comunale Lupi-Tori\n"
    "9 09/11 15:30 Comunale Lupi-Gioiosa\n";

const std::string APERTURA =
    "<HTML>\n<BODY>\n<TABLE border=1 bgcolor=#80ff80>\n"
    "<TR><TD><b>G</b></TD><TD><b>N</b></TD><TD align=center><b>DATA</b></TD><TD "
    "align=center><b>ORARIO</b></TD><TD align=center><b>LUOGO</b></TD><TD "
    "align=center><b>PARTITA</b></TD></TR>";
const std::string CHIUSURA = "\n</TABLE>\n</BODY>\n</HTML>";

std::string riepilogo(const std::string& righe, const std::string& file) {
    return FORMATO + NOME + PRESENTE + righe + ESEGUITO + COMPLIMENTI + file + "\n" + ANCORA;
}

TEST(Tabelle, SpreadsheetHasOneNumberedTabSeparatedRowPerMatch) {
    const auto e = esegui({.file = {{"originale.txt", ORIGINALE}}, .input = "x\nLupi\nn\n"});
    EXPECT_EQ(e.out, riepilogo("11", "calendario.xls"));
    EXPECT_EQ(e.stato, 0);
    EXPECT_EQ(e.file, (std::map<std::string, std::string>{
                          {"originale.txt", ORIGINALE},
                          {"temp.txt", RIGHE_LUPI},
                          {"calendario.xls",
                           "1\t1\t05/10\t15:30\tComunale\tLupi-Falchi\n"
                           "2\t2\t05/10\t10:00\tCampo\tDon Bosco Orsi-Lupi\n"
                           "3\t3\t12/10\t\tComunale\tLupi-Volpi\n"
                           "4\t4\t12/10\trinviata\tLupi\n"
                           "5\t\t\t\t\tRiposa Lupi\n"
                           "6\t\t\t\t\t\n"
                           "7\tgiornata\t4:\tRiposa\tLupi\n"
                           "8\t6\t19/10\t20:30\tBar\t<Sport> & Lupi\n"
                           "9\t7\t26/10\t15:30\t" +
                               LUNGO +
                               "\tLupi-Orsi\n"
                               "10\t8\t02/11\t15:30\tComunale\tLupi-Tori\n"
                               "11\t9\t09/11\t15:30\tComunale\tLupi-Gioiosa\n"}}));
}

TEST(Tabelle, PageHasOneRowPerMatchInAlternatingColours) {
    const auto e = esegui({.file = {{"originale.txt", ORIGINALE}}, .input = "H\nLupi\nn\n"});
    EXPECT_EQ(e.out, riepilogo("11", "calendario.html"));
    EXPECT_EQ(e.stato, 0);
    EXPECT_EQ(e.file.at("temp.txt"), RIGHE_LUPI);
    const std::string giallo = "<TR bgcolor=#ffff80>\n\t<TD>";
    const std::string azzurro = "<TR bgcolor=#c0ffff>\n\t<TD>";
    const std::string td = "</TD>\n\t<TD>";
    const std::string fine = "\n\t</TD>\n</TR>\n";
    EXPECT_EQ(e.file.at("calendario.html"),
              APERTURA + giallo + "1" + td + "1" + td + "05/10" + td + "15:30" + td + "Comunale" +
                  td + "Lupi-Falchi" + fine + azzurro + "2" + td + "2" + td + "05/10" + td +
                  "10:00" + td + "Campo" + td + "Don Bosco Orsi-Lupi" + fine + giallo + "3" + td +
                  "3" + td + "12/10" + td + td + "Comunale" + td + "Lupi-Volpi" + fine + azzurro +
                  "4" + td + "4" + td + "12/10" + td + "rinviata" + td + "Lupi" + fine + giallo +
                  "5" + td + td + td + td + td + "Riposa Lupi" + fine + azzurro + "6" + td + td +
                  td + td + td + fine + giallo + "7" + td + "giornata" + td + "4:" + td + "Riposa" +
                  td + "Lupi" + fine + azzurro + "8" + td + "6" + td + "19/10" + td + "20:30" + td +
                  "Bar" + td + "&lt;Sport&gt; &amp; Lupi" + fine + giallo + "9" + td + "7" + td +
                  "26/10" + td + "15:30" + td + LUNGO + td + "Lupi-Orsi" + fine + azzurro + "10" +
                  td + "8" + td + "02/11" + td + "15:30" + td + "Comunale" + td + "Lupi-Tori" +
                  fine + giallo + "11" + td + "9" + td + "09/11" + td + "15:30" + td + "Comunale" +
                  td + "Lupi-Gioiosa" + fine + CHIUSURA);
}

TEST(Tabelle, SheetSavedAsTabSeparatedTextGivesOneCellPerColumn) {
    // Its heading decides the separator; the result is one more cell; the rest line's
    // trailing tabs are the sheet's empty cells.
    const std::string foglio =
        "N\tDATA\tORARIO\tLUOGO\tPARTITA\tRISULTATO\n"
        "1\t13/09\t10:30\tCampo Sant'Agata\tLupi-Orsi\t2-1\n"
        "Giornata 1: Riposa Lupi\t\t\t\t\t\n";
    const auto e = esegui({.file = {{"originale.txt", foglio}}, .input = "x\nLupi\nn\n"});
    EXPECT_EQ(e.out, riepilogo("2", "calendario.xls"));
    EXPECT_EQ(e.file.at("calendario.xls"),
              "1\t1\t13/09\t10:30\tCampo Sant'Agata\tLupi-Orsi\t2-1\n2\t\t\t\t\tRiposa Lupi\n");
    EXPECT_EQ(e.file.at("temp.txt"), foglio.substr(foglio.find('\n') + 1));

    // Google Sheets' CSV, its columns named in another order: a row has N, DATA, ORARIO,
    // LUOGO, PARTITA (home - away), then the further columns.
    const std::string csv =
        "Data,Ora,Campo,Casa,Ospite,Note\n"
        "13/09/2026,15:30,\"Campo Nord, Lecco\",Canzo,Lupi,\n"
        "20/09/2026,18:00,Palestra,Lupi,Orsi,\"recupero,\nore 18\"\n";
    const auto g = esegui({.file = {{"originale.txt", csv}}, .input = "x\nLupi\nn\n"});
    EXPECT_EQ(g.file.at("calendario.xls"),
              "1\t\t13/09/2026\t15:30\tCampo Nord, Lecco\tCanzo - Lupi\t\n"
              "2\t\t20/09/2026\t18:00\tPalestra\tLupi - Orsi\trecupero, ore 18\n");
}

TEST(Tabelle, LongLineOfAmpersandsIsEscapedWhole) {
    std::string amp;
    for (int i = 0; i < 20'000; ++i) {
        amp += "&amp;";
    }
    const std::string riga = "1 Lupi " + std::string(20'000, '&');
    const auto e = esegui({.file = {{"originale.txt", riga + "\n"}}, .input = "h\nLupi\nn\n"});
    EXPECT_EQ(e.out, riepilogo("1", "calendario.html"));
    EXPECT_EQ(e.file.at("calendario.html"), APERTURA +
                                                "<TR bgcolor=#ffff80>\n\t<TD>1</TD>\n\t<TD>1</TD>\n"
                                                "\t<TD>Lupi</TD>\n\t<TD>" +
                                                amp + "\n\t</TD>\n</TR>\n" + CHIUSURA);
    EXPECT_EQ(e.stato, 0);
}

TEST(Tabelle, NoMatchesGiveAnEmptySpreadsheetAndAPageWithTheHeadingOnly) {
    const auto e =
        esegui({.file = {{"originale.txt", ORIGINALE}}, .input = "x\nCervi\ny\nh\n\nn\n"});
    EXPECT_EQ(e.out, riepilogo("0", "calendario.xls") + riepilogo("0", "calendario.html"));
    EXPECT_EQ(e.file,
              (std::map<std::string, std::string>{{"originale.txt", ORIGINALE},
                                                  {"temp.txt", ""},
                                                  {"calendario.xls", ""},
                                                  {"calendario.html", APERTURA + CHIUSURA}}));
}

TEST(Tabelle, FailedPassLeavesTheEarlierTablesAsTheyWere) {
    const auto prima =
        esegui({.file = {{"originale.txt", ORIGINALE}}, .input = "x\nAquile\ny\nh\nAquile\nn\n"});
    ASSERT_EQ(prima.stato, 0);
    auto file = prima.file;
    file.erase("originale.txt");
    const auto e = esegui({.file = file, .input = "x\nLupi\ny\nh\nLupi\nn\n"});
    EXPECT_EQ(e.out, FORMATO + NOME + ANCORA + FORMATO + NOME + ANCORA);
    const std::string mancante =
        "Impossibile leggere il file originale.txt nella cartella " + e.cartella + ": non esiste\n";
    EXPECT_EQ(e.err, mancante + mancante);
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.file, file);
    EXPECT_EQ(file.at("calendario.xls"), "1\t5\t13/10\t18:00\tPalestrina\tTori-Aquile\n");
}

}  // namespace
}  // namespace prova
