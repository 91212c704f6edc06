#include "dialogo/dialogo.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "dialogo/messaggi.hpp"
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

}  // namespace
}  // namespace turnolista
