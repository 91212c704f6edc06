// POSIX only: permission bits, owners, an unprivileged user, links, devices and named pipes
//
// How a pass replaces files: as opening them for writing would, through links, keeping
// owners, modes and hard links, and never leaving a temporary file behind.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

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

TEST(Sostituzione, ReplacedFileKeepsItsOwnerAndModeButNeverSetuid) {
    RICHIEDE_NOBODY();
    // Another owner's file that the user may write, in a folder the user may write: the
    // content changes, the file stays the owner's.
    const auto altrui = esegui({.file = {{"originale.txt", ORIGINALE}, {"calendario.txt", "v\n"}},
                                .permessi = {{"calendario.txt", 0666U}},
                                .input = "t\nLupi\nn\n",
                                .senza_privilegi = true});
    EXPECT_EQ(altrui.out, RIUSCITA_TXT);
    EXPECT_EQ(altrui.stato, 0);
    EXPECT_EQ(altrui.file, (std::map<std::string, std::string>{{"originale.txt", ORIGINALE},
                                                               {"calendario.txt", LUPI_TESTO}}));
    EXPECT_EQ(altrui.proprietari.at("calendario.txt"), 0U);
    EXPECT_EQ(altrui.permessi.at("calendario.txt"), 0666U);

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

    // Root replacing a setuid file of another user gives it back to that user, without setuid.
    const auto come_root =
        esegui({.file = {{"originale.txt", ORIGINALE}, {"calendario.txt", "v\n"}},
                .permessi = {{"calendario.txt", 04755U}},
                .proprietari = {{"calendario.txt", nobody}},
                .input = "t\nLupi\nn\n"});
    EXPECT_EQ(come_root.file.at("calendario.txt"), LUPI_TESTO);
    EXPECT_EQ(come_root.permessi.at("calendario.txt"), 0755U);
    EXPECT_EQ(come_root.proprietari.at("calendario.txt"), nobody);
}

