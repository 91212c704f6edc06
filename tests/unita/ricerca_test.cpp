#include "ricerca/ricerca.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "dialogo/dialogo.hpp"

namespace turnolista {
namespace {

struct Trovate {
    int RIGHE = 0;
    std::string uscita;
};

// Collects the matching lines, each followed by a newline.
Trovate cerca_in(const std::string& originale, std::string_view nome) {
    Trovate r;
    per_riga_con(originale, nome, [&](std::string_view riga) {
        ++r.RIGHE;
        r.uscita.append(riga).push_back('\n');
    });
    return r;
}

constexpr const char* CALENDARIO =
    "1 13/09 10:30 Oratorio Falchi-Lupi\n"
    "2 13/09 15:00 Parrocchiale Aquile-Orsi\n"
    "Giornata 1: Riposa Lupi\n"
    "3 20/09 15:30 Comunale Lupi-Orsi\n";

TEST(Ricerca, HandsOnMatchingLinesInOrder) {
    const auto r = cerca_in(CALENDARIO, "Lupi");
    EXPECT_EQ(r.RIGHE, 3);
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
    EXPECT_EQ(r.RIGHE, 1);
    EXPECT_EQ(r.uscita, "Lupi-Lupi amichevole\n");
}

TEST(Ricerca, EmptyNameMatchesNothing) {
    const auto r = cerca_in(CALENDARIO, "");
    EXPECT_EQ(r.RIGHE, 0);
    EXPECT_EQ(r.uscita, "");
}

TEST(Ricerca, LineEndsAreLfCrLfACrAloneOrTheEndOfTheText) {
    // What a text pass writes of them, each line followed by an empty one.
    const auto testo = [](std::string_view originale) {
        return passata(originale, Codifica::ascii, "Lupi", Formato::testo, {}, FineRiga::lf)
            .file.at(0)
            .contenuto;
    };
    EXPECT_EQ(testo("1 Lupi-Orsi\n2 Orsi-Lupi"), "1 Lupi-Orsi\n\n2 Orsi-Lupi\n\n");
    EXPECT_EQ(testo("1 Lupi\r\n2 Lupi\r3 Lupi\r"), "1 Lupi\n\n2 Lupi\n\n3 Lupi\n\n");
    EXPECT_EQ(testo("1 Lupi\r\r2 Lupi"), "1 Lupi\n\n2 Lupi\n\n");
    EXPECT_EQ(testo("\n\nLupi\n\n"), "Lupi\n\n");
}

TEST(Ricerca, ALineBreakInsideDoubleQuotesIsInsideItsCellOfACsv) {
    const auto righe = [](std::string_view testo, char separatore) {
        std::vector<std::string> uscita;
        while (!testo.empty()) {
            uscita.emplace_back(prossima_riga(testo, separatore));
        }
        return uscita;
    };
    // The records that hold a name: found from the name, before a quote, after it or in it.
    const auto con = [](std::string_view testo, std::string_view nome, char separatore) {
        std::vector<std::string> uscita;
        per_riga_con(
            testo, nome, [&](std::string_view riga) { uscita.emplace_back(riga); }, separatore);
        return uscita;
    };
    const std::string csv = "1,13/09,\"Campo\r\nNord\",Lupi-Orsi\r\n2,20/09,Sud,Orsi-Lupi\r\n";
    EXPECT_EQ(righe(csv, ','), (std::vector<std::string>{"1,13/09,\"Campo\r\nNord\",Lupi-Orsi",
                                                         "2,20/09,Sud,Orsi-Lupi"}));
    EXPECT_EQ(righe(csv, '\0').size(), 3U);
    EXPECT_EQ(con(csv, "Nord", ','), (std::vector<std::string>{righe(csv, ',').at(0)}));
    EXPECT_EQ(con(csv, "Nord", '\0'), (std::vector<std::string>{"Nord\",Lupi-Orsi"}));
    EXPECT_EQ(con(csv, "Lupi", ','), righe(csv, ','));
    EXPECT_EQ(con("1;x\n2;\"a\nLupi\";y\n3;Lupi\n", "Lupi", ';'),
              (std::vector<std::string>{"2;\"a\nLupi\";y", "3;Lupi"}));
    // How many records: a quote opens a cell only at its start, and a cell spans at most
    // four lines; at the fifth the next line is a record again.
    const std::vector<std::pair<std::string, std::size_t>> casi{
        {"1;\"aperta\n2;a\n3;b\n4;c\n5;d\n6;e\n", 6},
        {"1;Palestra \"Rossi\n2;a\n3;b\"\n", 3},
        {"1;\"a\nb\nc\nd\";x\n2;y\n", 2},
        {"1;\"a\nb\nc\nd\ne\";x\n2;y\n", 6},
        {"1;\"a\rb\";x\r2;y\r", 2},
    };
    for (const auto& [testo, record] : casi) {
        EXPECT_EQ(righe(testo, ';').size(), record) << testo;
    }
}

TEST(Ricerca, EveryLineIsSearched) {
    // A league of 16 teams has 240 match lines.
    std::string originale;
    for (int i = 1; i <= 240; ++i) {
        originale += std::to_string(i) + (i % 2 == 0 ? " Lupi\n" : " Orsi\n");
    }
    const auto r = cerca_in(originale, "Lupi");
    EXPECT_EQ(r.RIGHE, 120);
    EXPECT_TRUE(r.uscita.starts_with("2 Lupi\n4 Lupi\n"));
    EXPECT_TRUE(r.uscita.ends_with("\n238 Lupi\n240 Lupi\n"));
}

TEST(Ricerca, NameFarIntoALongLineIsFound) {
    const std::string lunga = std::string(250'000, 'a') + " Lupi " + std::string(1000, 'b');
    const auto r = cerca_in("breve\n" + lunga + "\naltro\n", "Lupi");
    EXPECT_EQ(r.RIGHE, 1);
    EXPECT_EQ(r.uscita, lunga + "\n");
}

TEST(Ricerca, OtherSpellingIsTheFirstFoundAndCountedAsWritten) {
    struct Caso {
        std::string lista;
        std::string nome;
        std::optional<std::string> come_scritto;
        std::uint64_t righe;
        Piega differenza;
    };
    const std::vector<Caso> casi{
        {"1 Cant\xC3\xB9-Lupi\n2 CANTU-Orsi\n3 Lupi-Cant\xC3\xB9\n", "cantu", "Cant\xC3\xB9", 2,
         Piega::accenti},
        {"1 LUPI\n2 lupi\n", "Lupi", "LUPI", 1, Piega::maiuscole},
        // "Forlì" folds to one byte fewer than it has: the spelling ends where its letter does.
        {"1 Forl\xC3\xAC-Cant\xC3\xB9\n", "forli", "Forl\xC3\xAC", 1, Piega::accenti},
        {"1 \xC3\x97 CANT\xC3\x99 x\n", "cant\xC3\xB9", "CANT\xC3\x99", 1, Piega::maiuscole},
        {"1 \xC3\x97 Cant\xC3\xB9 x\n", "cantu", "Cant\xC3\xB9", 1, Piega::accenti},
        {"1 GRO\xC3\x9F \xC5\xBDUPA\n", "gro\xC3\x9F zupa", "GRO\xC3\x9F \xC5\xBDUPA", 1,
         Piega::accenti},
        {"1 Sant\xE2\x80\x99"
         "Andrea-Lupi\n",
         "Sant'Andrea",
         "Sant\xE2\x80\x99"
         "Andrea",
         1, Piega::segni},
        {"1 Orsi\n", "lupi", std::nullopt, 0, Piega::maiuscole},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.lista);
        const auto altra = altra_grafia(caso.lista, caso.nome);
        ASSERT_EQ(altra.has_value(), caso.come_scritto.has_value());
        if (altra) {
            EXPECT_EQ(altra->come_scritto, *caso.come_scritto);
            EXPECT_EQ(altra->righe, caso.righe);
            EXPECT_EQ(altra->differenza, caso.differenza);
        }
    }
}

}  // namespace
}  // namespace turnolista
