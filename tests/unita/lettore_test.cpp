#include "ricerca/lettore.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>
#include <string>
#include <system_error>
#include <vector>

namespace turnolista {
namespace {

std::vector<std::string> tutte_le_righe(const std::string& testo) {
    std::istringstream in(testo);
    LettoreRighe lettore(in);
    std::vector<std::string> righe;
    std::string_view riga;
    while (lettore.leggi(riga) == LettoreRighe::Stato::riga) {
        righe.emplace_back(riga);
    }
    return righe;
}

TEST(Lettore, SplitsAtNewlinesAndKeepsEmptyLines) {
    EXPECT_EQ(tutte_le_righe("a b\n\nc\n"), (std::vector<std::string>{"a b", "", "c"}));
    EXPECT_EQ(tutte_le_righe(""), std::vector<std::string>{});
    EXPECT_EQ(tutte_le_righe("\n"), std::vector<std::string>{""});
}

TEST(Lettore, LastLineWithoutNewlineIsKept) {
    EXPECT_EQ(tutte_le_righe("uno\ndue"), (std::vector<std::string>{"uno", "due"}));
}

TEST(Lettore, CarriageReturnsStayInFileLines) {
    EXPECT_EQ(tutte_le_righe("uno\r\ndue\r\n"), (std::vector<std::string>{"uno\r", "due\r"}));
}

TEST(Lettore, LongLinesAreReadWhole) {
    const std::string lunga(300'000, 'x');
    const std::string breve(199, 'y');
    EXPECT_EQ(tutte_le_righe(breve + "\n" + lunga + "\nfine\n" + lunga),
              (std::vector<std::string>{breve, lunga, "fine", lunga}));
}

TEST(Lettore, LineLongerThanTheLimitIsRefused) {
    std::istringstream in("1234567890\n12345678901\nnon letta\n");
    LettoreRighe lettore(in, 10);
    std::string_view riga;
    ASSERT_EQ(lettore.leggi(riga), LettoreRighe::Stato::riga);
    EXPECT_EQ(riga, "1234567890");
    EXPECT_EQ(lettore.leggi(riga), LettoreRighe::Stato::troppo_lunga);

    // A last line without newline counts the same way, and the limit holds for a line
    // that needs the buffer to grow.
    std::istringstream ultima("12345678901");
    EXPECT_EQ(LettoreRighe(ultima, 10).leggi(riga), LettoreRighe::Stato::troppo_lunga);
    const std::string lunga(600'000, 'x');
    std::istringstream grande(lunga + "\n" + lunga + "y\n");
    LettoreRighe lettore_grande(grande, lunga.size());
    ASSERT_EQ(lettore_grande.leggi(riga), LettoreRighe::Stato::riga);
    EXPECT_EQ(riga.size(), lunga.size());
    EXPECT_EQ(lettore_grande.leggi(riga), LettoreRighe::Stato::troppo_lunga);
}

TEST(Lettore, TellsWhetherMoreFollowsAndWhatWasReadAhead) {
    std::istringstream in("uno\ndue\n");
    LettoreRighe lettore(in);
    std::string_view riga;
    ASSERT_EQ(lettore.leggi(riga), LettoreRighe::Stato::riga);
    EXPECT_EQ(lettore.non_consumati(), 4U);
    EXPECT_EQ(lettore.altro(), LettoreRighe::Stato::riga);
    ASSERT_EQ(lettore.leggi(riga), LettoreRighe::Stato::riga);
    EXPECT_EQ(lettore.non_consumati(), 0U);
    EXPECT_EQ(lettore.altro(), LettoreRighe::Stato::fine);
}

TEST(Lettore, TypedLineLosesOnlyItsFinalCarriageReturn) {
    EXPECT_EQ(senza_ritorno_carrello("Lupi\r"), "Lupi");
    EXPECT_EQ(senza_ritorno_carrello("Lu\rpi"), "Lu\rpi");
    EXPECT_EQ(senza_ritorno_carrello("\r"), "");
    EXPECT_EQ(senza_ritorno_carrello(""), "");
}

// A source that hands out its bytes a few at a time and then fails, like a device that
// breaks in the middle of a read.
class SorgenteGuasta : public std::streambuf {
  public:
    explicit SorgenteGuasta(std::string dati) : dati_(std::move(dati)) {}

  protected:
    int_type underflow() override {
        if (dato_ < dati_.size()) {
            const auto pezzo = std::min<std::size_t>(3, dati_.size() - dato_);
            setg(dati_.data() + dato_, dati_.data() + dato_, dati_.data() + dato_ + pezzo);
            dato_ += pezzo;
            return traits_type::to_int_type(*gptr());
        }
        throw std::system_error(EIO, std::generic_category());
    }

  private:
    std::string dati_;
    std::size_t dato_ = 0;
};

TEST(Lettore, ReadFailureIsNotTheEnd) {
    SorgenteGuasta sorgente("uno\ndu");
    std::istream in(&sorgente);
    LettoreRighe lettore(in);
    std::string_view riga;
    ASSERT_EQ(lettore.leggi(riga), LettoreRighe::Stato::riga);
    EXPECT_EQ(riga, "uno");
    EXPECT_EQ(lettore.leggi(riga), LettoreRighe::Stato::errore);
    EXPECT_TRUE(in.bad());
}

// A source read directly, a few bytes a call, like a pipe; -1 once its data is spent
// if it is to fail, like a device that breaks in the middle of a read.
class SorgenteDiretta : public std::streambuf, public LetturaDiretta {
  public:
    SorgenteDiretta(std::string dati, bool guasta) : dati_(std::move(dati)), guasta_(guasta) {}

    std::ptrdiff_t leggi_diretto(char* dove, std::size_t quanti) override {
        if (dato_ == dati_.size()) {
            return guasta_ ? -1 : 0;
        }
        const auto pezzo = std::min({quanti, std::size_t{3}, dati_.size() - dato_});
        dati_.copy(dove, pezzo, dato_);
        dato_ += pezzo;
        return static_cast<std::ptrdiff_t>(pezzo);
    }

  private:
    std::string dati_;
    bool guasta_;
    std::size_t dato_ = 0;
};

TEST(Lettore, DirectSourceIsReadInPiecesAndItsFailureReported) {
    for (const bool guasta : {false, true}) {
        SorgenteDiretta sorgente("uno\n\ndue\ntre", guasta);
        std::istream in(&sorgente);
        LettoreRighe lettore(in);
        std::vector<std::string> righe;
        std::string_view riga;
        auto stato = LettoreRighe::Stato::riga;
        while ((stato = lettore.leggi(riga)) == LettoreRighe::Stato::riga) {
            righe.emplace_back(riga);
        }
        if (guasta) {
            EXPECT_EQ(righe, (std::vector<std::string>{"uno", "", "due"}));
            EXPECT_EQ(stato, LettoreRighe::Stato::errore);
            EXPECT_TRUE(in.bad());
        } else {
            EXPECT_EQ(righe, (std::vector<std::string>{"uno", "", "due", "tre"}));
            EXPECT_EQ(stato, LettoreRighe::Stato::fine);
        }
    }
}

}  // namespace
}  // namespace turnolista
