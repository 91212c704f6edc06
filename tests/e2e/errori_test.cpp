#include <gtest/gtest.h>

#include <sstream>

#include "esecuzione.hpp"

namespace prova {
namespace {

const std::string RIEPILOGO_TXT = PRESENTE + "2" + ESEGUITO + COMPLIMENTI + "calendario.txt\n";

TEST(Errori, MissingFixtureFileIsReportedAndEarlierFilesStay) {
    const std::map<std::string, std::string> prima{{"calendario.txt", "vecchio\n"},
                                                   {"temp.txt", "vecchio temp\n"}};
    for (const std::string lettera : {"t", "x"}) {
        const auto e = esegui({.file = prima, .input = lettera + "\nLupi\nn\n"});
        EXPECT_EQ(e.out, FORMATO + NOME + ANCORA);
        EXPECT_EQ(e.err, "Impossibile leggere il file originale.txt nella cartella " + e.cartella +
                             ": non esiste\n");
        EXPECT_EQ(e.stato, 1);
        EXPECT_EQ(e.file, prima);
    }
}

TEST(Errori, ListMissingInsideAZipExplorerOpenedSaysToExtractIt) {
    // Explorer runs a program started from inside a zip in such a folder.
    const auto e = esegui({.parte_da = "Temp1_lega-2026.zip", .input = "t\nLupi\nn\n"});
    EXPECT_EQ(e.err, "Impossibile leggere il file originale.txt nella cartella " + e.cartella +
                         ": non esiste; questa cartella \xE8 dentro lo zip lega-2026.zip, che non "
                         "\xE8 stato estratto: estrai lo zip (tasto destro sullo zip, Estrai "
                         "tutto...) e avvia turnolista dalla cartella estratta\n");
    EXPECT_EQ(e.stato, 1);
}

TEST(Errori, FixtureListUnderANameLikeItIsPointedOutWithHowToRenameIt) {
    // As Notepad saves "originale.txt" where Explorer hides the extension, as a second
    // download names it, as Excel saves it.
    const std::string txt =
        " (in Esplora file, se le estensioni non si vedono, scrivi solo originale)";
    const std::string csv =
        " (in Esplora file, se le estensioni non si vedono, falle vedere prima: Visualizza, "
        "Mostra, Estensioni nomi file)";
    for (const auto& [simile, consiglio] :
         std::vector<std::pair<std::string, std::string>>{{"originale.txt.txt", txt},
                                                          {"Originale.txt.txt", txt},
                                                          {"originale (2).txt", txt},
                                                          {"originale (3).Txt", txt},
                                                          {"originale.txt.csv", csv},
                                                          {"originale.csv", csv}}) {
        SCOPED_TRACE(simile);
        const auto e = esegui({.file = {{simile, ORIGINALE}}, .input = "t\nLupi\nn\n"});
        EXPECT_EQ(e.out, FORMATO + NOME + ANCORA);
        EXPECT_EQ(e.err, "Impossibile leggere il file originale.txt nella cartella " + e.cartella +
                             ": non c'\xE8, ma c'\xE8 " + simile + ": rinominalo in originale.txt" +
                             consiglio + "\n");
        EXPECT_EQ(e.stato, 1);
        EXPECT_EQ(e.file, (std::map<std::string, std::string>{{simile, ORIGINALE}}));
    }
}

TEST(Errori, FixtureThatCannotBeReadIsAFailureNotZeroMatches) {
    // A list beside it under a name like it is not pointed out: the folder is the reason.
    const auto e = esegui({.file = {{"calendario.txt", "vecchio\n"}, {"originale.csv", ORIGINALE}},
                           .cartelle = {"originale.txt"},
                           .input = "t\nLupi\nn\n"});
    EXPECT_EQ(e.out, FORMATO + NOME + ANCORA);
    EXPECT_EQ(e.err, "Impossibile leggere il file originale.txt nella cartella " + e.cartella +
                         ": \xE8 una cartella\n");
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.file, (std::map<std::string, std::string>{{"calendario.txt", "vecchio\n"},
                                                          {"originale.csv", ORIGINALE},
                                                          {"originale.txt/", ""}}));
}

TEST(Errori, OutputThatCannotBeReplacedIsReportedAndNoTemporaryFileStays) {
    struct Caso {
        std::string lettera;
        std::string cartella;
        std::map<std::string, std::string> prima;
    };
    const std::vector<Caso> casi{
        {"t", "calendario.txt", {}},
        {"x", "temp.txt", {{"calendario.xls", "vecchio xls\n"}}},
        {"x", "calendario.xls", {{"temp.txt", "vecchio temp\n"}}},
        {"h", "calendario.html", {{"temp.txt", "vecchio temp\n"}}},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.cartella);
        auto file = caso.prima;
        file["originale.txt"] = ORIGINALE;
        const auto e = esegui(
            {.file = file, .cartelle = {caso.cartella}, .input = caso.lettera + "\nLupi\nn\n"});
        EXPECT_EQ(e.out, FORMATO + NOME + ANCORA);
        EXPECT_EQ(e.err, "Impossibile scrivere il file " + caso.cartella + ": \xE8 una cartella\n");
        EXPECT_EQ(e.stato, 1);
        file[caso.cartella + "/"] = "";
        EXPECT_EQ(e.file, file);
    }
}

