#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "esecuzione.hpp"

namespace prova {
namespace {

using namespace std::string_literals;

const std::string RIEPILOGO_TXT = PRESENTE + "2" + ESEGUITO + COMPLIMENTI + "calendario.txt\n";

TEST(Errori, MissingFixtureFileIsReportedAndEarlierFilesStay) {
    const std::map<std::string, std::string> prima{{"calendario.txt", "vecchio\n"},
                                                   {"temp.txt", "vecchio temp\n"}};
    for (const std::string lettera : {"t", "x"}) {
        const auto e = esegui({.file = prima, .input = lettera + "\nLupi\nn\n"});
        EXPECT_EQ(e.out, FORMATO + NOME + ANCORA);
        EXPECT_EQ(e.err, "Impossibile leggere il file originale.txt nella cartella " + e.cartella +
                             ": non esiste\n");
        EXPECT_EQ(e.stato, 1);
        EXPECT_EQ(e.file, prima);
    }
}

TEST(Errori, ListMissingInsideAZipExplorerOpenedSaysToExtractIt) {
    // Explorer runs a program started from inside a zip in such a folder.
    const auto e = esegui({.parte_da = "Temp1_lega-2026.zip", .input = "t\nLupi\nn\n"});
    EXPECT_EQ(e.err, "Impossibile leggere il file originale.txt nella cartella " + e.cartella +
                         ": non esiste; questa cartella \xE8 dentro lo zip lega-2026.zip, che non "
                         "\xE8 stato estratto: estrai lo zip (tasto destro sullo zip, Estrai "
                         "tutto...) e avvia turnolista dalla cartella estratta\n");
    EXPECT_EQ(e.stato, 1);
}

TEST(Errori, FixtureListUnderANameLikeItIsPointedOutWithHowToRenameIt) {
    // As Notepad saves "originale.txt" where Explorer hides the extension, as a second
    // download names it, as Excel saves it.
    const std::string txt =
        " (in Esplora file, se le estensioni non si vedono, scrivi solo originale)";
    const std::string csv =
        " (in Esplora file, se le estensioni non si vedono, falle vedere prima: Visualizza, "
        "Mostra, Estensioni nomi file)";
    for (const auto& [simile, consiglio] :
         std::vector<std::pair<std::string, std::string>>{{"originale.txt.txt", txt},
                                                          {"Originale.txt.txt", txt},
                                                          {"originale (2).txt", txt},
                                                          {"originale (3).Txt", txt},
                                                          {"originale.txt.csv", csv},
                                                          {"originale.csv", csv},
                                                          {"ORIGINALE.CSV", csv}}) {
        SCOPED_TRACE(simile);
        const auto e = esegui({.file = {{simile, ORIGINALE}}, .input = "t\nLupi\nn\n"});
        EXPECT_EQ(e.out, FORMATO + NOME + ANCORA);
        EXPECT_EQ(e.err, "Impossibile leggere il file originale.txt nella cartella " + e.cartella +
                             ": non c'\xE8, ma c'\xE8 " + simile + ": rinominalo in originale.txt" +
                             consiglio + "\n");
        EXPECT_EQ(e.stato, 1);
        EXPECT_EQ(e.file, (std::map<std::string, std::string>{{simile, ORIGINALE}}));
    }
}

TEST(Errori, FixtureThatCannotBeReadIsAFailureNotZeroMatches) {
    // A list beside it under a name like it is not pointed out: the folder is the reason.
    const auto e = esegui({.file = {{"calendario.txt", "vecchio\n"}, {"originale.csv", ORIGINALE}},
                           .cartelle = {"originale.txt"},
                           .input = "t\nLupi\nn\n"});
    EXPECT_EQ(e.out, FORMATO + NOME + ANCORA);
    EXPECT_EQ(e.err, "Impossibile leggere il file originale.txt nella cartella " + e.cartella +
                         ": \xE8 una cartella\n");
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.file, (std::map<std::string, std::string>{{"calendario.txt", "vecchio\n"},
                                                          {"originale.csv", ORIGINALE},
                                                          {"originale.txt/", ""}}));
}

TEST(Errori, OutputThatCannotBeReplacedIsReportedAndNoTemporaryFileStays) {
    struct Caso {
        std::string lettera;
        std::string cartella;
        std::map<std::string, std::string> prima;
    };
    const std::vector<Caso> casi{
        {"t", "calendario.txt", {}},
        {"x", "temp.txt", {{"calendario.xls", "vecchio xls\n"}}},
        {"x", "calendario.xls", {{"temp.txt", "vecchio temp\n"}}},
        {"h", "calendario.html", {{"temp.txt", "vecchio temp\n"}}},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.cartella);
        auto file = caso.prima;
        file["originale.txt"] = ORIGINALE;
        const auto e = esegui(
            {.file = file, .cartelle = {caso.cartella}, .input = caso.lettera + "\nLupi\nn\n"});
        EXPECT_EQ(e.out, FORMATO + NOME + ANCORA);
        EXPECT_EQ(e.err, "Impossibile scrivere il file " + caso.cartella + ": \xE8 una cartella\n");
        EXPECT_EQ(e.stato, 1);
        file[caso.cartella + "/"] = "";
        EXPECT_EQ(e.file, file);
    }
}

