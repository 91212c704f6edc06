#include <gtest/gtest.h>

#include "esecuzione.hpp"
#include "esecuzione_sistema.hpp"

namespace prova {
namespace {

const std::string AIUTO =
    "Uso: turnolista [--help | --version]\n"
    "\n"
    "Estrae dal calendario di un campionato le partite di una squadra.\n"
    "Senza argomenti chiede il formato e il nome della squadra, cerca il nome in tutte\n"
    "le righe del file originale.txt della cartella corrente e copia ogni riga che lo\n"
    "contiene nel file del formato scelto:\n"
    "  t  calendario.txt   testo, ogni riga seguita da una riga vuota\n"
    "  w  calendario.doc   lo stesso testo, per Word\n"
    "  x  calendario.xls   tabella separata da tabulazioni, per Excel\n"
    "  h  calendario.html  pagina web con una tabella a colori\n"
    "  c  calendario.ics   le partite nel calendario del telefono, di Google,\n"
    "                      di Apple o di Outlook\n"
    "I formati x e h lasciano anche le righe trovate nel file temp.txt.\n"
    "\n"
    "Opzioni:\n"
    "  -h, -?, --help  mostra questo aiuto ed esce (su Windows anche /? e /help)\n"
    "      --version   mostra la versione ed esce\n"
    "\n"
    "Stato d'uscita:\n"
    "  0  tutte le ricerche sono riuscite\n"
    "  1  almeno una ricerca non \xE8 riuscita (un file non si poteva leggere o scrivere)\n"
    "  2  argomenti non validi\n";

const std::map<std::string, std::string> FILE_PRESENTI{{"originale.txt", "1 Lupi-Orsi\n"},
                                                       {"calendario.txt", "vecchio\n"}};

TEST(RigaDiComando, HelpIsPrintedWithoutTouchingFilesOrReadingInput) {
    for (const std::string opzione : {"--help", "-h", "-?"}) {
        const auto e =
            esegui({.file = FILE_PRESENTI, .input = "t\nLupi\nn\n", .argomenti = {opzione}});
        EXPECT_EQ(e.out, AIUTO);
        EXPECT_EQ(e.err, "");
        EXPECT_EQ(e.stato, 0);
        EXPECT_EQ(e.file, FILE_PRESENTI);
    }
}

TEST(RigaDiComando, VersionNamesTheProgram) {
    // The first option decides.
    for (const auto& argomenti : {std::vector<std::string>{"--version"}, {"--version", "--help"}}) {
        const auto e = esegui({.file = FILE_PRESENTI, .argomenti = argomenti});
        EXPECT_EQ(e.out, "turnolista " VERSIONE_ATTESA "\n");
        EXPECT_EQ(e.stato, 0);
        EXPECT_EQ(e.file, FILE_PRESENTI);
    }
}

TEST(RigaDiComando, UnknownArgumentIsRefusedWithStatusTwo) {
    for (const std::vector<std::string>& argomenti :
         {std::vector<std::string>{"--foo"}, {"calendario"}, {"--help", "-x"}, {""}}) {
        const std::string sbagliato = argomenti.back();
        SCOPED_TRACE(sbagliato);
        const auto e =
            esegui({.file = FILE_PRESENTI, .input = "t\nLupi\nn\n", .argomenti = argomenti});
        EXPECT_EQ(e.out, "");
        EXPECT_EQ(e.err, "turnolista: opzione non riconosciuta: " + sbagliato +
                             "\nPer l'aiuto: turnolista --help\n");
        EXPECT_EQ(e.stato, 2);
        EXPECT_EQ(e.file, FILE_PRESENTI);
    }
}

TEST(RigaDiComando, FileOrFolderGivenToTheProgramIsExplainedAndLeftAlone) {
    // As Explorer gives a file or a folder dropped on the program.
    const std::string legge =
        " ma turnolista legge sempre il file originale.txt della cartella da cui parte: ";
    auto presenti = FILE_PRESENTI;
    presenti["squadre/"] = "";
    for (const auto& [dato, err] : std::vector<std::pair<std::string, std::string>>{
             {"calendario.txt", "turnolista: calendario.txt \xE8 un file," + legge +
                                    "copia il file in quella cartella con il nome originale.txt "
                                    "e avvia turnolista da l\xEC\n"},
             {"squadre", "turnolista: squadre \xE8 una cartella," + legge +
                             "metti l\xEC il calendario con il nome originale.txt e avvia "
                             "turnolista da quella cartella\n"}}) {
        const auto e = esegui({.file = FILE_PRESENTI,
                               .cartelle = {"squadre"},
                               .input = "t\nLupi\nn\n",
                               .argomenti = {dato}});
        EXPECT_EQ(e.out, "");
        EXPECT_EQ(e.err, err);
        EXPECT_EQ(e.stato, 2);
        EXPECT_EQ(e.file, presenti);
    }
}

TEST(RigaDiComando, UnknownArgumentIsQuotedAsTypedWithControlsEscaped) {
    // The byte 0x9B is a C1 control; Windows reads arguments as characters, where it is a
    // quotation mark of the ANSI code page.
    const bool byte_c1 = !sistema::testo_crlf();
    const std::string strano = std::string("\x1B[2J\xE8\\") + (byte_c1 ? "\x9B" : "") + "\n";
    const auto c = esegui({.argomenti = {strano}});
    EXPECT_EQ(c.err, std::string("turnolista: opzione non riconosciuta: \\033[2J\xE8\\\\") +
                         (byte_c1 ? "\\233" : "") + "\\012\nPer l'aiuto: turnolista --help\n");
    EXPECT_EQ(c.stato, 2);
    if (byte_c1) {
        // Bytes of UTF-8 stay as typed where the console is of another character set.
        EXPECT_EQ(esegui({.argomenti = {"--\xE2\x82\xAC"}}).err,
                  "turnolista: opzione non riconosciuta: --\xE2\x82\xAC\nPer l'aiuto: turnolista "
                  "--help\n");
    }
}

}  // namespace
}  // namespace prova