TEST(Errori, OneFailedPassMakesTheExitStatusOne) {
    const auto e = esegui({.file = {{"originale.txt", ORIGINALE}},
                           .cartelle = {"calendario.doc"},
                           .input = "w\nLupi\ny\nt\nLupi\nn\n"});
    EXPECT_EQ(e.out, FORMATO + NOME + ANCORA + FORMATO + NOME + RIEPILOGO_TXT + ANCORA);
    EXPECT_EQ(e.err, "Impossibile scrivere il file calendario.doc: \xE8 una cartella\n");
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.file.at("calendario.txt"),
              "1 13/09 10:30 Oratorio Falchi-Lupi\n\nGiornata 1: Riposa Lupi\n\n");
}

TEST(Errori, OnlyTheFilesThisRunMadeAreEverRemoved) {
    // The user's own files, and one left by a run of a process that cannot exist: names
    // like those the program writes under, which are not this run's.
    const std::map<std::string, std::string> altrui{{".calendario.txt.2024", "2024\n"},
                                                    {".calendario.txt.dead", "dead\n"},
                                                    {".calendario.txt.7fffffff", "mezzo\n"},
                                                    {".calendario.txt~", "copia\n"}};
    Avvio avvio{.file = altrui, .input = "t\nLupi\nn\n"};
    avvio.file["originale.txt"] = ORIGINALE;
    const auto e = esegui(avvio);
    EXPECT_EQ(e.out, FORMATO + NOME + RIEPILOGO_TXT + ANCORA);
    auto attesi = avvio.file;
    attesi["calendario.txt"] = LUPI_TESTO;
    EXPECT_EQ(e.file, attesi);
}

TEST(Flussi, ClosedStandardStreamsAreReportedWithStatusOne) {
    const std::map<std::string, std::string> prima{{"originale.txt", "1 Lupi-Orsi\n"},
                                                   {"calendario.txt", "vecchio\n"}};
    const auto chiuso = esegui({.file = prima, .senza_input = true});
    EXPECT_EQ(chiuso.out, FORMATO);
    EXPECT_EQ(chiuso.err, "Impossibile leggere lo standard input: non \xE8 aperto\n");
    EXPECT_EQ(chiuso.stato, 1);
    EXPECT_EQ(chiuso.file, prima);

    // With standard output closed no file may take its place and receive the messages.
    const auto senza = esegui({.file = prima, .input = "t\nLupi\nn\n", .senza_output = true});
    EXPECT_EQ(senza.err, "Impossibile scrivere sullo standard output: non \xE8 aperto\n");
    EXPECT_EQ(senza.stato, 1);
    EXPECT_EQ(senza.file, prima);
}

}  // namespace
}  // namespace prova
