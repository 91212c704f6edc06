#include <gtest/gtest.h>

#include <filesystem>

#include "esecuzione.hpp"
#include "esecuzione_sistema.hpp"

namespace prova {
namespace {

const std::string AIUTO =
    "Uso: turnolista [FILE | CARTELLA]\n"
    "     turnolista --help | --version\n"
    "\n"
    "Estrae dal calendario di un campionato le partite di una squadra.\n"
    "Chiede il formato e il nome della squadra, cerca il nome in tutte le righe del\n"
    "calendario FILE (o del file originale.txt di CARTELLA o, senza argomenti, della\n"
    "cartella corrente) e copia ogni riga che lo contiene nel file del formato scelto,\n"
    "nella cartella del calendario:\n"
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
    for (const auto& argomenti : {std::vector<std::string>{"--version"},
                                  {"--version", "--help"},
                                  {"originale.txt", "calendario.txt", "--version"}}) {
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

// A folder with a space, and on POSIX systems an accent (the harness names its files in
// Windows' ANSI code page, where the program reads arguments as text): its name as a file
// is made, and as a message in the C locale shows it.
const std::string GIRONE = sistema::testo_crlf() ? "Girone B" : "Girone B \xC3\xA8";
const std::string GIRONE_DETTO = sistema::testo_crlf() ? "Girone B" : "Girone B \xE8";

// The folder `nome` beside the one a run started in, as a message names it.
std::string accanto(const Esecuzione& e, const std::string& nome) {
    return (std::filesystem::path(e.cartella).parent_path() / nome).string();
}

// What a run says in the folder of the list, said from another: where its file is.
std::string da_altrove(std::string out, const std::string& cartella) {
    const std::string file = "nel file calendario.";
    out.insert(out.find_first_of(" \n", out.find(file) + file.size()),
               " nella cartella " + cartella);
    return out;
}

TEST(RigaDiComando, ListGivenFromAnotherFolderIsReadAndItsFilesAreWrittenBesideIt) {
    // Each format as a run in the list's own folder makes it, with the list under its own name.
    const std::string lista = GIRONE + "/Calendario Lupi.csv";
    for (const std::string lettera : {"t", "w", "x", "h", "c"}) {
        SCOPED_TRACE(lettera);
        const std::string adesso = "2026-09-01T08:00:00Z";
        const std::string input = lettera + "\nLupi\nn\n";
        const auto qui =
            esegui({.file = {{"originale.txt", ORIGINALE}}, .input = input, .adesso = adesso});
        const auto e = esegui({.file = {{lista, ORIGINALE}},
                               .parte_da = "altrove",
                               .input = input,
                               .argomenti = {"../" + lista},
                               .adesso = adesso});
        EXPECT_EQ(e.out, da_altrove(qui.out, accanto(e, GIRONE_DETTO)));
        EXPECT_EQ(e.err, "");
        EXPECT_EQ(e.stato, 0);
        std::map<std::string, std::string> attesi{
            {lista, ORIGINALE}, {GIRONE + "/", ""}, {"altrove/", ""}};
        for (const auto& [nome, testo] : qui.file) {
            if (nome != "originale.txt") {
                attesi[GIRONE + "/" + nome] = testo;
            }
        }
        EXPECT_EQ(attesi.size(), lettera == "x" || lettera == "h" ? 5U : 4U);
        EXPECT_EQ(e.file, attesi);
    }
    const auto t = esegui({.file = {{lista, ORIGINALE}},
                           .parte_da = "altrove",
                           .input = "t\nLupi\nn\n",
                           .argomenti = {"../" + lista}});
    EXPECT_EQ(t.out, da_altrove(RIUSCITA_TXT, accanto(t, GIRONE_DETTO)));
    EXPECT_EQ(t.file.at(GIRONE + "/calendario.txt"), LUPI_TESTO);
}

TEST(RigaDiComando, FolderGivenIsReadForItsOriginaleTxt) {
    const auto e = esegui({.file = {{GIRONE + "/originale.txt", ORIGINALE}},
                           .input = "x\nLupi\nn\n",
                           .argomenti = {GIRONE}});
    EXPECT_EQ(e.out, da_altrove(RIUSCITA_XLS,
                                (std::filesystem::path(e.cartella) / GIRONE_DETTO).string()));
    EXPECT_EQ(e.stato, 0);
    EXPECT_EQ(e.file, (std::map<std::string, std::string>{{GIRONE + "/", ""},
                                                          {GIRONE + "/originale.txt", ORIGINALE},
                                                          {GIRONE + "/calendario.xls", LUPI_XLS},
                                                          {GIRONE + "/temp.txt", LUPI_RIGHE}}));
}

TEST(RigaDiComando, FailuresInTheListsFolderNameThatFolder) {
    struct Caso {
        std::map<std::string, std::string> file;
        std::vector<std::string> cartelle;
        std::string argomento;
        std::string err;  // after "Impossibile "
        std::map<std::string, std::string> link;
    };
    std::vector<Caso> casi{
        // The near-miss names of a folder given as of the current one.
        {{{GIRONE + "/originale (1).txt", ORIGINALE}},
         {},
         "../" + GIRONE,
         "leggere il file originale.txt nella cartella " + GIRONE_DETTO +
             ": non c'\xE8, ma c'\xE8 originale (1).txt: rinominalo in originale.txt (in Esplora "
             "file, se le estensioni non si vedono, scrivi solo originale)"},
        {{{GIRONE + "/lista.txt", ORIGINALE}},
         {GIRONE + "/calendario.txt"},
         "../" + GIRONE + "/lista.txt",
         "scrivere il file calendario.txt nella cartella " + GIRONE_DETTO + ": \xE8 una cartella"},
    };
    if (!sistema::testo_crlf()) {
        // The list under its own name is the one no pass may write through a link.
        casi.push_back({{{GIRONE + "/lista.txt", ORIGINALE}},
                        {},
                        "../" + GIRONE + "/lista.txt",
                        "scrivere il file calendario.txt nella cartella " + GIRONE_DETTO +
                            ": \xE8 lo stesso file di lista.txt, che verrebbe cancellato; fai "
                            "puntare calendario.txt a un altro file",
                        {{GIRONE + "/calendario.txt", "lista.txt"}}});
    }
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.argomento);
        const auto e = esegui({.file = caso.file,
                               .cartelle = caso.cartelle,
                               .parte_da = "altrove",
                               .link = caso.link,
                               .input = "t\nLupi\nn\n",
                               .argomenti = {caso.argomento}});
        const std::string cartella = accanto(e, "");
        std::string err = caso.err;
        err.insert(err.find(GIRONE_DETTO), cartella);
        EXPECT_EQ(e.err, "Impossibile " + err + "\n");
        EXPECT_EQ(e.out, FALLITA);
        EXPECT_EQ(e.stato, 1);
    }
}

TEST(RigaDiComando, TwoFilesOrFoldersAreRefusedAndNothingIsTouched) {
    auto presenti = FILE_PRESENTI;
    presenti["squadre/"] = "";
    for (const auto& [argomenti, quanti] : std::vector<std::pair<std::vector<std::string>, int>>{
             {{"originale.txt", "calendario.txt"}, 2},
             {{"squadre", "originale.txt", "squadre"}, 3}}) {
        const auto e = esegui({.file = FILE_PRESENTI,
                               .cartelle = {"squadre"},
                               .input = "t\nLupi\nn\n",
                               .argomenti = argomenti});
        EXPECT_EQ(e.out, "");
        EXPECT_EQ(e.err, "turnolista: hai dato " + std::to_string(quanti) +
                             " file o cartelle, ma turnolista legge un calendario alla volta: "
                             "dagliene uno solo\n");
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