TEST(Errori, DocumentThatIsNoTextListIsRefusedSayingHowToSaveItAsText) {
    // Each by its first bytes, whatever its name; what is after the reason says what to do.
    const std::string zip = "PK\x03\x04"s + std::string(26, '\0');
    const std::string ole = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"s + std::string(504, '\0');
    const std::string salvato = ", poi dai a turnolista il file salvato";
    const std::string excel =
        "\xE8 un file di Excel, non di testo: aprilo in Excel, scegli Salva con nome e come tipo "
        "\xAB"
        "CSV (delimitato dal separatore di elenco)\xBB" +
        salvato;
    const std::string word =
        "\xE8 un documento di Word, non di testo: aprilo in Word, scegli Salva con nome e come "
        "tipo \xABTesto normale\xBB" +
        salvato;
    const std::vector<std::tuple<std::string, std::string, std::string>> casi{
        {"Girone B.xlsx", zip + "[Content_Types].xml xl/workbook.xml", excel},
        {"Girone B.xls", ole + "W\0o\0r\0k\0b\0o\0o\0k\0"s, excel},
        {"Girone B.docx", zip + "[Content_Types].xml word/document.xml", word},
        {"Girone B.doc", ole + "W\0o\0r\0d\0D\0o\0c\0u\0m\0e\0n\0t\0"s, word},
        {"originale.txt", "%PDF-1.7\n%\xE2\xE3\xCF\xD3\n",
         "\xE8 un PDF, non un file di testo: aprilo, seleziona la tabella delle partite, "
         "copiala, incollala nel Blocco note e salvala" +
             salvato},
        {"Girone B.ods", zip + "mimetypeapplication/vnd.oasis.opendocument.spreadsheet",
         "\xE8 un documento di LibreOffice, non di testo: aprilo in LibreOffice, scegli Salva con "
         "nome e come tipo \xABTesto CSV\xBB (o \xABTesto\xBB per un documento di Writer)" +
             salvato},
        {"Girone B.zip", zip + "Girone B.csv",
         "\xE8 un archivio zip, non un file di testo: estrailo (tasto destro, Estrai tutto...), "
         "poi dai a turnolista il calendario che contiene"},
        {"Girone B.png", "\x89PNG\r\n\x1A\n\0\0\0\rIHDR"s,
         "\xE8 un'immagine, non un file di testo: scarica il calendario come testo, CSV o Excel, "
         "o scrivi le partite nel Blocco note e salvale" +
             salvato},
    };
    for (const auto& [nome, byte, motivo] : casi) {
        SCOPED_TRACE(nome);
        const std::map<std::string, std::string> prima{{nome, byte}, {"calendario.txt", "v\n"}};
        const auto e = esegui({.file_grezzi = prima, .input = "t\nLupi\nn\n", .argomenti = {nome}});
        EXPECT_EQ(e.out, FALLITA);
        EXPECT_EQ(e.err, "Impossibile leggere il file " + nome + " nella cartella " + e.cartella +
                             ": " + motivo + "\n");
        EXPECT_EQ(e.stato, 1);
        EXPECT_EQ(e.file, prima);
    }
    // The same for originale.txt, with no argument.
    const auto e = esegui(
        {.file_grezzi = {{"originale.txt", zip + "xl/workbook.xml"}}, .input = "t\nLupi\nn\n"});
    EXPECT_EQ(e.err, "Impossibile leggere il file originale.txt nella cartella " + e.cartella +
                         ": " + excel + "\n");
}

