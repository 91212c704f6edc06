#include <gtest/gtest.h>

#include "esecuzione.hpp"
#include "esecuzione_sistema.hpp"

namespace prova {
namespace {

const std::string ORIGINALE =
    "1 13/09 10:30 Oratorio Falchi-Lupi\n"
    "2 13/09 15:00 Parrocchiale Aquile-Orsi\n"
    "Giornata 1: Riposa Volpi\n"
    "3 20/09 15:30 Comunale Lupi-Volpi\n"
    "4 20/09 10:00 Boschetto Lupi B-Orsi\n"
    "Giornata 2: Riposa Lupi\n";

const std::string LUPI_TESTO =
    "1 13/09 10:30 Oratorio Falchi-Lupi\n\n"
    "3 20/09 15:30 Comunale Lupi-Volpi\n\n"
    "4 20/09 10:00 Boschetto Lupi B-Orsi\n\n"
    "Giornata 2: Riposa Lupi\n\n";

const std::string LUPI_RIGHE =
    "1 13/09 10:30 Oratorio Falchi-Lupi\n"
    "3 20/09 15:30 Comunale Lupi-Volpi\n"
    "4 20/09 10:00 Boschetto Lupi B-Orsi\n"
    "Giornata 2: Riposa Lupi\n";

std::string riepilogo(const std::string& righe, const std::string& file) {
    return PRESENTE + righe + ESEGUITO + COMPLIMENTI + file + "\n";
}

TEST(Dialogo, TextPassWritesEveryMatchFollowedByAnEmptyLine) {
    const auto e = esegui({.file = {{"originale.txt", ORIGINALE}}, .input = "t\nLupi\nn\n"});
    EXPECT_EQ(e.out, FORMATO + NOME + riepilogo("4", "calendario.txt") + ANCORA);
    EXPECT_EQ(e.err, "");
    EXPECT_EQ(e.stato, 0);
    EXPECT_EQ(e.file, (std::map<std::string, std::string>{{"originale.txt", ORIGINALE},
                                                          {"calendario.txt", LUPI_TESTO}}));
}

TEST(Dialogo, EveryFormatLetterInEitherCaseWritesItsFile) {
    struct Caso {
        std::string lettera;
        std::map<std::string, std::string> scritti;
    };
    const std::string xls =
        "1\t1\t13/09\t10:30\tOratorio\tFalchi-Lupi\n"
        "2\t3\t20/09\t15:30\tComunale\tLupi-Volpi\n"
        "3\t4\t20/09\t10:00\tBoschetto\tLupi B-Orsi\n"
        "4\t\t\t\t\tRiposa Lupi\n";
    const std::vector<Caso> casi{
        {"t", {{"calendario.txt", LUPI_TESTO}}},
        {"T", {{"calendario.txt", LUPI_TESTO}}},
        {"w", {{"calendario.doc", LUPI_TESTO}}},
        {"W", {{"calendario.doc", LUPI_TESTO}}},
        {"x", {{"calendario.xls", xls}, {"temp.txt", LUPI_RIGHE}}},
        {"X", {{"calendario.xls", xls}, {"temp.txt", LUPI_RIGHE}}},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.lettera);
        const auto e =
            esegui({.file = {{"originale.txt", ORIGINALE}}, .input = caso.lettera + "\nLupi\nn\n"});
        const std::string file = caso.scritti.begin()->first;
        EXPECT_EQ(e.out, FORMATO + NOME + riepilogo("4", file) + ANCORA);
        auto attesi = caso.scritti;
        attesi["originale.txt"] = ORIGINALE;
        EXPECT_EQ(e.file, attesi);
        EXPECT_EQ(e.stato, 0);
    }
    for (const std::string lettera : {"h", "H"}) {
        const auto e =
            esegui({.file = {{"originale.txt", ORIGINALE}}, .input = lettera + "\nLupi\nn\n"});
        EXPECT_EQ(e.out, FORMATO + NOME + riepilogo("4", "calendario.html") + ANCORA);
        EXPECT_EQ(e.file.at("temp.txt"), LUPI_RIGHE);
        EXPECT_TRUE(e.file.contains("calendario.html"));
    }
}

TEST(Dialogo, RefusedLettersAskAgain) {
    const auto e =
        esegui({.file = {{"originale.txt", ORIGINALE}}, .input = "q\n\n\r\n t\nwx\nLupi\nn\n"});
    EXPECT_EQ(e.out, FORMATO + NON_CORRETTO + FORMATO + NON_CORRETTO + FORMATO + NON_CORRETTO +
                         FORMATO + NON_CORRETTO + FORMATO + NOME +
                         riepilogo("4", "calendario.doc") + ANCORA);
    EXPECT_EQ(e.file.at("calendario.doc"), LUPI_TESTO);
}

TEST(Dialogo, AnswersAreWholeLinesAndCarriageReturnsAreDropped) {
    // "tx" chooses t; the x must not leak into the name. Each answer ends in CR LF once, as
    // a Windows console gives it: where the harness already stores text so, the LF is enough.
    const std::string input = sistema::testo_crlf() ? "tx\nLupi\nno\n" : "tx\r\nLupi\r\nno\r\n";
    const auto e = esegui({.file = {{"originale.txt", ORIGINALE}}, .input = input});
    EXPECT_EQ(e.out, FORMATO + NOME + riepilogo("4", "calendario.txt") + ANCORA);
    EXPECT_EQ(e.file.at("calendario.txt"), LUPI_TESTO);
}

TEST(Dialogo, SeveralPassesOverwriteTheSameFormatAndKeepTheOthers) {
    const auto e = esegui({.file = {{"originale.txt", ORIGINALE}},
                           .input = "t\nLupi\ny\nw\nVolpi\nYes\nt\nAquile\nn\n"});
    EXPECT_EQ(e.out, FORMATO + NOME + riepilogo("4", "calendario.txt") + ANCORA + FORMATO + NOME +
                         riepilogo("2", "calendario.doc") + ANCORA + FORMATO + NOME +
                         riepilogo("1", "calendario.txt") + ANCORA);
    EXPECT_EQ(e.file, (std::map<std::string, std::string>{
                          {"originale.txt", ORIGINALE},
                          {"calendario.txt", "2 13/09 15:00 Parrocchiale Aquile-Orsi\n\n"},
                          {"calendario.doc",
                           "Giornata 1: Riposa Volpi\n\n3 20/09 15:30 Comunale Lupi-Volpi\n\n"}}));
    EXPECT_EQ(e.stato, 0);
}

TEST(Dialogo, NameIsMatchedAsTypedOrElseByItsLetters) {
    struct Caso {
        std::string nome;
        std::string righe;
        std::string testo;
        std::string originale = ORIGINALE;
    };
    const std::vector<Caso> casi{
        {"", "0", ""},
        // In no line as typed: the lines that hold it in other capitals.
        {"lupi", "4",
         "1 13/09 10:30 Oratorio Falchi-Lupi\n\n3 20/09 15:30 Comunale Lupi-Volpi\n\n"
         "4 20/09 10:00 Boschetto Lupi B-Orsi\n\nGiornata 2: Riposa Lupi\n\n"},
        {"Lupi ", "1", "4 20/09 10:00 Boschetto Lupi B-Orsi\n\n"},
        {"Lupi-Volpi", "1", "3 20/09 15:30 Comunale Lupi-Volpi\n\n"},
        {"20/09 1", "2",
         "3 20/09 15:30 Comunale Lupi-Volpi\n\n4 20/09 10:00 Boschetto Lupi B-Orsi\n\n"},
        // A keyboard's ' and - find what a word processor writes (a UTF-8 list: UTF-8 files).
        {"Sant'Anna-Lupi", "1",
         "\xEF\xBB\xBF"
         "1 13/09 Sant\u2019Anna\u2013Lupi\n\n",
         "1 13/09 Sant\u2019Anna\u2013Lupi\n2 20/09 Sant'Anna B-Orsi\n"},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE("[" + caso.nome + "]");
        const auto e = esegui(
            {.file = {{"originale.txt", caso.originale}}, .input = "t\n" + caso.nome + "\nn\n"});
        EXPECT_EQ(e.out, FORMATO + NOME + riepilogo(caso.righe, "calendario.txt") + ANCORA);
        EXPECT_EQ(e.file.at("calendario.txt"), caso.testo);
    }
}

TEST(Dialogo, NameOfMoreThan19CharactersIsAskedAgain) {
    const auto e = esegui({.file = {{"originale.txt", ORIGINALE + "9 Polisportiva Lupett-Orsi\n"}},
                           .input = "t\nPolisportiva Lupetti\nPolisportiva Lupetti Calcio\r\n"
                                    "Polisportiva Lupett\nn\n"});
    EXPECT_EQ(e.out, FORMATO + NOME + TROPPO_LUNGO + NOME + TROPPO_LUNGO + NOME +
                         riepilogo("1", "calendario.txt") + ANCORA);
    EXPECT_EQ(e.file.at("calendario.txt"), "9 Polisportiva Lupett-Orsi\n\n");
}

TEST(Dialogo, EndOfInputEndsTheRunWithoutTouchingFiles) {
    const std::map<std::string, std::string> prima{{"originale.txt", ORIGINALE},
                                                   {"calendario.txt", "vecchio\n"}};
    struct Caso {
        std::string input;
        std::string out;
    };
    const std::vector<Caso> casi{
        {"", FORMATO},
        {"q\n", FORMATO + NON_CORRETTO + FORMATO},
        {"t\n", FORMATO + NOME},
        {"t\nPolisportiva Lupetti\n", FORMATO + NOME + TROPPO_LUNGO + NOME},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.input);
        const auto e = esegui({.file = prima, .input = caso.input});
        EXPECT_EQ(e.out, caso.out);
        EXPECT_EQ(e.err, "");
        EXPECT_EQ(e.stato, 0);
        EXPECT_EQ(e.file, prima);
    }
}

