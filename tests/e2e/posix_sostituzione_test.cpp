// POSIX only: permission bits, owners, an unprivileged user, links, devices and named pipes
//
// How a pass replaces files: a new file renamed over the old one, in the folder a link
// points into, with the old file's permission bits; what it may not replace is refused
// before anything is written.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "esecuzione.hpp"

namespace prova {
namespace {

TEST(Sostituzione, FileTheUserMayNotWriteIsRefusedBeforeAnythingIsWritten) {
    RICHIEDE_NOBODY();
    struct Caso {
        std::string lettera;
        std::string bloccato;
        unsigned modo;
        unsigned proprietario;
    };
    // The user's own read-only file, with the user's own group, could be renamed over; a
    // file of root's the user may read but not write.
    const uid_t nobody = utente_senza_privilegi();
    const std::vector<Caso> casi{{"t", "calendario.txt", 0444U, nobody},
                                 {"x", "calendario.xls", 0444U, nobody},
                                 {"x", "temp.txt", 0644U, 0U}};
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.bloccato);
        const auto e = esegui({.file = {{"originale.txt", ORIGINALE}, {caso.bloccato, "vecchio\n"}},
                               .permessi = {{caso.bloccato, caso.modo}},
                               .proprietari = {{caso.bloccato, caso.proprietario}},
                               .input = caso.lettera + "\nLupi\nn\n",
                               .senza_privilegi = true});
        EXPECT_EQ(e.out, FORMATO + NOME + ANCORA);
        EXPECT_EQ(e.err, "Impossibile scrivere il file " + caso.bloccato + ": permesso negato\n");
        EXPECT_EQ(e.stato, 1);
        EXPECT_EQ(e.file, (std::map<std::string, std::string>{{"originale.txt", ORIGINALE},
                                                              {caso.bloccato, "vecchio\n"}}));
    }
    // Root may write a read-only file, as with any program; it stays read-only.
    const auto root = esegui({.file = {{"originale.txt", ORIGINALE}, {"calendario.txt", "v\n"}},
                              .permessi = {{"calendario.txt", 0444U}},
                              .input = "t\nLupi\nn\n"});
    EXPECT_EQ(root.out, RIUSCITA_TXT);
    EXPECT_EQ(root.file.at("calendario.txt"), LUPI_TESTO);
    EXPECT_EQ(root.permessi.at("calendario.txt"), 0444U);
}

TEST(Sostituzione, ReplacedFileKeepsItsModeButNeverSetuid) {
    RICHIEDE_NOBODY();
    // A file of the user's own with a mode of its own; setuid, setgid and sticky are dropped.
    const uid_t nobody = utente_senza_privilegi();
    const auto propri = esegui(
        {.file = {{"originale.txt", ORIGINALE}, {"calendario.xls", "v\n"}, {"temp.txt", "v\n"}},
         .permessi = {{"calendario.xls", 06751U}, {"temp.txt", 01640U}},
         .proprietari = {{"calendario.xls", nobody}, {"temp.txt", nobody}},
         .input = "x\nLupi\nn\n",
         .senza_privilegi = true});
    EXPECT_EQ(propri.out, RIUSCITA_XLS);
    EXPECT_EQ(propri.file.at("calendario.xls"), LUPI_XLS);
    EXPECT_EQ(propri.permessi.at("calendario.xls"), 0751U);
    EXPECT_EQ(propri.permessi.at("temp.txt"), 0640U);
    EXPECT_EQ(propri.proprietari.at("calendario.xls"), nobody);
}

TEST(Sostituzione, FolderThatTakesNoNewFileIsRefusedBeforeAnythingIsWritten) {
    RICHIEDE_NOBODY();
    // The user's own files, which only a new file renamed over them could replace.
    const uid_t nobody = utente_senza_privilegi();
    const std::map<std::string, std::string> prima{
        {"originale.txt", ORIGINALE}, {"calendario.xls", "v\n"}, {"temp.txt", "v\n"}};
    const auto e =
        esegui({.file = prima,
                .permessi = {{"calendario.xls", 0644U}, {"temp.txt", 0644U}, {".", 0555U}},
                .proprietari = {{"calendario.xls", nobody}, {"temp.txt", nobody}},
                .input = "x\nLupi\nn\n",
                .senza_privilegi = true});
    EXPECT_EQ(e.out, FALLITA);
    EXPECT_EQ(e.err,
              "Impossibile scrivere il file calendario.xls: nella sua cartella non si possono "
              "creare file (permesso negato)\n");
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.file, prima);
}

TEST(Sostituzione, WriteOnlyTempFileDoesNotStopATablePass) {
    RICHIEDE_NOBODY();
    const auto e = esegui({.file = {{"originale.txt", ORIGINALE}, {"temp.txt", "v\n"}},
                           .permessi = {{"temp.txt", 0200U}},
                           .proprietari = {{"temp.txt", utente_senza_privilegi()}},
                           .input = "x\nLupi\nn\n",
                           .senza_privilegi = true});
    EXPECT_EQ(e.out, RIUSCITA_XLS);
    EXPECT_EQ(e.stato, 0);
    EXPECT_EQ(e.file.at("calendario.xls"), LUPI_XLS);
    EXPECT_EQ(e.file.at("temp.txt"), LUPI_RIGHE);
    EXPECT_EQ(e.permessi.at("temp.txt"), 0200U);
}

TEST(Sostituzione, OtherHardLinkKeepsTheOldContent) {
    // As with an editor that saves by rename: the name written gets the new file.
    const auto e = esegui({.file = {{"originale.txt", ORIGINALE}, {"calendario.txt", "v\n"}},
                           .hard = {{"copia.txt", "calendario.txt"}},
                           .input = "t\nLupi\nn\n"});
    EXPECT_EQ(e.out, RIUSCITA_TXT);
    EXPECT_EQ(e.file, (std::map<std::string, std::string>{{"originale.txt", ORIGINALE},
                                                          {"calendario.txt", LUPI_TESTO},
                                                          {"copia.txt", "v\n"}}));
}

