#include "dialogo/dialogo.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "dialogo/messaggi.hpp"
#include "dialogo/originale.hpp"
#include "sorgente_testo.hpp"

namespace turnolista {
namespace {

struct ConsoleDiProva {
    explicit ConsoleDiProva(std::string input) : in(std::move(input)) {}
    SorgenteTesto in;
    std::ostringstream out;
    std::ostringstream err;
    Console console{.in = in, .out = out, .err = err};
};

TEST(Congedo, WindowOpenedForTheRunStaysAfterAFailureUntilEnter) {
    struct Caso {
        bool finestra_propria;
        int stato;
        std::string out;
        std::size_t letti;
    };
    const std::vector<Caso> casi{
        {true, 1, "Premi Invio per chiudere la finestra.\n", 6},
        {true, 2, "Premi Invio per chiudere la finestra.\n", 6},
        {true, 0, "", 0},
        {false, 1, "", 0},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.stato);
        ConsoleDiProva prova("invio\naltro\n");
        prova.console.finestra_propria = caso.finestra_propria;
        EXPECT_EQ(congedo(prova.console, caso.stato), caso.stato);
        EXPECT_EQ(prova.out.str(), caso.out);
        EXPECT_GE(prova.in.letti(), caso.letti);
    }
    // The end of the input closes it too.
    ConsoleDiProva vuota("");
    vuota.console.finestra_propria = true;
    EXPECT_EQ(congedo(vuota.console, 1), 1);
}

TEST(Messaggi, EachStreamGetsTheCharacterSetOfItsOwnConsole) {
    ConsoleDiProva prova("");
    prova.console.utf8 = true;
    prova.console.utf8_err = false;
    scrivi_messaggio(prova.console, prova.console.out, "è");
    scrivi_messaggio(prova.console, prova.console.err, "è");
    EXPECT_EQ(prova.out.str(), "\xC3\xA8");
    EXPECT_EQ(prova.err.str(), "\xE8");
}

TEST(Originale, NameTheUserMayHaveMeantAndTheZipExplorerOpened) {
    const std::vector<std::pair<std::vector<std::string>, std::optional<std::string>>> cartelle{
        {{"calendario.txt", "Originale.TXT"}, "Originale.TXT"},
        {{"originale.csv", "originale (12).txt", "Originale.txt.txt"}, "Originale.txt.txt"},
        {{"originale.csv", "originale (12).txt"}, "originale (12).txt"},
        {{"ORIGINALE.CSV", "originale.txt.csv"}, "originale.txt.csv"},
        {{"originale ().txt", "originale (a).txt", "x-originale.txt.txt", "originale"}, {}},
    };
    for (const auto& [nomi, simile] : cartelle) {
        EXPECT_EQ(nome_simile(nomi), simile);
    }
    const std::vector<std::pair<std::string, std::optional<std::string>>> percorsi{
        {"C:\\Users\\Nicol\xC3\xB2\\AppData\\Local\\Temp\\Temp1_turnolista-1.0.0-win64.zip\\"
         "turnolista-1.0.0-win64",
         "turnolista-1.0.0-win64.zip"},
        {"/tmp/TEMP23_lega.ZIP", "lega.ZIP"},
        {"C:\\Temp\\TempA_lega.zip", {}},
        {"C:\\Users\\x\\Documents\\Temp1_lega", {}},
    };
    for (const auto& [percorso, zip] : percorsi) {
        EXPECT_EQ(zip_aperto(percorso), zip) << percorso;
    }
}

}  // namespace
}  // namespace turnolista
