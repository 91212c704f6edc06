// POSIX only: permission bits, owners, an unprivileged user, links, devices and flock
//
// How a pass replaces files: as opening them for writing would, through links, keeping
// owners, modes and hard links, and never leaving a temporary file behind.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>

#include "esecuzione.hpp"
#include "posix_strace.hpp"

namespace prova {
namespace {

const std::string ORIGINALE =
    "1 13/09 10:30 Oratorio Falchi-Lupi\n"
    "Giornata 1: Riposa Lupi\n";
const std::string LUPI_TESTO = "1 13/09 10:30 Oratorio Falchi-Lupi\n\nGiornata 1: Riposa Lupi\n\n";
const std::string LUPI_RIGHE = "1 13/09 10:30 Oratorio Falchi-Lupi\nGiornata 1: Riposa Lupi\n";
const std::string LUPI_XLS = "1\t1\t13/09\t10:30\tOratorio\tFalchi-Lupi\n2\t\t\t\t\tRiposa Lupi\n";
const std::string RIUSCITA_TXT =
    FORMATO + NOME + PRESENTE + "2" + ESEGUITO + COMPLIMENTI + "calendario.txt\n" + ANCORA;
const std::string RIUSCITA_XLS =
    FORMATO + NOME + PRESENTE + "2" + ESEGUITO + COMPLIMENTI + "calendario.xls\n" + ANCORA;

#define RICHIEDE_ROOT()                                                                    \
    if (!da_root()) {                                                                      \
        GTEST_SKIP() << "needs root, to give files to another user and run as nobody";     \
    }                                                                                      \
    if (!cartelle_raggiungibili()) {                                                       \
        GTEST_SKIP() << "the temporary folder is closed to other users, so nobody cannot " \
                        "reach a run's folder";                                            \
    }

TEST(Sostituzione, FileTheUserMayNotWriteIsRefusedBeforeAnythingIsWritten) {
    RICHIEDE_ROOT();
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
    RICHIEDE_ROOT();
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
    RICHIEDE_ROOT();
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
    RICHIEDE_ROOT();
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

// An x pass whose fixture list is a pipe: `durante` is called once the program has both its
// files written under their temporary names, with a function that ends the list.
Esecuzione passata_x(const std::function<void(pid_t, const std::filesystem::path&,
                                              const std::function<void()>&)>& durante,
                     std::vector<std::string> sotto = {}) {
    return esegui({.file = {{"calendario.xls", "v\n"}, {"temp.txt", "v\n"}},
                   .input = "x\nLupi\nn\n",
                   .ambiente = AMBIENTE_STRACE,
                   .fifo = {"originale.txt"},
                   .sotto = std::move(sotto),
                   .durante = [&durante](pid_t programma, const std::filesystem::path& cartella) {
                       int pipe = ::open((cartella / "originale.txt").c_str(), O_WRONLY);
                       ASSERT_GE(pipe, 0);
                       ASSERT_EQ(::write(pipe, ORIGINALE.data(), ORIGINALE.size()),
                                 static_cast<ssize_t>(ORIGINALE.size()));
                       ASSERT_TRUE(
                           aspetta(programma, [&] { return temporanei_scritti(cartella); }));
                       const auto fine_lista = [&pipe] {
                           ::close(pipe);
                           pipe = -1;
                       };
                       durante(programma, cartella, fine_lista);
                       if (pipe >= 0) {
                           fine_lista();
                       }
                   }});
}

// The lock another run holds: a shared one is enough to keep out a run that takes its
// lock as it should, exclusively.
class AltraEsecuzione {
  public:
    explicit AltraEsecuzione(const std::filesystem::path& cartella)
        : fd_(::open(cartella.c_str(), O_RDONLY | O_DIRECTORY)) {
        EXPECT_EQ(::flock(fd_, LOCK_SH), 0);
    }
    ~AltraEsecuzione() { ::close(fd_); }
    AltraEsecuzione(const AltraEsecuzione&) = delete;
    AltraEsecuzione& operator=(const AltraEsecuzione&) = delete;

  private:
    int fd_;
};

TEST(Sostituzione, AnotherRunPuttingFilesInPlaceIsWaitedFor) {
    if (!strace_presente()) {
        GTEST_SKIP() << "needs strace, to see the program find the folder locked";
    }
    // What strace saw of the program's flock() calls tells when it has found the lock held.
    const auto tracce =
        std::filesystem::temp_directory_path() / ("turnolista-flock-" + std::to_string(::getpid()));
    const auto e = passata_x(
        [&](pid_t programma, const std::filesystem::path& cartella, const auto& fine_lista) {
            {
                const AltraEsecuzione altra(cartella);
                fine_lista();
                EXPECT_TRUE(aspetta(programma, [&] {
                    return leggi(tracce).find("EWOULDBLOCK") != std::string::npos ||
                           leggi(tracce).find("EAGAIN") != std::string::npos;
                }));
                EXPECT_EQ(leggi(cartella / "calendario.xls"), "v\n");
                EXPECT_EQ(leggi(cartella / "temp.txt"), "v\n");
            }
        },
        {"strace", "-qq", "-o", tracce.string(), "-e", "trace=flock"});
    std::filesystem::remove(tracce);
    EXPECT_EQ(e.out, RIUSCITA_XLS);
    EXPECT_EQ(e.stato, 0);
    EXPECT_EQ(e.file,
              (std::map<std::string, std::string>{
                  {"originale.txt|", ""}, {"calendario.xls", LUPI_XLS}, {"temp.txt", LUPI_RIGHE}}));
}

TEST(Sostituzione, AnotherRunHoldingTheFolderTooLongFailsThePassAndKeepsBothFiles) {
    // The lock is held until the program has given up waiting, after ten seconds.
    std::optional<AltraEsecuzione> altra;
    const auto e = passata_x([&](pid_t, const std::filesystem::path& cartella, const auto&) {
        altra.emplace(cartella);
    });
    EXPECT_EQ(e.out, FORMATO + NOME + ANCORA);
    EXPECT_EQ(e.err,
              "Impossibile scrivere il file calendario.xls: un'altra esecuzione di turnolista sta "
              "scrivendo i suoi file in questa cartella da pi\xF9 di 10 secondi; riprova quando "
              "avr\xE0 finito\n");
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.file, (std::map<std::string, std::string>{
                          {"originale.txt|", ""}, {"calendario.xls", "v\n"}, {"temp.txt", "v\n"}}));
}

TEST(Sostituzione, DestinationThatBecameAFolderStopsThePairBeforeEitherIsReplaced) {
    const auto e = passata_x([](pid_t, const std::filesystem::path& cartella, const auto&) {
        std::filesystem::remove(cartella / "temp.txt");
        std::filesystem::create_directory(cartella / "temp.txt");
    });
    EXPECT_EQ(e.out, FORMATO + NOME + ANCORA);
    EXPECT_EQ(e.err, "Impossibile scrivere il file temp.txt: \xE8 una cartella\n");
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.file, (std::map<std::string, std::string>{
                          {"originale.txt|", ""}, {"calendario.xls", "v\n"}, {"temp.txt/", ""}}));
}

TEST(Sostituzione, SignalWhileFilesArePutInPlaceTakesEffectOnceBothAreThere) {
    if (!strace_presente()) {
        GTEST_SKIP() << "needs strace, to send SIGINT as the first file is put in place";
    }
    const auto e = esegui(
        {.file = {{"originale.txt", ORIGINALE}, {"calendario.xls", "v\n"}, {"temp.txt", "v\n"}},
         .input = "x\nLupi\nn\n",
         .ambiente = AMBIENTE_STRACE,
         .sotto = strace("rename,renameat,renameat2", "signal=INT:when=1")});
    EXPECT_EQ(e.stato, 128 + SIGINT);
    EXPECT_EQ(e.file, (std::map<std::string, std::string>{{"originale.txt", ORIGINALE},
                                                          {"calendario.xls", LUPI_XLS},
                                                          {"temp.txt", LUPI_RIGHE}}));
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
