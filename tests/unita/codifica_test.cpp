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
         Codifica::utf8_bom},
        {"\xFF\xFE"
         "1\0",
         Codifica::utf16le},
        {"\xFE\xFF\0"
         "1",
         Codifica::utf16be},
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
        EXPECT_EQ(riconosci(caso.inizio), caso.attesa);
    }
    EXPECT_FALSE(con_bom(Codifica::ascii));
    EXPECT_FALSE(con_bom(Codifica::windows1252));
    EXPECT_TRUE(con_bom(Codifica::utf8));
    EXPECT_TRUE(con_bom(Codifica::utf16be));
}

// Moved here from the console's text, where each byte counted when the console was not UTF-8:
// now a typed name's characters count on any console.
TEST(Codifica, TypedCharactersAreUtf8WhereValidElseWindows1252) {
    struct Caso {
        std::string digitato;
        std::u32string caratteri;
    };
    const std::vector<Caso> casi{
        {"Societ\xC3\xA0", U"Societ\u00E0"},
        {"Societ\xE0", U"Societ\u00E0"},
        {"\xE2\x82\xAC\xF0\x9F\x98\x80", U"\u20AC\U0001F600"},  // euro sign, emoji
        {"\x80\x81\x9F", U"\u20AC\u0081\u0178"},                // invalid UTF-8: Windows-1252
        {"\xC3", U"\u00C3"},                                    // cut short
        {"\xC0\xAF", U"\u00C0\u00AF"},                          // overlong
        {"\xED\xA0\x80", U"\u00ED\u00A0\u20AC"},                // surrogate
        {"\xF4\x90\x80\x80", U"\u00F4\u0090\u20AC\u20AC"},      // past U+10FFFF
        {"\xE0\x80\xAF", U"\u00E0\u20AC\u00AF"},                // overlong, three bytes
        {"\xE2\x82\x41", U"\u00E2\u201A\u0041"},                // cut by a letter
        {"", U""},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.digitato);
        EXPECT_EQ(caratteri_digitati(caso.digitato), caso.caratteri);
    }
}

TEST(Codifica, TextIsWrittenInTheListsEncodingOrNotAtAll) {
    EXPECT_EQ(nella_codifica(U"Cant\u00F9 \u20AC", Codifica::windows1252), "Cant\xF9 \x80");
    EXPECT_EQ(nella_codifica(U"Cant\u00F9 \u20AC", Codifica::utf16le), "Cant\xC3\xB9 \xE2\x82\xAC");
    EXPECT_EQ(nella_codifica(U"\u03A9", Codifica::windows1252), std::nullopt);
    EXPECT_EQ(nella_codifica(U"Sant\u2019Anna", Codifica::windows1252),
              "Sant\x92"
              "Anna");
    EXPECT_EQ(in_utf8("Cant\xC3\xB9 \xE2\x82\xAC", Codifica::utf8), "Cant\xC3\xB9 \xE2\x82\xAC");
    EXPECT_EQ(in_utf8("Cant\xF9 \x80 Sant\x92"
                      "Anna",
                      Codifica::windows1252),
              "Cant\xC3\xB9 \xE2\x82\xAC Sant\xE2\x80\x99"
              "Anna");
}

TEST(Codifica, FoldingSetsCaseAndAccentsAsideAndKnowsWhereEachByteCameFrom) {
    struct Caso {
        std::string testo;
        Codifica codifica;
        std::string minuscolo;
        std::string senza_accenti;
    };
    const std::vector<Caso> casi{
        {"CANT\xC3\x99 \xC5\xA0\xC5\xB8 \xC3\x97", Codifica::utf8,
         "cant\xC3\xB9 \xC5\xA1\xC3\xBF \xC3\x97", "cantu sy \xC3\x97"},
        {"CANT\xD9 \x8A\x9F \xD7", Codifica::windows1252, "cant\xF9 \x9A\xFF \xD7",
         "cantu sy \xD7"},
        {"ZEBRE AZ", Codifica::ascii, "zebre az", "zebre az"},
        {"SANT\xE2\x80\x99"
         "ANNA \xE2\x80\x9C"
         "A\xE2\x80\x9D \xE2\x80\x93",
         Codifica::utf8,
         "sant\xE2\x80\x99"
         "anna \xE2\x80\x9C"
         "a\xE2\x80\x9D \xE2\x80\x93",
         "sant'anna \"a\" -"},
        {"SANT\x92"
         "ANNA \x93"
         "A\x94 \x96",
         Codifica::windows1252,
         "sant\x92"
         "anna \x93"
         "a\x94 \x96",
         "sant'anna \"a\" -"},
        // Bytes that are not UTF-8 in a UTF-8 list stay as they are.
        {"A\xC3\xC5L", Codifica::utf8, "a\xC3\xC5l", "a\xC3\xC5l"},
    };
    for (const auto& caso : casi) {
        EXPECT_EQ(piegata(caso.testo, caso.codifica, Piega::maiuscole), caso.minuscolo);
        EXPECT_EQ(piegata(caso.testo, caso.codifica, Piega::segni), caso.senza_accenti);
    }
    // "Forlì" and "Cantù" fold to one byte each where UTF-8 has two.
    const std::string_view citta = "Forl\xC3\xAC-Cant\xC3\xB9";
    std::vector<std::size_t> origini;
    for (std::size_t i = 0; i <= piegata(citta, Codifica::utf8, Piega::segni).size(); ++i) {
        origini.push_back(origine(citta, Codifica::utf8, Piega::segni, i));
    }
    EXPECT_EQ(origini, (std::vector<std::size_t>{0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 13}));
}

TEST(Codifica, ListIsReadWithoutItsBomAndUtf16AsUtf8) {
    const auto testo = [](const std::string& grezzo) {
        std::string decodificato;
        return std::string(decodifica(grezzo, riconosci(grezzo), decodificato));
    };
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
