#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "esecuzione.hpp"

namespace prova {
namespace {

const std::string ORIGINALE =
    "1 13/09 10:30 Oratorio Falchi-Lupi\n"
    "Giornata 1: Riposa Lupi\n";

const std::string RIEPILOGO_TXT = PRESENTE + "2" + ESEGUITO + COMPLIMENTI + "calendario.txt\n";

TEST(Errori, MissingFixtureFileIsReportedAndEarlierFilesStay) {
    const std::map<std::string, std::string> prima{{"calendario.txt", "vecchio\n"},
                                                   {"temp.txt", "vecchio temp\n"}};
    for (const std::string lettera : {"t", "x"}) {
        const auto e = esegui({.file = prima, .input = lettera + "\nLupi\nn\n"});
        EXPECT_EQ(e.out, FORMATO + NOME + ANCORA);
        EXPECT_EQ(e.err, "Impossibile leggere il file originale.txt: No such file or directory\n");
        EXPECT_EQ(e.stato, 1);
        EXPECT_EQ(e.file, prima);
    }
}

TEST(Errori, FixtureThatCannotBeReadIsAFailureNotZeroMatches) {
    const auto e = esegui({.file = {{"calendario.txt", "vecchio\n"}},
                           .cartelle = {"originale.txt"},
                           .input = "t\nLupi\nn\n"});
    EXPECT_EQ(e.out, FORMATO + NOME + ANCORA);
    EXPECT_EQ(e.err, "Impossibile leggere il file originale.txt: Is a directory\n");
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
        EXPECT_EQ(e.err, "Impossibile scrivere il file " + caso.cartella + ": Is a directory\n");
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
    EXPECT_EQ(e.err, "Impossibile scrivere il file calendario.doc: Is a directory\n");
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.file.at("calendario.txt"),
              "1 13/09 10:30 Oratorio Falchi-Lupi\n\nGiornata 1: Riposa Lupi\n\n");
}

TEST(Errori, WarningAboutMoreThan120LinesComesEvenWhenThePassFails) {
    std::string originale;
    for (int i = 1; i <= 121; ++i) {
        originale += std::to_string(i) + " 05/10 15:30 Comunale Lupi-Falchi\n";
    }
    // The calendar is larger than the file size limit, the console's texts are not; with
    // SIGXFSZ ignored the write fails with EFBIG when the file is completed.
    const auto e = esegui({.file = {{"originale.txt", originale}},
                           .input = "t\nLupi\nn\n",
                           .segnali_ignorati = {SIGXFSZ},
                           .limite_file = 2000});
    EXPECT_EQ(e.out, FORMATO + NOME + ANCORA);
    EXPECT_EQ(e.err,
              "Attenzione: il file originale.txt contiene pi\xF9 di 120 righe; sono state "
              "esaminate solo le prime 120\n"
              "Impossibile scrivere il file calendario.txt: File too large\n");
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.file, (std::map<std::string, std::string>{{"originale.txt", originale}}));
}

TEST(Errori, ReplacedFilesKeepTheirPermissionsAndNewOnesFollowTheUmask) {
    const auto nuovi = esegui({.file = {{"originale.txt", ORIGINALE}}, .input = "x\nLupi\nn\n"});
    EXPECT_EQ(nuovi.permessi.at("temp.txt"), 0644U);
    EXPECT_EQ(nuovi.permessi.at("calendario.xls"), 0644U);

    const auto vecchi =
        esegui({.file = {{"originale.txt", ORIGINALE}, {"calendario.xls", "vecchio\n"}},
                .permessi = {{"calendario.xls", 0600U}},
                .input = "x\nLupi\nn\n"});
    EXPECT_EQ(vecchi.file.at("calendario.xls"),
              "1\t1\t13/09\t10:30\tOratorio\tFalchi-Lupi\n2\t\t\t\t\tRiposa Lupi\n");
    EXPECT_EQ(vecchi.permessi.at("calendario.xls"), 0600U);
    EXPECT_EQ(vecchi.permessi.at("temp.txt"), 0644U);
}

bool temporaneo_presente(const std::filesystem::path& cartella) {
    for (const auto& voce : std::filesystem::directory_iterator(cartella)) {
        if (voce.path().filename().string().starts_with(".calendario.txt.")) {
            return true;
        }
    }
    return false;
}

TEST(Errori, InterruptedPassLeavesEarlierFilesAndNoTemporaryFile) {
    // The fixture list is a pipe that stops half-way, so the program is caught while it
    // is writing calendario.txt.
    const auto e = esegui(
        {.file = {{"calendario.txt", "vecchio\n"}},
         .input = "t\nLupi\nn\n",
         .fifo = {"originale.txt"},
         .durante = [](pid_t programma, const std::filesystem::path& cartella) {
             const int pipe = ::open((cartella / "originale.txt").c_str(), O_WRONLY);
             ASSERT_GE(pipe, 0);
             const std::string riga = "1 13/09 10:30 Oratorio Falchi-Lupi\n";
             ASSERT_EQ(::write(pipe, riga.data(), riga.size()), static_cast<ssize_t>(riga.size()));
             for (int i = 0; i < 500 && !temporaneo_presente(cartella); ++i) {
                 std::this_thread::sleep_for(std::chrono::milliseconds(10));
             }
             EXPECT_TRUE(temporaneo_presente(cartella));
             ::kill(programma, SIGINT);
             ::close(pipe);
         }});
    EXPECT_EQ(e.stato, 128 + SIGINT);
    EXPECT_EQ(e.out, FORMATO + NOME);
    EXPECT_EQ(e.file, (std::map<std::string, std::string>{{"calendario.txt", "vecchio\n"},
                                                          {"originale.txt|", ""}}));
}

}  // namespace
}  // namespace prova
