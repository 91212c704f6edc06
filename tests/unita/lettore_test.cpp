#include "comune/lettore.hpp"
#include "sorgente_testo.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

namespace turnolista {
namespace {

const Oggetto ORIGINALE = Oggetto::file("originale.txt");

std::vector<std::string> tutte_le_righe(const std::string& testo, std::size_t pezzo = SIZE_MAX) {
    SorgenteTesto sorgente(testo, pezzo);
    LettoreRighe lettore(sorgente, ORIGINALE);
    std::vector<std::string> righe;
    for (auto riga = lettore.leggi(); riga && *riga; riga = lettore.leggi()) {
        righe.emplace_back(**riga);
    }
    return righe;
}

TEST(Lettore, SplitsAtNewlinesAndKeepsEmptyLines) {
    for (const std::size_t pezzo : {std::size_t{1}, std::size_t{3}, SIZE_MAX}) {
        SCOPED_TRACE(pezzo);
        EXPECT_EQ(tutte_le_righe("a b\n\nc\n", pezzo), (std::vector<std::string>{"a b", "", "c"}));
        EXPECT_EQ(tutte_le_righe("", pezzo), std::vector<std::string>{});
        EXPECT_EQ(tutte_le_righe("\n", pezzo), std::vector<std::string>{""});
        EXPECT_EQ(tutte_le_righe("uno\ndue", pezzo), (std::vector<std::string>{"uno", "due"}));
    }
}

TEST(Lettore, OnlyTheCrThatEndsALineGoes) {
    for (const std::size_t pezzo : {std::size_t{1}, SIZE_MAX}) {
        EXPECT_EQ(tutte_le_righe("uno\r\nd\rue\r\r\n\r\ntre\r", pezzo),
                  (std::vector<std::string>{"uno", "d\rue\r", "", "tre"}));
    }
}

TEST(Lettore, LongLinesAreReadWhole) {
    const std::string lunga(300'000, 'x');
    const std::string breve(199, 'y');
    EXPECT_EQ(tutte_le_righe(breve + "\n" + lunga + "\nfine\n" + lunga),
              (std::vector<std::string>{breve, lunga, "fine", lunga}));
}

TEST(Lettore, LineLongerThanTheLimitIsRefusedWithItsNumber) {
    struct Caso {
        std::string testo;
        std::size_t limite;
        long riga;
    };
    const std::string lunga(600'000, 'x');
    const std::vector<Caso> casi{
        {"1234567890\n12345678901\nnon letta\n", 10, 2},
        // A last line without newline counts the same way, and the limit holds for a line
        // that needs the buffer to grow.
        {"12345678901", 10, 1},
        // A line's CR LF is no part of its length.
        {"1234567890\r\n1234567890\r\r\n", 10, 2},
        {lunga + "\n" + lunga + "y\n", lunga.size(), 2},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.riga);
        SorgenteTesto sorgente(caso.testo);
        LettoreRighe lettore(sorgente, ORIGINALE, caso.limite);
        for (long r = 1; r < caso.riga; ++r) {
            const auto riga = lettore.leggi();
            ASSERT_TRUE(riga && *riga);
            EXPECT_EQ((*riga)->size(), caso.limite);
        }
        const auto troppo = lettore.leggi();
        ASSERT_FALSE(troppo);
        EXPECT_EQ(troppo.errore().tipo(), Esito::Tipo::riga_troppo_lunga);
        EXPECT_EQ(troppo.errore().riga(), caso.riga);
        EXPECT_EQ(troppo.errore().oggetto().nome, "originale.txt");
        // Nothing more is handed out.
        const auto dopo = lettore.leggi();
        EXPECT_TRUE(dopo && !*dopo);
    }
}

TEST(Lettore, LongLineCutShortKeepsTheLimitAndPassesOverTheRest) {
    for (const std::size_t pezzo : {std::size_t{1}, std::size_t{4}, SIZE_MAX}) {
        SCOPED_TRACE(pezzo);
        SorgenteTesto sorgente("t\n" + std::string(100, 'x') + "\nLupi\n" + std::string(50, 'y'),
                               pezzo);
        LettoreRighe lettore(sorgente, Oggetto::standard_input(), 8, LettoreRighe::Lunghe::tronca);
        std::vector<std::string> righe;
        for (auto riga = lettore.leggi(); riga && *riga; riga = lettore.leggi()) {
            righe.emplace_back(**riga);
        }
        EXPECT_EQ(righe, (std::vector<std::string>{"t", "xxxxxxxxx", "Lupi", "yyyyyyyyy"}));
    }
}

// A source that hands out its bytes a few at a time and then fails, like a device that
// breaks in the middle of a read.
class SorgenteGuasta final : public Sorgente {
  public:
    explicit SorgenteGuasta(std::string dati) : dati_(std::move(dati), 3) {}

    Risultato<std::size_t> leggi(std::span<char> dove) override {
        const auto letti = dati_.leggi(dove);
        if (*letti == 0) {
            return Esito::lettura(ORIGINALE, EIO);
        }
        return letti;
    }

  private:
    SorgenteTesto dati_;
};

TEST(Lettore, ReadFailureIsNotTheEndAndKeepsTheSourcesReason) {
    SorgenteGuasta sorgente("uno\n\ndue\ntre");
    LettoreRighe lettore(sorgente, ORIGINALE);
    std::vector<std::string> righe;
    auto riga = lettore.leggi();
    for (; riga && *riga; riga = lettore.leggi()) {
        righe.emplace_back(**riga);
    }
    EXPECT_EQ(righe, (std::vector<std::string>{"uno", "", "due"}));
    ASSERT_FALSE(riga);
    EXPECT_EQ(riga.errore().tipo(), Esito::Tipo::lettura);
    EXPECT_EQ(riga.errore().causa(), EIO);
}

}  // namespace
}  // namespace turnolista