TEST(Sostituzione, WritableFileInAFolderClosedToNewFilesIsWrittenInPlace) {
    RICHIEDE_NOBODY();
    // The user's own files, which a rename would replace if the folder took new files.
    const uid_t nobody = utente_senza_privilegi();
    const auto e = esegui(
        {.file = {{"originale.txt", ORIGINALE}, {"calendario.xls", "v\n"}, {"temp.txt", "v\n"}},
         .permessi = {{"calendario.xls", 0644U}, {"temp.txt", 0644U}, {".", 0555U}},
         .proprietari = {{"calendario.xls", nobody}, {"temp.txt", nobody}},
         .input = "x\nLupi\nn\n",
         .senza_privilegi = true});
    EXPECT_EQ(e.out, RIUSCITA_XLS);
    EXPECT_EQ(e.stato, 0);
    EXPECT_EQ(e.file, (std::map<std::string, std::string>{{"originale.txt", ORIGINALE},
                                                          {"calendario.xls", LUPI_XLS},
                                                          {"temp.txt", LUPI_RIGHE}}));

    // A file that does not exist yet cannot be made there.
    const auto nuovo = esegui({.file = {{"originale.txt", ORIGINALE}},
                               .permessi = {{".", 0555U}},
                               .input = "t\nLupi\nn\n",
                               .senza_privilegi = true});
    EXPECT_EQ(nuovo.err, "Impossibile scrivere il file calendario.txt: permesso negato\n");
    EXPECT_EQ(nuovo.stato, 1);
    EXPECT_EQ(nuovo.file, (std::map<std::string, std::string>{{"originale.txt", ORIGINALE}}));
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

TEST(Sostituzione, HardLinksStayLinked) {
    const auto e = esegui({.file = {{"originale.txt", ORIGINALE}, {"calendario.txt", "v\n"}},
                           .hard = {{"copia.txt", "calendario.txt"}},
                           .input = "t\nLupi\nn\n"});
    EXPECT_EQ(e.out, RIUSCITA_TXT);
    EXPECT_EQ(e.file, (std::map<std::string, std::string>{{"originale.txt", ORIGINALE},
                                                          {"calendario.txt", LUPI_TESTO},
                                                          {"copia.txt", LUPI_TESTO}}));
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

    const auto cerchio = esegui({.file = {{"originale.txt", ORIGINALE}},
                                 .link = {{"calendario.txt", "calendario.txt"}},
                                 .input = "t\nLupi\nn\n"});
    EXPECT_EQ(cerchio.err,
              "Impossibile scrivere il file calendario.txt: troppi collegamenti simbolici uno "
              "dentro l'altro\n");
    EXPECT_EQ(cerchio.stato, 1);
}

TEST(Sostituzione, LinkToADeviceWritesTheDevice) {
    const auto e = esegui({.file = {{"originale.txt", ORIGINALE}},
                           .link = {{"calendario.txt", "/dev/null"}},
                           .input = "t\nLupi\nn\n"});
    EXPECT_EQ(e.out, RIUSCITA_TXT);
    EXPECT_EQ(e.stato, 0);
    EXPECT_EQ(e.file, (std::map<std::string, std::string>{{"originale.txt", ORIGINALE},
                                                          {"calendario.txt@", "/dev/null"}}));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
}

bool temporanei_scritti(const std::filesystem::path& cartella) {
    int n = 0;
    for (const auto& voce : std::filesystem::directory_iterator(cartella)) {
        const std::string nome = voce.path().filename().string();
        n += nome.starts_with(".temp.txt.") || nome.starts_with(".calendario.xls.") ? 1 : 0;
    }
    return n == 2;
}

TEST(Sostituzione, DestinationThatBecameAFolderIsToldWithTheTableAlreadyWritten) {
    // The fixture list is a pipe, ended once both files are written under their temporary
    // names and temp.txt has become a folder.
    const auto e =
        esegui({.file = {{"calendario.xls", "v\n"}, {"temp.txt", "v\n"}},
                .input = "x\nLupi\nn\n",
                .fifo = {"originale.txt"},
                .durante = [](pid_t programma, const std::filesystem::path& cartella) {
                    const int pipe = ::open((cartella / "originale.txt").c_str(), O_WRONLY);
                    ASSERT_GE(pipe, 0);
                    ASSERT_EQ(::write(pipe, ORIGINALE.data(), ORIGINALE.size()),
                              static_cast<ssize_t>(ORIGINALE.size()));
                    ASSERT_TRUE(aspetta(programma, [&] { return temporanei_scritti(cartella); }));
                    std::filesystem::remove(cartella / "temp.txt");
                    std::filesystem::create_directory(cartella / "temp.txt");
                    ::close(pipe);
                }});
    EXPECT_EQ(e.out, FORMATO + NOME + ANCORA);
    EXPECT_EQ(e.err,
              "Impossibile scrivere il file temp.txt: \xE8 una cartella; il file calendario.xls "
              "invece \xE8 gi\xE0 stato scritto\n");
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.file,
              (std::map<std::string, std::string>{
                  {"originale.txt|", ""}, {"calendario.xls", LUPI_XLS}, {"temp.txt/", ""}}));
}

TEST(Sostituzione, NameTakenWhereThisRunWouldWriteIsNeverWrittenThrough) {
    // A link, planted where this run would make its file beside calendario.txt before the
    // run gets there: the fixture list is a pipe, written once the link stands.
    std::string piantato;
    const auto e = esegui({.file = {{"vittima", "vittima\n"}},
                           .input = "t\nLupi\nn\n",
                           .fifo = {"originale.txt"},
                           .durante = [&](pid_t programma, const std::filesystem::path& cartella) {
                               std::ostringstream nome;
                               nome << ".calendario.txt." << std::hex << programma;
                               piantato = nome.str();
                               std::filesystem::create_symlink("vittima", cartella / piantato);
                               const int pipe =
                                   ::open((cartella / "originale.txt").c_str(), O_WRONLY);
                               ASSERT_GE(pipe, 0);
                               ASSERT_EQ(::write(pipe, ORIGINALE.data(), ORIGINALE.size()),
                                         static_cast<ssize_t>(ORIGINALE.size()));
                               ::close(pipe);
                           }});
    EXPECT_EQ(e.out, RIUSCITA_TXT);
    EXPECT_EQ(e.file, (std::map<std::string, std::string>{{"originale.txt|", ""},
                                                          {"calendario.txt", LUPI_TESTO},
                                                          {"vittima", "vittima\n"},
                                                          {piantato + "@", "vittima"}}));
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