TEST(Errori, TextListNamedLikeATableIsAListThatNoPassMayOverwrite) {
    // As this program's own calendario.xls, given back to it.
    const std::map<std::string, std::string> prima{{"calendario.xls", LUPI_XLS}};
    const auto t =
        esegui({.file = prima, .input = "t\nLupi\nn\n", .argomenti = {"calendario.xls"}});
    EXPECT_EQ(t.out, RIUSCITA_TXT);
    EXPECT_EQ(t.file.at("calendario.txt"),
              "1\t1\t13/09\t10:30\tOratorio\tFalchi-Lupi\n\n2\t\t\t\t\tRiposa Lupi\n\n");
    const auto x =
        esegui({.file = prima, .input = "x\nLupi\nn\n", .argomenti = {"calendario.xls"}});
    EXPECT_EQ(x.out, FALLITA);
    EXPECT_EQ(x.err,
              "Impossibile scrivere il file calendario.xls: \xE8 il calendario che turnolista sta "
              "leggendo, che verrebbe cancellato: scegli un altro formato, o rinominalo\n");
    EXPECT_EQ(x.stato, 1);
    EXPECT_EQ(x.file, prima);
}

TEST(Errori, OneFailedPassMakesTheExitStatusOne) {
    const auto e = esegui({.file = {{"originale.txt", ORIGINALE}},
                           .cartelle = {"calendario.doc"},
                           .input = "w\nLupi\ny\nt\nLupi\nn\n"});
    EXPECT_EQ(e.out, FORMATO + NOME + ANCORA + FORMATO + NOME + RIEPILOGO_TXT + ANCORA);
    EXPECT_EQ(e.err, "Impossibile scrivere il file calendario.doc: \xE8 una cartella\n");
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.file.at("calendario.txt"),
              "1 13/09 10:30 Oratorio Falchi-Lupi\n\nGiornata 1: Riposa Lupi\n\n");
}

TEST(Errori, OnlyTheFilesThisRunMadeAreEverRemoved) {
    // The user's own files, and one left by a run of a process that cannot exist: names
    // like those the program writes under, which are not this run's.
    const std::map<std::string, std::string> altrui{{".calendario.txt.2024", "2024\n"},
                                                    {".calendario.txt.dead", "dead\n"},
                                                    {".calendario.txt.7fffffff", "mezzo\n"},
                                                    {".calendario.txt~", "copia\n"}};
    Avvio avvio{.file = altrui, .input = "t\nLupi\nn\n"};
    avvio.file["originale.txt"] = ORIGINALE;
    const auto e = esegui(avvio);
    EXPECT_EQ(e.out, FORMATO + NOME + RIEPILOGO_TXT + ANCORA);
    auto attesi = avvio.file;
    attesi["calendario.txt"] = LUPI_TESTO;
    EXPECT_EQ(e.file, attesi);
}

TEST(Flussi, ClosedStandardStreamsAreReportedWithStatusOne) {
    const std::map<std::string, std::string> prima{{"originale.txt", "1 Lupi-Orsi\n"},
                                                   {"calendario.txt", "vecchio\n"}};
    const auto chiuso = esegui({.file = prima, .senza_input = true});
    EXPECT_EQ(chiuso.out, FORMATO);
    EXPECT_EQ(chiuso.err, "Impossibile leggere lo standard input: non \xE8 aperto\n");
    EXPECT_EQ(chiuso.stato, 1);
    EXPECT_EQ(chiuso.file, prima);

    // With standard output closed no file may take its place and receive the messages.
    const auto senza = esegui({.file = prima, .input = "t\nLupi\nn\n", .senza_output = true});
    EXPECT_EQ(senza.err, "Impossibile scrivere sullo standard output: non \xE8 aperto\n");
    EXPECT_EQ(senza.stato, 1);
    EXPECT_EQ(senza.file, prima);
}

}  // namespace
}  // namespace prova
