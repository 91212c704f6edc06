#include "ricerca/ricerca.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "sorgente_testo.hpp"

namespace turnolista {
namespace {

struct Trovate {
    Conteggio esito;
    std::string uscita;
    int viste = 0;  // lines seen, matching or not
};

// Collects the lines handed on, each followed by a newline.
Trovate cerca_in(const std::string& originale, std::string_view nome) {
    SorgenteTesto in(originale);
    Trovate r;
    const auto esito = cerca(
        in, nome, [&](std::string_view riga) { r.uscita.append(riga).push_back('\n'); },
        Codifica::ascii, [&](std::string_view) { ++r.viste; });
    EXPECT_TRUE(esito);
    r.esito = esito ? *esito : Conteggio{};
    return r;
}

constexpr const char* CALENDARIO =
    "1 13/09 10:30 Oratorio Falchi-Lupi\n"
    "2 13/09 15:00 Parrocchiale Aquile-Orsi\n"
    "Giornata 1: Riposa Lupi\n"
    "3 20/09 15:30 Comunale Lupi-Orsi\n";

TEST(Ricerca, HandsOnMatchingLinesInOrder) {
    const auto r = cerca_in(CALENDARIO, "Lupi");
    EXPECT_EQ(r.esito.RIGHE, 3);
    EXPECT_EQ(r.viste, 4);
    EXPECT_EQ(r.uscita,
              "1 13/09 10:30 Oratorio Falchi-Lupi\n"
              "Giornata 1: Riposa Lupi\n"
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
    const auto r = cerca_in("Lupi-Lupi amichevole\n", "Lupi");
    EXPECT_EQ(r.esito.RIGHE, 1);
    EXPECT_EQ(r.uscita, "Lupi-Lupi amichevole\n");
}

TEST(Ricerca, EmptyNameMatchesNothing) {
    const auto r = cerca_in(CALENDARIO, "");
    EXPECT_EQ(r.esito.RIGHE, 0);
    EXPECT_EQ(r.uscita, "");
}

TEST(Ricerca, LastLineWithoutNewlineIsWrittenWithOne) {
    const auto r = cerca_in("1 Lupi-Orsi\n2 Orsi-Lupi", "Lupi");
    EXPECT_EQ(r.esito.RIGHE, 2);
    EXPECT_EQ(r.uscita, "1 Lupi-Orsi\n2 Orsi-Lupi\n");
}

TEST(Ricerca, EveryLineIsSearched) {
    // A league of 16 teams has 240 match lines.
    std::string originale;
    for (int i = 1; i <= 240; ++i) {
        originale += std::to_string(i) + (i % 2 == 0 ? " Lupi\n" : " Orsi\n");
    }
    const auto r = cerca_in(originale, "Lupi");
    EXPECT_EQ(r.esito.RIGHE, 120);
    EXPECT_EQ(r.viste, 240);
    EXPECT_TRUE(r.uscita.starts_with("2 Lupi\n4 Lupi\n"));
    EXPECT_TRUE(r.uscita.ends_with("\n238 Lupi\n240 Lupi\n"));
}

TEST(Ricerca, NameFarIntoALongLineIsFound) {
    const std::string lunga = std::string(250'000, 'a') + " Lupi " + std::string(1000, 'b');
    const auto r = cerca_in("breve\n" + lunga + "\naltro\n", "Lupi");
    EXPECT_EQ(r.esito.RIGHE, 1);
    EXPECT_EQ(r.uscita, lunga + "\n");
}

// The fixture list as a device that breaks after its first lines.
class OriginaleGuasto final : public Sorgente {
  public:
    Risultato<std::size_t> leggi(std::span<char> dove) override {
        const auto letti = righe_.leggi(dove);
        return *letti > 0 ? letti : Risultato<std::size_t>(Esito::lettura(ORIGINALE, EIO));
    }

  private:
    SorgenteTesto righe_{"1 Lupi\n2 Orsi\n3 Lupi\n"};
    const Oggetto ORIGINALE = Oggetto::file("originale.txt");
};

TEST(Ricerca, ReadFailureEndsTheSearchWithTheSourcesReason) {
    OriginaleGuasto in;
    int copiate = 0;
    const auto esito = cerca(in, "Lupi", [&](std::string_view) { ++copiate; });
    ASSERT_FALSE(esito);
    EXPECT_EQ(esito.errore().tipo(), Esito::Tipo::lettura);
    EXPECT_EQ(esito.errore().causa(), EIO);
    EXPECT_EQ(copiate, 2);
}

}  // namespace
}  // namespace turnolista
