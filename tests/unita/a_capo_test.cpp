#include "comune/a_capo.hpp"

#include <gtest/gtest.h>

#include <string>

namespace turnolista {
namespace {

std::string senza_cr(const std::string& grezzo) {
    std::string tradotto(grezzo.size(), '\0');
    tradotto.resize(togli_cr(grezzo, tradotto.data()));
    return tradotto;
}

std::string con_cr(const std::string& testo) {
    std::string esteso(2 * testo.size(), '\0');
    esteso.resize(metti_cr(testo, esteso.data()));
    return esteso;
}

TEST(ACapo, CrLfBecomesLfAndAnyOtherCrStays) {
    EXPECT_EQ(senza_cr("uno\r\ndue\r\n"), "uno\ndue\n");
    EXPECT_EQ(senza_cr("a\rb\r\r\nc\n\r"), "a\rb\r\nc\n\r");
    EXPECT_EQ(senza_cr("\x1A fine\r\n"), "\x1A fine\n");
    EXPECT_EQ(senza_cr(""), "");
}

TEST(ACapo, TranslatingInPlaceGivesTheSameText) {
    std::string grezzo = "1 Lupi\r\n\r\n2 Falchi\r";
    grezzo.resize(togli_cr(grezzo, grezzo.data()));
    EXPECT_EQ(grezzo, "1 Lupi\n\n2 Falchi\r");
}

TEST(ACapo, EveryLfIsWrittenAsCrLf) {
    EXPECT_EQ(con_cr("uno\n\ndue"), "uno\r\n\r\ndue");
    EXPECT_EQ(con_cr("\n\n"), "\r\n\r\n");
    EXPECT_EQ(con_cr("gi\xE0\r"), "gi\xE0\r");
}

TEST(ACapo, StepBackCountsBothBytesOfEachCrLf) {
    EXPECT_EQ(grezzi_in_coda("t\r\nLupi\r\nresto\r\n", 6), 7U);
    EXPECT_EQ(grezzi_in_coda("t\r\nLupi\r\nresto\r\n", 11), 13U);
    EXPECT_EQ(grezzi_in_coda("a\r\rb", 3), 3U);
    EXPECT_EQ(grezzi_in_coda("ab", 0), 0U);
    // Bytes beyond the block were read before it, one for one as far as it can tell.
    EXPECT_EQ(grezzi_in_coda("\r\n", 3), 4U);
}

}  // namespace
}  // namespace turnolista
