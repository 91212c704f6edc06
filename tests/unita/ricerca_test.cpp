#include "ricerca/ricerca.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace turnolista {
namespace {

struct Risultato {
    EsitoRicerca esito;
    std::string uscita;
};

Risultato cerca_in(const std::string& originale, std::string_view nome, bool riga_vuota_dopo) {
    std::istringstream in(originale);
    std::ostringstream out;
    Risultato r{cerca(in, nome, out, riga_vuota_dopo), {}};
    r.uscita = out.str();
    return r;
}

constexpr const char* CALENDARIO =
    "1 13/09 10:30 Oratorio Falchi-Lupi\n"
    "2 13/09 15:00 Parrocchiale Aquile-Orsi\n"
    "Giornata 1: Riposa Lupi\n"
    "3 20/09 15:30 Comunale Lupi-Orsi\n";

TEST(Ricerca, CopiesMatchingLinesInOrderWithEmptyLineForTextFormats) {
    const auto r = cerca_in(CALENDARIO, "Lupi", true);
    EXPECT_EQ(r.esito.esito, Esito::ok);
    EXPECT_EQ(r.esito.RIGHE, 3);
    EXPECT_FALSE(r.esito.troncato);
    EXPECT_EQ(r.uscita,
              "1 13/09 10:30 Oratorio Falchi-Lupi\n\n"
              "Giornata 1: Riposa Lupi\n\n"
              "3 20/09 15:30 Comunale Lupi-Orsi\n\n");
}

TEST(Ricerca, TableFormatsGetTheBareLines) {
    const auto r = cerca_in(CALENDARIO, "Orsi", false);
    EXPECT_EQ(r.esito.RIGHE, 2);
    EXPECT_EQ(r.uscita,
              "2 13/09 15:00 Parrocchiale Aquile-Orsi\n"
              "3 20/09 15:30 Comunale Lupi-Orsi\n");
}

TEST(Ricerca, MatchIsExactBytes) {
    EXPECT_TRUE(contiene("Lupi-Orsi", "Lupi"));
    EXPECT_TRUE(contiene("Lupi-Orsi", "i-O"));
    EXPECT_FALSE(contiene("Lupi-Orsi", "lupi"));
    EXPECT_FALSE(contiene("Lupi-Orsi", "Orsi "));
    EXPECT_TRUE(contiene("Riposa Orsi ", "Orsi "));
    EXPECT_FALSE(contiene("Lupi", "Lupi-Orsi"));
    EXPECT_FALSE(contiene("Lupi", ""));
    EXPECT_TRUE(contiene("Citt\xe0 Alta", "Citt\xe0"));
}

TEST(Ricerca, LineWithNameTwiceIsCopiedOnce) {
    const auto r = cerca_in("Lupi-Lupi amichevole\n", "Lupi", false);
    EXPECT_EQ(r.esito.RIGHE, 1);
    EXPECT_EQ(r.uscita, "Lupi-Lupi amichevole\n");
}

TEST(Ricerca, EmptyNameMatchesNothing) {
    const auto r = cerca_in(CALENDARIO, "", true);
    EXPECT_EQ(r.esito.RIGHE, 0);
    EXPECT_EQ(r.uscita, "");
}

TEST(Ricerca, LastLineWithoutNewlineIsWrittenWithOne) {
    const auto r = cerca_in("1 Lupi-Orsi\n2 Orsi-Lupi", "Lupi", false);
    EXPECT_EQ(r.esito.RIGHE, 2);
    EXPECT_EQ(r.uscita, "1 Lupi-Orsi\n2 Orsi-Lupi\n");
}

TEST(Ricerca, OnlyTheFirst120LinesAreSearched) {
    std::string originale;
    for (int i = 1; i <= 121; ++i) {
        originale += std::to_string(i) + " Lupi\n";
    }
    const auto r = cerca_in(originale, "Lupi", false);
    EXPECT_EQ(r.esito.RIGHE, 120);
    EXPECT_TRUE(r.esito.troncato);
    EXPECT_TRUE(r.uscita.ends_with("\n120 Lupi\n"));
    EXPECT_EQ(r.uscita.find("121"), std::string::npos);

    originale.resize(originale.size() - std::string("121 Lupi\n").size());
    const auto esatte = cerca_in(originale, "Lupi", false);
    EXPECT_EQ(esatte.esito.RIGHE, 120);
    EXPECT_FALSE(esatte.esito.troncato);
}

TEST(Ricerca, NameFarIntoALongLineIsFound) {
    const std::string lunga = std::string(250'000, 'a') + " Lupi " + std::string(1000, 'b');
    const auto r = cerca_in("breve\n" + lunga + "\naltro\n", "Lupi", false);
    EXPECT_EQ(r.esito.RIGHE, 1);
    EXPECT_EQ(r.uscita, lunga + "\n");
}

TEST(Ricerca, FailedWriteIsReported) {
    std::istringstream in(CALENDARIO);
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    EXPECT_EQ(cerca(in, "Lupi", out, true).esito, Esito::errore_scrittura);
}

}  // namespace
}  // namespace turnolista