TEST(Dialogo, LastTypedLineWithoutNewlineStillCounts) {
    const auto e = esegui({.file = {{"originale.txt", ORIGINALE}}, .input = "t\nLupi"});
    EXPECT_EQ(e.out, FORMATO + NOME + riepilogo("4", "calendario.txt") + ANCORA);
    EXPECT_EQ(e.file.at("calendario.txt"), LUPI_TESTO);
    EXPECT_EQ(e.stato, 0);
}

TEST(Dialogo, EnterAloneAtTheRestartQuestionEndsTheRun) {
    const auto e =
        esegui({.file = {{"originale.txt", ORIGINALE}}, .input = "t\nLupi\n\nw\nOrsi\nn\n"});
    EXPECT_EQ(e.out, FORMATO + NOME + riepilogo("4", "calendario.txt") + ANCORA);
    EXPECT_FALSE(e.file.contains("calendario.doc"));
    EXPECT_EQ(e.stato, 0);
}

TEST(Dialogo, EndOfFixtureFileIsNotReadTwice) {
    const auto e = esegui(
        {.file = {{"originale.txt", "1 Lupi-Orsi\n\n2 Orsi-Lupi"}}, .input = "t\nLupi\nn\n"});
    EXPECT_EQ(e.out, FORMATO + NOME + riepilogo("2", "calendario.txt") + ANCORA);
    EXPECT_EQ(e.file.at("calendario.txt"), "1 Lupi-Orsi\n\n2 Orsi-Lupi\n\n");
}

