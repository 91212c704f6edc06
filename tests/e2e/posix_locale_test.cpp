// POSIX only: the console's character set comes from the locale (LC_ALL)
//
// The messages and the length of a name follow the console's character set.

#include <gtest/gtest.h>

#include "esecuzione.hpp"

namespace prova {
namespace {

std::string riepilogo(const std::string& righe, const std::string& file) {
    return PRESENTE + righe + ESEGUITO + COMPLIMENTI + file + "\n";
}

TEST(Dialogo, NameLengthCountsCharactersOnAUtf8Console) {
    // 19 characters in 21 bytes; then 20 characters, and 19 bytes of which one is not UTF-8.
    const std::string societa = "Societ\xC3\xA0 Sportiv\xC3\xA0 Xy";
    const std::string originale = "1 " + societa + "-Lupi\n2 Lupi-Orsi\n";
    const auto utf8 = esegui({.file = {{"originale.txt", originale}},
                              .input = "t\n" + societa + "z\n" + societa + "\nn\n",
                              .ambiente = {"LC_ALL=C.UTF-8"}});
    EXPECT_EQ(utf8.out, FORMATO + NOME + TROPPO_LUNGO + NOME +
                            "\nL'espressione cercata \xC3\xA8 presente in 1" + ESEGUITO +
                            COMPLIMENTI + "calendario.txt\n" + ANCORA);
    // A list that is UTF-8 by its bytes gives a calendar that says so.
    EXPECT_EQ(utf8.file.at("calendario.txt"),
              "\xEF\xBB\xBF"
              "1 " +
                  societa + "-Lupi\n\n");

    const auto non_utf8 = esegui({.file = {{"originale.txt", "1 Societ\xE0 Sportive X-Lupi\n"}},
                                  .input = "t\nSociet\xE0 Sportive X\nn\n",
                                  .ambiente = {"LC_ALL=C.UTF-8"}});
    EXPECT_EQ(non_utf8.file.at("calendario.txt"), "1 Societ\xE0 Sportive X-Lupi\n\n");

    // On any console the characters of the name count, not its bytes.
    const auto c =
        esegui({.file = {{"originale.txt", originale}}, .input = "t\n" + societa + "\nn\n"});
    EXPECT_EQ(c.out, FORMATO + NOME + riepilogo("1", "calendario.txt") + ANCORA);
}

TEST(Dialogo, AccentedLettersFollowTheConsoleCharacterSet) {
    const auto e = esegui({.file = {{"originale.txt", "1 citt\xC3\xA0-Lupi\n"}},
                           .input = "t\nCitt\xC3\xA0\nn\n",
                           .ambiente = {"LC_ALL=C.UTF-8"}});
    EXPECT_EQ(e.out, FORMATO + NOME + "\nL'espressione cercata \xC3\xA8 presente in 1" + ESEGUITO +
                         COMPLIMENTI + "calendario.txt\n" + ANCORA);
    EXPECT_EQ(e.err,
              "Nessuna riga contiene \xC2\xAB"
              "Citt\xC3\xA0\xC2\xBB scritto cos\xC3\xAC: uso le 1 riga con \xC2\xAB"
              "citt\xC3\xA0\xC2\xBB, che cambia solo per le lettere maiuscole e minuscole\n");
}

TEST(Dialogo, LocaleThatNamesUtf8MakesAUtf8ConsoleEvenWhereItIsNotInstalled) {
    struct Caso {
        std::vector<std::string> ambiente;
        std::string e;
    };
    const std::vector<Caso> casi{
        {{"LANG=it_IT.UTF-8"}, "\xC3\xA8"},
        {{"LC_CTYPE=it_IT.utf8", "LANG=C"}, "\xC3\xA8"},
        {{"LC_ALL=C", "LANG=it_IT.UTF-8"}, "\xE8"},
        {{"LANG=it_IT.ISO-8859-1"}, "\xE8"},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.ambiente.front());
        const auto e = esegui({.file = {{"originale.txt", "1 Lupi\n"}},
                               .input = "t\nLupi\nn\n",
                               .ambiente = caso.ambiente});
        EXPECT_EQ(e.out, FORMATO + NOME + "\nL'espressione cercata " + caso.e + " presente in 1" +
                             ESEGUITO + COMPLIMENTI + "calendario.txt\n" + ANCORA);
    }
}

TEST(RigaDiComando, Utf8LetterStaysAndC1ControlIsEscapedOnAUtf8Console) {
    const auto utf8 =
        esegui({.ambiente = {"LC_ALL=C.UTF-8"}, .argomenti = {"citt\xC3\xA0\xC2\x9B\xE8"}});
    EXPECT_EQ(utf8.err,
              "turnolista: opzione non riconosciuta: citt\xC3\xA0\\302\\233\xE8\n"
              "Per l'aiuto: turnolista --help\n");
}

TEST(RigaDiComando, HelpShowsItsAccentedLetterOnAUtf8Console) {
    const auto utf8 = esegui({.ambiente = {"LC_ALL=C.UTF-8"}, .argomenti = {"-h"}});
    EXPECT_NE(utf8.out.find("non \xC3\xA8 riuscita"), std::string::npos);
}

}  // namespace
}  // namespace prova