TEST(Sostituzione, SymbolicLinksAreWrittenThrough) {
    const auto e = esegui({.file = {{"originale.txt", ORIGINALE}, {"condivisi/lupi.txt", "v\n"}},
                           .link = {{"calendario.txt", "condivisi/lupi.txt"},
                                    {"calendario.xls", "condivisi/nuovo.xls"},
                                    {"temp.txt", "catena"},
                                    {"catena", "condivisi/temp.txt"}},
                           .input = "t\nLupi\ny\nx\nLupi\nn\n"});
    EXPECT_EQ(e.out, RIUSCITA_TXT + RIUSCITA_XLS);
    EXPECT_EQ(e.stato, 0);
    EXPECT_EQ(e.file,
              (std::map<std::string, std::string>{{"originale.txt", ORIGINALE},
                                                  {"calendario.txt@", "condivisi/lupi.txt"},
                                                  {"calendario.xls@", "condivisi/nuovo.xls"},
                                                  {"temp.txt@", "catena"},
                                                  {"catena@", "condivisi/temp.txt"},
                                                  {"condivisi/", ""},
                                                  {"condivisi/lupi.txt", LUPI_TESTO},
                                                  {"condivisi/nuovo.xls", LUPI_XLS},
                                                  {"condivisi/temp.txt", LUPI_RIGHE}}));

    // A link in a sub-folder leads from that folder; a chain may end at an absolute path.
    const auto catena = esegui({.file = {{"originale.txt", ORIGINALE}},
                                .cartelle = {"sub", "altrove"},
                                .link = {{"calendario.txt", "sub/l"},
                                         {"calendario.doc", "sub/doc"},
                                         {"sub/doc", "cal.doc"}},
                                .input = "t\nLupi\ny\nw\nLupi\nn\n",
                                .prima = [](const std::filesystem::path& cartella) {
                                    std::filesystem::create_symlink(
                                        cartella / "altrove" / "cal.txt", cartella / "sub" / "l");
                                }});
    EXPECT_EQ(catena.stato, 0);
    EXPECT_EQ(catena.file,
              (std::map<std::string, std::string>{{"originale.txt", ORIGINALE},
                                                  {"calendario.txt@", "sub/l"},
                                                  {"calendario.doc@", "sub/doc"},
                                                  {"sub/", ""},
                                                  {"sub/l@", catena.cartella + "/altrove/cal.txt"},
                                                  {"sub/doc@", "cal.doc"},
                                                  {"sub/cal.doc", LUPI_TESTO},
                                                  {"altrove/", ""},
                                                  {"altrove/cal.txt", LUPI_TESTO}}));

    const auto cerchio = esegui({.file = {{"originale.txt", ORIGINALE}},
                                 .link = {{"calendario.txt", "calendario.txt"}},
                                 .input = "t\nLupi\nn\n"});
    EXPECT_EQ(cerchio.err,
              "Impossibile scrivere il file calendario.txt: troppi collegamenti simbolici uno "
              "dentro l'altro\n");
    EXPECT_EQ(cerchio.stato, 1);
}

TEST(Sostituzione, DestinationThatIsNoFileIsRefusedBeforeAnythingIsWritten) {
    struct Caso {
        Avvio avvio;
        std::string nome;
        std::string motivo;
    };
    const std::vector<Caso> casi{
        {{.link = {{"calendario.xls", "/dev/null"}}},
         "calendario.xls",
         "\xE8 un dispositivo, non un file"},
        {{.fifo = {"temp.txt"}}, "temp.txt", "\xE8 una pipe (FIFO), non un file"},
        {{.cartelle = {"temp.txt"}}, "temp.txt", "\xE8 una cartella"},
    };
    for (auto caso : casi) {
        SCOPED_TRACE(caso.motivo);
        caso.avvio.file["originale.txt"] = ORIGINALE;
        caso.avvio.input = "x\nLupi\nn\n";
        const auto e = esegui(caso.avvio);
        EXPECT_EQ(e.out, FALLITA);
        EXPECT_EQ(e.err, "Impossibile scrivere il file " + caso.nome + ": " + caso.motivo + "\n");
        EXPECT_EQ(e.stato, 1);
        EXPECT_FALSE(e.file.contains("calendario.xls"));
        for (const auto& [nome, contenuto] : e.file) {
            EXPECT_FALSE(nome.starts_with(".")) << nome;
        }
    }
}

TEST(Errori, ReplacedFilesKeepTheirPermissionsAndNewOnesFollowTheUmask) {
    const auto nuovi = esegui({.file = {{"originale.txt", ORIGINALE}}, .input = "x\nLupi\nn\n"});
    EXPECT_EQ(nuovi.permessi.at("temp.txt"), 0644U);
    EXPECT_EQ(nuovi.permessi.at("calendario.xls"), 0644U);

    const auto vecchi =
        esegui({.file = {{"originale.txt", ORIGINALE}, {"calendario.xls", "vecchio\n"}},
                .permessi = {{"calendario.xls", 0600U}},
                .input = "x\nLupi\nn\n"});
    EXPECT_EQ(vecchi.file.at("calendario.xls"),
              "1\t1\t13/09\t10:30\tOratorio\tFalchi-Lupi\n2\t\t\t\t\tRiposa Lupi\n");
    EXPECT_EQ(vecchi.permessi.at("calendario.xls"), 0600U);
    EXPECT_EQ(vecchi.permessi.at("temp.txt"), 0644U);
}

}  // namespace
}  // namespace prova
