#include "comune/a_capo.hpp"

#include <gtest/gtest.h>

#include <string>

namespace turnolista {
namespace {

std::string con_cr(const std::string& testo) {
    std::string esteso(2 * testo.size(), '\0');
    esteso.resize(metti_cr(testo, esteso.data()));
    return esteso;
}

TEST(ACapo, EveryLfIsWrittenAsCrLf) {
    EXPECT_EQ(con_cr("uno\n\ndue"), "uno\r\n\r\ndue");
    EXPECT_EQ(con_cr("\n\n"), "\r\n\r\n");
    EXPECT_EQ(con_cr("gi\xE0\r"), "gi\xE0\r");
}

}  // namespace
}  // namespace turnolista