TEST(Dialogo, EveryLineOfTheListIsSearched) {
    // A league of 16 teams has 240 match lines.
    std::string originale;
    for (int i = 1; i <= 250; ++i) {
        originale += std::to_string(i) + " Lupi\n";
    }
    const auto e = esegui({.file = {{"originale.txt", originale}}, .input = "x\nLupi\nn\n"});
    EXPECT_EQ(e.out, FORMATO + NOME + riepilogo("250", "calendario.xls") + ANCORA);
    EXPECT_EQ(e.err, "");
    EXPECT_EQ(e.file.at("temp.txt"), originale);
    EXPECT_TRUE(e.file.at("calendario.xls").ends_with("\n249\t249\tLupi\n250\t250\tLupi\n"));
    EXPECT_EQ(e.stato, 0);
}

TEST(Dialogo, LongLineCountsOnceAndIsCopiedWhole) {
    const std::string lunga = "7 04/10 15:30 Comunale " + std::string(300, 'z') + " Lupi-Orsi";
    const auto e =
        esegui({.file = {{"originale.txt", lunga + "\nLupi\n"}}, .input = "t\nOrsi\nn\n"});
    EXPECT_EQ(e.out, FORMATO + NOME + riepilogo("1", "calendario.txt") + ANCORA);
    EXPECT_EQ(e.file.at("calendario.txt"), lunga + "\n\n");
}

}  // namespace
}  // namespace prova
