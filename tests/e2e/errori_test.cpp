#include <gtest/gtest.h>

#include <sstream>

#include "esecuzione.hpp"

namespace prova {
namespace {

const std::string ORIGINALE =
    "1 13/09 10:30 Oratorio Falchi-Lupi\n"
    "Giornata 1: Riposa Lupi\n";

const std::string RIEPILOGO_TXT = PRESENTE + "2" + ESEGUITO + COMPLIMENTI + "calendario.txt\n";
const std::string TESTO_TXT = "1 13/09 10:30 Oratorio Falchi-Lupi\n\nGiornata 1: Riposa Lupi\n\n";

TEST(Errori, MissingFixtureFileIsReportedAndEarlierFilesStay) {
    const std::map<std::string, std::string> prima{{"calendario.txt", "vecchio\n"},
                                                   {"temp.txt", "vecchio temp\n"}};
    for (const std::string lettera : {"t", "x"}) {
        const auto e = esegui({.file = prima, .input = lettera + "\nLupi\nn\n"});
        EXPECT_EQ(e.out, FORMATO + NOME + ANCORA);
        EXPECT_EQ(e.err, "Impossibile leggere il file originale.txt: non esiste\n");
        EXPECT_EQ(e.stato, 1);
        EXPECT_EQ(e.file, prima);
    }
}

TEST(Errori, FixtureListSavedWithTwoExtensionsIsPointedOut) {
    // As Notepad saves "originale.txt" where Explorer hides the extension.
    for (const std::string doppio : {"originale.txt.txt", "Originale.txt.txt"}) {
        SCOPED_TRACE(doppio);
        const auto e = esegui({.file = {{doppio, ORIGINALE}}, .input = "t\nLupi\nn\n"});
        EXPECT_EQ(e.out, FORMATO + NOME + ANCORA);
        EXPECT_EQ(e.err, "Impossibile leggere il file originale.txt: non c'\xE8, ma c'\xE8 " +
                             doppio +
                             " (Esplora file non mostra l'estensione .txt): rinominalo in "
                             "originale.txt\n");
        EXPECT_EQ(e.stato, 1);
        EXPECT_EQ(e.file, (std::map<std::string, std::string>{{doppio, ORIGINALE}}));
    }
}

TEST(Errori, FixtureThatCannotBeReadIsAFailureNotZeroMatches) {
    const auto e = esegui({.file = {{"calendario.txt", "vecchio\n"}},
                           .cartelle = {"originale.txt"},
                           .input = "t\nLupi\nn\n"});
    EXPECT_EQ(e.out, FORMATO + NOME + ANCORA);
    EXPECT_EQ(e.err, "Impossibile leggere il file originale.txt: \xE8 una cartella\n");
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.file, (std::map<std::string, std::string>{{"calendario.txt", "vecchio\n"},
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

TEST(Errori, TemporaryFilesOfRunsThatNoLongerExistAreRemoved) {
    // The id of a process that cannot exist, and this test's own, which is running; in
    // hexadecimal, as the program writes them.
    const std::string morto = ".calendario.txt.7fffffff";
    std::ostringstream vivo_esadecimale;
    vivo_esadecimale << ".calendario.txt." << std::hex << questo_processo() << "-3";
    const std::string vivo = vivo_esadecimale.str();
    const auto e = esegui({.file = {{"originale.txt", ORIGINALE},
                                    {morto, "mezzo\n"},
                                    {morto + "~", "mezzo\n"},
                                    {vivo, "in corso\n"}},
                           .input = "t\nLupi\nn\n"});
    EXPECT_EQ(e.out, FORMATO + NOME + RIEPILOGO_TXT + ANCORA);
    EXPECT_EQ(e.file, (std::map<std::string, std::string>{{"originale.txt", ORIGINALE},
                                                          {"calendario.txt", TESTO_TXT},
                                                          {vivo, "in corso\n"}}));
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
