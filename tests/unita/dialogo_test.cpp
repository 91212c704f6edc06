#include "dialogo/dialogo.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace turnolista {
namespace {

// A stream over a string: what is read from it, and what is written to it.
class Stringa final : public Canale {
  public:
    explicit Stringa(std::string dati = {}) : dati_(std::move(dati)) {}
    Risultato<std::size_t> leggi(std::span<char> dove) override {
        const std::size_t n = std::min(dove.size(), dati_.size() - letti_);
        std::memcpy(dove.data(), dati_.data() + letti_, n);
        letti_ += n;
        return n;
    }
    Esito scrivi(std::string_view testo) override {
        scritto_ += testo;
        return {};
    }
    std::size_t letti() const { return letti_; }
    const std::string& scritto() const { return scritto_; }

  private:
    std::string dati_;
    std::size_t letti_ = 0;
    std::string scritto_;
};

struct ConsoleDiProva {
    explicit ConsoleDiProva(std::string input) : in(std::move(input)) {}
    Stringa in;
    Stringa out;
    Stringa err;
    Console console{.in = in, .out = out, .err = err};
};

TEST(Congedo, WindowOpenedForTheRunStaysAfterAFailureUntilEnter) {
    struct Caso {
        bool finestra_propria;
        int stato;
        std::string out;
        std::size_t letti;
    };
    const std::vector<Caso> casi{
        {true, 1, "Premi Invio per chiudere la finestra.\n", 6},
        {true, 2, "Premi Invio per chiudere la finestra.\n", 6},
        {true, 0, "", 0},
        {false, 1, "", 0},
    };
    // What waits for Enter reads at least the line Enter ends, and never before it is asked.
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.stato);
        ConsoleDiProva prova("invio\naltro\n");
        prova.console.finestra_propria = caso.finestra_propria;
        EXPECT_EQ(congedo(prova.console, caso.stato), caso.stato);
        EXPECT_EQ(prova.out.scritto(), caso.out);
        EXPECT_EQ(prova.in.letti() >= caso.letti, true);
        EXPECT_EQ(prova.in.letti() == 0, caso.letti == 0);
    }
    // The end of the input closes it too.
    ConsoleDiProva vuota("");
    vuota.console.finestra_propria = true;
    EXPECT_EQ(congedo(vuota.console, 1), 1);
}

TEST(Dialogo, OnATerminalTheFormatQuestionIsFollowedByANoteOfTheCalendar) {
    for (const bool terminale : {true, false}) {
        ConsoleDiProva prova("");
        prova.console.in_terminale = terminale;
        EXPECT_EQ(dialogo(prova.console, Origine{}), 0);
        EXPECT_EQ(prova.out.scritto(),
                  "In quale formato vuoi che venga salvato il calendario?(scrivi t per file di "
                  "testo,w per Word,x per Ecxel,h per pagina web e poi premi invio)\n");
        EXPECT_EQ(prova.err.scritto(),
                  terminale ? "Oppure c per mettere le partite nel calendario del telefono\n" : "");
    }
}

TEST(Messaggi, MessagesAreUtf8OnlyOnAUtf8Console) {
    for (const bool utf8 : {true, false}) {
        ConsoleDiProva prova("");
        prova.console.utf8 = utf8;
        EXPECT_TRUE(prova.console.scrivi(prova.console.err, "è più «Cantù» €").ok());
        EXPECT_EQ(prova.err.scritto(), utf8 ? "è più «Cantù» €"
                                            : "\xE8 pi\xF9 \xAB"
                                              "Cant\xF9\xBB ?");
    }
}

TEST(Messaggi, QuotationEscapesControlsOnly) {
    EXPECT_EQ(citazione("--foo", false), "--foo");
    EXPECT_EQ(citazione("a\tb\x7F\\", false), "a\\011b\\177\\\\");
    EXPECT_EQ(citazione("\xE8\x85\x9F\xA0", false), "\xE8\\205\\237\xA0");
    EXPECT_EQ(citazione("\xC3\xA8\xC2\x85\xC2\xA0\x85", true), "\xC3\xA8\\302\\205\xC2\xA0\x85");
}

TEST(Originale, NameTheUserMayHaveMeantAndTheZipExplorerOpened) {
    const std::vector<std::pair<std::vector<std::string>, std::optional<std::string>>> cartelle{
        {{"calendario.txt", "Originale.TXT"}, "Originale.TXT"},
        {{"originale.csv", "originale (12).txt", "Originale.txt.txt"}, "Originale.txt.txt"},
        {{"originale.csv", "originale (12).txt"}, "originale (12).txt"},
        {{"ORIGINALE.CSV", "originale.txt.csv"}, "originale.txt.csv"},
        {{"originale ().txt", "originale (a).txt", "x-originale.txt.txt", "originale"}, {}},
        // A dangling link named originale.txt is not a near miss of itself.
        {{"originale.txt"}, {}},
    };
    for (const auto& [nomi, simile] : cartelle) {
        EXPECT_EQ(nome_simile(nomi), simile);
    }
    const std::vector<std::pair<std::string, std::optional<std::string>>> percorsi{
        {"C:\\Users\\Nicol\xC3\xB2\\AppData\\Local\\Temp\\Temp1_turnolista-1.0.0-win64.zip\\"
         "turnolista-1.0.0-win64",
         "turnolista-1.0.0-win64.zip"},
        {"/tmp/TEMP23_lega.ZIP", "lega.ZIP"},
        {"C:\\Temp\\TempA_lega.zip", {}},
        {"C:\\Users\\x\\Documents\\Temp1_lega", {}},
    };
    for (const auto& [percorso, zip] : percorsi) {
        EXPECT_EQ(zip_aperto(percorso), zip) << percorso;
    }
}

TEST(Originale, DocumentIsToldByItsFirstBytesWhateverItsName) {
    // Office files, PDF and zips are told end to end; here the rest, and text like them.
    using namespace std::string_literals;
    const std::vector<std::pair<std::string, std::optional<Documento>>> casi{
        {"PK\x05\x06"s + std::string(18, '\0'), Documento::zip},  // an empty zip
        {"\x89PNG\r\n\x1A\n", Documento::immagine},
        {"\xFF\xD8\xFF\xE0", Documento::immagine},
        {"GIF89a", Documento::immagine},
        {"II*\0"s, Documento::immagine},
        {"MM\0*"s, Documento::immagine},
        {"RIFF\x10\0\0\0WEBPVP8 "s, Documento::immagine},
        {"\0\0\0\x18"
         "ftypheic"s,
         Documento::immagine},
        // Text, whatever a name such as .xls says: this program's own tables among it.
        {"1\t1\t13/09\t10:30\tOratorio\tFalchi-Lupi\n", {}},
        {"\xFF\xFE"
         "1\0 \0L\0"s,
         {}},
        {"PK Lupi-Orsi\n", {}},
        {"II* Lupi\n", {}},
        {"", {}},
    };
    for (const auto& [byte, documento] : casi) {
        SCOPED_TRACE(byte);
        const Esito esito = solo_testo("lista.xls", byte);
        EXPECT_EQ(esito.ok(), !documento);
        EXPECT_EQ(esito.documento, documento.value_or(Documento::excel));
    }
}

}  // namespace
}  // namespace turnolista
