#include "comune/codifica.hpp"
#include "ricerca/ricerca.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace turnolista {
namespace {

TEST(Codifica, ListsEncodingIsDecidedFromItsStart) {
    struct Caso {
        std::string inizio;
        Codifica attesa;
    };
    const std::string finestra(INIZIO_DECISIVO - 1, 'a');
    const std::vector<Caso> casi{
        {"1 Lupi\n", Codifica::ascii},
        {"", Codifica::ascii},
        {"\xEF\xBB\xBF"
         "1 Lupi\n",
         Codifica::utf8},
        {"\xFF\xFE"
         "1\0",
         Codifica::utf8},
        {"\xFE\xFF\0"
         "1",
         Codifica::utf8},
        {"Cant\xC3\xB9\n", Codifica::utf8},
        {"Cant\xF9\n", Codifica::windows1252},
        {"Cant\xC3", Codifica::windows1252},
        // The last byte of the window decides, and a sequence it starts is read to its end.
        {finestra + "\xE8", Codifica::windows1252},
        {finestra + "\xE8 Cant\xC3\xB9", Codifica::windows1252},
        {finestra + "\xC3\xB9", Codifica::utf8},
        {finestra + "\xC3"
                    "a",
         Codifica::windows1252},
        {finestra.substr(1) + "\xE2\x82\xAC", Codifica::utf8},
        {finestra + "a\xE8", Codifica::ascii},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.inizio.substr(caso.inizio.size() < 8 ? 0 : caso.inizio.size() - 8));
        EXPECT_EQ(decodifica(caso.inizio).codifica, caso.attesa);
    }
}

// Moved here from the console's text, where each byte counted when the console was not UTF-8:
// now a typed name's characters count on any console.
TEST(Codifica, TypedCharactersAreUtf8WhereValidElseWindows1252) {
    struct Caso {
        std::string digitato;
        std::string utf8;
        std::size_t caratteri;
    };
    const std::vector<Caso> casi{
        {"Societ\xC3\xA0", "Societ\xC3\xA0", 7},
        {"Societ\xE0", "Societ\xC3\xA0", 7},
        {"\xE2\x82\xAC\xF0\x9F\x98\x80", "\xE2\x82\xAC\xF0\x9F\x98\x80", 2},  // euro, emoji
        // Invalid UTF-8: Windows-1252, its undefined bytes their own code points.
        {"\x80\x81\x9F", "\xE2\x82\xAC\xC2\x81\xC5\xB8", 3},
        {"\xC3", "\xC3\x83", 1},                              // cut short
        {"\xC0\xAF", "\xC3\x80\xC2\xAF", 2},                  // overlong
        {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC", 3},  // surrogate
        {"\xE2\x82\x41", "\xC3\xA2\xE2\x80\x9A\x41", 3},      // cut by a letter
        {"", "", 0},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.digitato);
        EXPECT_EQ(in_utf8(caso.digitato), caso.utf8);
        EXPECT_EQ(caratteri(in_utf8(caso.digitato)), caso.caratteri);
    }
}

TEST(Codifica, AnsiListsFilesAreItsOwnBytesAndUtf8ListsHaveTheBom) {
    std::string ogni_byte;
    for (int b = 1; b < 256; ++b) {
        ogni_byte += static_cast<char>(b);
    }
    const Testo ansi = decodifica(ogni_byte);
    ASSERT_EQ(ansi.codifica, Codifica::windows1252);
    EXPECT_TRUE(utf8_valido(ansi.utf8));
    EXPECT_EQ(in_un_byte(ansi.utf8, true), ogni_byte);
    EXPECT_EQ(decodifica("Sant\x92"
                         "Anna \x80")
                  .utf8,
              "Sant\xE2\x80\x99"
              "Anna \xE2\x82\xAC");
    EXPECT_EQ(in_un_byte("Cant\xC3\xB9 \xE2\x82\xAC", false), "Cant\xF9 ?");
}

TEST(Codifica, FoldingSetsCaseAndAccentsAside) {
    struct Caso {
        std::string testo;
        std::string minuscolo;
        std::string senza_accenti;
    };
    const std::vector<Caso> casi{
        {"CANT\xC3\x99 \xC5\xA0\xC5\xB8 \xC3\x97", "cant\xC3\xB9 \xC5\xA1\xC3\xBF \xC3\x97",
         "cantu sy \xC3\x97"},
        {"ZEBRE AZ", "zebre az", "zebre az"},
        {"SANT\xE2\x80\x99"
         "ANNA \xE2\x80\x9C"
         "A\xE2\x80\x9D \xE2\x80\x93",
         "sant\xE2\x80\x99"
         "anna \xE2\x80\x9C"
         "a\xE2\x80\x9D \xE2\x80\x93",
         "sant'anna \"a\" -"},
        // Bytes that are not UTF-8 in a UTF-8 list stay as they are.
        {"A\xC3\xC5L", "a\xC3\xC5l", "a\xC3\xC5l"},
    };
    for (const auto& caso : casi) {
        EXPECT_EQ(piegata(caso.testo, Piega::maiuscole), caso.minuscolo);
        EXPECT_EQ(piegata(caso.testo, Piega::segni), caso.senza_accenti);
    }
}

TEST(Codifica, ListIsReadWithoutItsBomAndUtf16AsUtf8) {
    const auto testo = [](const std::string& grezzo) { return decodifica(grezzo).utf8; };
    EXPECT_EQ(testo("\xEF\xBB\xBF"
                    "Lupi\r\n"),
              "Lupi\r\n");
    EXPECT_EQ(testo("Lupi\r\n"), "Lupi\r\n");
    EXPECT_EQ(testo(std::string("\xFF\xFE"
                                "L\0\xF9\0\r\0\n\0",
                                10)),
              "L\xC3\xB9\r\n");
    // A pair of surrogates is one character; half a pair, or an odd byte, is U+FFFD.
    EXPECT_EQ(testo(std::string("\xFE\xFF\xD8\x3D\xDE\x00\xDC\x00\0A\xD8\x00", 12)),
              "\xF0\x9F\x98\x80\xEF\xBF\xBD"
              "A\xEF\xBF\xBD");
    EXPECT_EQ(testo(std::string("\xFF\xFE"
                                "A\0B",
                                5)),
              "A\xEF\xBF\xBD");
    EXPECT_EQ(testo(std::string("\xFF\xFE\x3D\xD8\x41\x00", 6)),
              "\xEF\xBF\xBD"
              "A");
    EXPECT_EQ(con_fine_riga("a\nb\r\n\nc", FineRiga::crlf), "a\r\nb\r\r\n\r\nc");
}

}  // namespace
}  // namespace turnolista
