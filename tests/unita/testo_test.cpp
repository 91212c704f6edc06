#include "dialogo/testo.hpp"

#include <gtest/gtest.h>

namespace turnolista {
namespace {

TEST(Testo, MessagesAreConvertedOnlyForAConsoleThatIsNotUtf8) {
    EXPECT_EQ(nel_set_della_console("cercata è più «Cantù» €", true), "cercata è più «Cantù» €");
    EXPECT_EQ(nel_set_della_console("cercata è più «Cantù» €", false),
              "cercata \xE8 pi\xF9 \xAB"
              "Cant\xF9\xBB ?");
}

TEST(Testo, QuotationEscapesControlsOnly) {
    EXPECT_EQ(citazione("--foo", false), "--foo");
    EXPECT_EQ(citazione("a\tb\x7F\\", false), "a\\011b\\177\\\\");
    EXPECT_EQ(citazione("\xE8\x85\x9F\xA0", false), "\xE8\\205\\237\xA0");
    EXPECT_EQ(citazione("\xC3\xA8\xC2\x85\xC2\xA0\x85", true), "\xC3\xA8\\302\\205\xC2\xA0\x85");
}

}  // namespace
}  // namespace turnolista
