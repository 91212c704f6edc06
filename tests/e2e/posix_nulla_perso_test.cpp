// POSIX only: SIGKILL, hard links, ACLs, append-only files, sockets, small file systems and the
// kernel's link protections
//
// Nothing is lost, even when the program is killed: a file rewritten in place keeps its old
// content in a named backup; a pass that fails leaves every file as it was; links are
// followed by the system, with its protections.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "esecuzione.hpp"
#include "posix_strace.hpp"

namespace prova {
namespace {

namespace fs = std::filesystem;

const std::string ORIGINALE =
    "1 13/09 10:30 Oratorio Falchi-Lupi\n"
    "Giornata 1: Riposa Lupi\n";
const std::string LUPI_TESTO = "1 13/09 10:30 Oratorio Falchi-Lupi\n\nGiornata 1: Riposa Lupi\n\n";
const std::string LUPI_XLS = "1\t1\t13/09\t10:30\tOratorio\tFalchi-Lupi\n2\t\t\t\t\tRiposa Lupi\n";
const std::string RIUSCITA_TXT =
    FORMATO + NOME + PRESENTE + "2" + ESEGUITO + COMPLIMENTI + "calendario.txt\n" + ANCORA;
const std::string FALLITA = FORMATO + NOME + ANCORA;
#define RICHIEDE(condizione, motivo) \
    if (!(condizione)) {             \
        GTEST_SKIP() << motivo;      \
    }

TEST(NullaPerso, KilledWhileRewritingInPlaceLeavesTheOldContentInANamedBackup) {
    RICHIEDE(strace_presente(), "needs strace, to kill the program as it empties the file");
    // Two names for one file: it is rewritten in place. The first ftruncate() empties the
    // backup before the copy, the second the file itself.
    const auto e = esegui({.file = {{"originale.txt", ORIGINALE}, {"calendario.txt", "vecchio\n"}},
                           .hard = {{"copia.txt", "calendario.txt"}},
                           .input = "t\nLupi\nn\n",
                           .ambiente = AMBIENTE_STRACE,
                           .sotto = strace("ftruncate", "signal=KILL:when=2")});
    EXPECT_EQ(e.stato, 128 + SIGKILL);
    EXPECT_EQ(e.file.at("calendario.txt~"), "vecchio\n");
    EXPECT_EQ(e.file.at("calendario.txt"), e.file.at("copia.txt"));
    EXPECT_EQ(e.file.size(), 4U);

    // The next run keeps a backup that differs from the file, and says so; one that holds
    // just what the file holds is an interrupted run's that is no longer needed.
    struct Caso {
        std::string calendario;
        std::string err;
        std::map<std::string, std::string> dopo;
    };
    const std::vector<Caso> casi{
        {"",
         "Impossibile scrivere il file calendario.txt: c'\xE8 gi\xE0 il file calendario.txt~, "
         "forse la copia di riserva di un'esecuzione interrotta, diverso da calendario.txt; "
         "controlla che non ti serva, poi cancellalo\n",
         {{"calendario.txt", ""}, {"copia.txt", ""}, {"calendario.txt~", "vecchio\n"}}},
        {"vecchio\n", "", {{"calendario.txt", LUPI_TESTO}, {"copia.txt", LUPI_TESTO}}},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.calendario);
        const auto dopo = esegui({.file = {{"originale.txt", ORIGINALE},
                                           {"calendario.txt", caso.calendario},
                                           {"calendario.txt~", "vecchio\n"}},
                                  .hard = {{"copia.txt", "calendario.txt"}},
                                  .input = "t\nLupi\nn\n"});
        EXPECT_EQ(dopo.err, caso.err);
        auto attesi = caso.dopo;
        attesi["originale.txt"] = ORIGINALE;
        EXPECT_EQ(dopo.file, attesi);
    }
}

TEST(NullaPerso, FailedRewriteInPlacePutsTheOldContentBackOrSaysWhereItIs) {
    RICHIEDE(strace_presente(), "needs strace, to make the disk fail as the file is written");
    // fsync() calls: the backup's, the rewritten file's, the file's once its old content is
    // written back.
    struct Caso {
        std::string guasto;
        std::string err;
        std::map<std::string, std::string> file;
    };
    const std::vector<Caso> casi{
        {"error=EIO:when=2",
         "Impossibile scrivere il file calendario.txt: errore di lettura o scrittura sul "
         "dispositivo\n",
         {{"calendario.txt", "vecchio\n"}, {"copia.txt", "vecchio\n"}}},
        {"error=EIO:when=2+",
         "Impossibile scrivere il file calendario.txt: errore di lettura o scrittura sul "
         "dispositivo; il contenuto che "
         "aveva prima \xE8 salvato in calendario.txt~\n",
         {{"calendario.txt", "vecchio\n"},
          {"copia.txt", "vecchio\n"},
          {"calendario.txt~", "vecchio\n"}}},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.guasto);
        const auto e =
            esegui({.file = {{"originale.txt", ORIGINALE}, {"calendario.txt", "vecchio\n"}},
                    .hard = {{"copia.txt", "calendario.txt"}},
                    .input = "t\nLupi\nn\n",
                    .ambiente = AMBIENTE_STRACE,
                    .sotto = strace("fsync", caso.guasto)});
        EXPECT_EQ(e.out, FALLITA);
        EXPECT_EQ(e.err, caso.err);
        EXPECT_EQ(e.stato, 1);
        auto attesi = caso.file;
        attesi["originale.txt"] = ORIGINALE;
        EXPECT_EQ(e.file, attesi);
    }
}

TEST(NullaPerso, FileToRewriteInPlaceThatCannotBeReadIsRefused) {
    RICHIEDE(da_root() && cartelle_raggiungibili(), "needs root, to run as nobody");
    // Root's file, which nobody may write but not read.
    const auto e = esegui({.file = {{"originale.txt", ORIGINALE}, {"calendario.txt", "vecchio\n"}},
                           .permessi = {{"calendario.txt", 0662U}},
                           .input = "t\nLupi\nn\n",
                           .senza_privilegi = true});
    EXPECT_EQ(e.out, FALLITA);
    EXPECT_EQ(e.err,
              "Impossibile scrivere il file calendario.txt: va riscritto al suo posto, ma non si "
              "pu\xF2 leggere e quindi non se ne pu\xF2 tenere una copia di riserva; dai il "
              "permesso di lettura o cancellalo\n");
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.file.at("calendario.txt"), "vecchio\n");
}

// A listening socket where temp.txt should be.
void socket_in(const fs::path& percorso) {
    const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un indirizzo{};
    indirizzo.sun_family = AF_UNIX;
    percorso.string().copy(indirizzo.sun_path, sizeof indirizzo.sun_path - 1);
    ASSERT_EQ(::bind(s, reinterpret_cast<const sockaddr*>(&indirizzo), sizeof indirizzo), 0);
    ::close(s);
}

TEST(NullaPerso, PairWhoseSecondFileFailsKeepsTheEarlierTable) {
    std::string grande;
    for (int i = 0; i < 200; ++i) {
        grande += "vecchio temp\n";
    }
    struct Caso {
        std::string nome;
        Avvio avvio;
        std::string motivo;
    };
    const std::map<std::string, std::string> prima{{"originale.txt", ORIGINALE},
                                                   {"calendario.xls", "vecchio xls\n"}};
    std::vector<Caso> casi;
    casi.push_back(
        {"a link to /dev/full", {.link = {{"temp.txt", "/dev/full"}}}, "il disco \xE8 pieno"});
    casi.push_back({"a socket",
                    {.prima = [](const fs::path& cartella) { socket_in(cartella / "temp.txt"); }},
                    "nessun dispositivo risponde a quel nome"});
    // Rewritten in place, with no room for its backup.
    casi.push_back({"a file too large to keep aside",
                    {.file = {{"temp.txt", grande}},
                     .hard = {{"copia.txt", "temp.txt"}},
                     .segnali_ignorati = {SIGXFSZ},
                     .limite_file = 2000},
                    "il file \xE8 troppo grande"});
    for (auto& caso : casi) {
        SCOPED_TRACE(caso.nome);
        for (const auto& [nome, testo] : prima) {
            caso.avvio.file[nome] = testo;
        }
        caso.avvio.input = "x\nLupi\nn\n";
        const auto e = esegui(caso.avvio);
        EXPECT_EQ(e.out, FALLITA);
        EXPECT_EQ(e.err, "Impossibile scrivere il file temp.txt: " + caso.motivo + "\n");
        EXPECT_EQ(e.stato, 1);
        EXPECT_EQ(e.file.at("calendario.xls"), "vecchio xls\n");
    }
}

TEST(NullaPerso, AppendOnlyTempFileKeepsTheEarlierTable) {
    RICHIEDE(da_root(), "needs root, to make a file append-only");
    const auto chattr = [](const fs::path& file, const std::string& come) {
        return std::system(("chattr " + come + " '" + file.string() + "' 2>/dev/null").c_str()) ==
               0;
    };
    bool possibile = true;
    const auto e = esegui(
        {.file = {{"originale.txt", ORIGINALE},
                  {"calendario.xls", "vecchio xls\n"},
                  {"temp.txt", "vecchio temp\n"}},
         .input = "x\nLupi\nn\n",
         .durante =
             [&](pid_t programma, const fs::path& cartella) {
                 // Once the program has ended, the folder can be removed.
                 aspetta(programma, [] { return false; });
                 chattr(cartella / "temp.txt", "-a");
             },
         .prima =
             [&](const fs::path& cartella) { possibile = chattr(cartella / "temp.txt", "+a"); }});
    RICHIEDE(possibile, "the file system of the temporary folder has no append-only files");
    EXPECT_EQ(e.err, "Impossibile scrivere il file temp.txt: operazione non permessa\n");
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.file.at("calendario.xls"), "vecchio xls\n");
    EXPECT_EQ(e.file.at("temp.txt"), "vecchio temp\n");
}

// Sets a kernel setting for as long as it lives, and puts the earlier value back.
class Impostazione {
  public:
    Impostazione(std::string percorso, const std::string& valore) : percorso_(std::move(percorso)) {
        std::ifstream in(percorso_);
        std::getline(in, prima_);
        std::ofstream out(percorso_);
        out << valore;
        riuscita_ = static_cast<bool>(out.flush());
    }
    ~Impostazione() {
        if (riuscita_) {
            std::ofstream(percorso_) << prima_;
        }
    }
    Impostazione(const Impostazione&) = delete;
    Impostazione& operator=(const Impostazione&) = delete;
    bool riuscita() const { return riuscita_; }

  private:
    std::string percorso_;
    std::string prima_;
    bool riuscita_ = false;
};

TEST(NullaPerso, LinksAreFollowedWithTheKernelsProtections) {
    RICHIEDE(da_root(), "needs root, to give links to another user and set fs.protected_symlinks");
    const Impostazione protetti("/proc/sys/fs/protected_symlinks", "1");
    RICHIEDE(protetti.riuscita(), "fs.protected_symlinks cannot be set here");
    // Another user's links in a sticky folder that anyone may write, as /tmp: root running
    // there may not follow them, to an existing file or to a new one.
    const unsigned nobody = utente_senza_privilegi();
    for (const std::string bersaglio : {"segreto", "nuovo"}) {
        SCOPED_TRACE(bersaglio);
        const auto e = esegui({.file = {{"originale.txt", ORIGINALE}, {"segreto", "segreto\n"}},
                               .link = {{"calendario.txt", bersaglio}},
                               .permessi = {{".", 01777U}, {"segreto", 0600U}},
                               .proprietari = {{"calendario.txt", nobody}},
                               .input = "t\nLupi\nn\n"});
        EXPECT_EQ(e.err, "Impossibile scrivere il file calendario.txt: permesso negato\n");
        EXPECT_EQ(e.stato, 1);
        EXPECT_EQ(e.file.at("segreto"), "segreto\n");
        EXPECT_FALSE(e.file.contains("nuovo"));
    }
}

TEST(NullaPerso, FixtureListIsNeverWrittenUnderAnotherName) {
    for (const bool simbolico : {true, false}) {
        SCOPED_TRACE(simbolico);
        Avvio avvio{.file = {{"originale.txt", ORIGINALE}}, .input = "t\nLupi\nn\n"};
        if (simbolico) {
            avvio.link = {{"calendario.txt", "originale.txt"}};
        } else {
            avvio.hard = {{"calendario.txt", "originale.txt"}};
        }
        const auto e = esegui(avvio);
        EXPECT_EQ(e.out, FALLITA);
        EXPECT_EQ(e.err,
                  "Impossibile scrivere il file calendario.txt: \xE8 lo stesso file di "
                  "originale.txt, che verrebbe cancellato; fai puntare calendario.txt a un altro "
                  "file\n");
        EXPECT_EQ(e.file.at("originale.txt"), ORIGINALE);
    }
}

TEST(NullaPerso, LinkToAVeryLongNameIsWritten) {
    const std::string lungo(255, 'a');
    const auto e = esegui({.file = {{"originale.txt", ORIGINALE}, {lungo, "vecchio\n"}},
                           .link = {{"calendario.txt", lungo}},
                           .input = "t\nLupi\nn\n"});
    EXPECT_EQ(e.out, RIUSCITA_TXT);
    EXPECT_EQ(e.file.at(lungo), LUPI_TESTO);
}

TEST(NullaPerso, LinkToStandardOutputWritesWhereOpenWould) {
    // The calendar goes where `echo > /dev/stdout` would put it: into the file that standard
    // output is, from its start; the run's messages go on where they were.
    const auto e = esegui({.file = {{"originale.txt", ORIGINALE}},
                           .link = {{"calendario.txt", "/dev/stdout"}},
                           .input = "t\nLupi\nn\n"});
    EXPECT_EQ(e.stato, 0);
    const std::string domande = FORMATO + NOME;
    EXPECT_EQ(e.out, LUPI_TESTO + std::string(domande.size() - LUPI_TESTO.size(), '\0') +
                         RIUSCITA_TXT.substr(domande.size()));
    EXPECT_EQ(e.file, (std::map<std::string, std::string>{{"originale.txt", ORIGINALE},
                                                          {"calendario.txt@", "/dev/stdout"}}));
}

// Whether the program waits in open(), as for a pipe that has no reader.
bool in_open(pid_t programma) {
    std::ifstream chiamata("/proc/" + std::to_string(programma) + "/syscall");
    long numero = -1;
    chiamata >> numero;
    return numero == SYS_openat || numero == SYS_open;
}

TEST(NullaPerso, PipeWithoutReaderWaitsBeforeTheLockAndCtrlCEndsIt) {
    RICHIEDE(fs::exists("/proc/self/syscall"), "needs /proc/PID/syscall, to see the program wait");
    const auto e = esegui({.file = {{"originale.txt", ORIGINALE}, {"calendario.xls", "vecchio\n"}},
                           .input = "t\nLupi\nn\n",
                           .fifo = {"calendario.txt"},
                           .durante = [](pid_t programma, const fs::path& cartella) {
                               ASSERT_TRUE(aspetta(programma, [&] { return in_open(programma); }));
                               // Another run in the same folder is not held up meanwhile.
                               const std::string altra = "cd '" + cartella.string() +
                                                         "' && printf 'x\\nLupi\\nn\\n' | " +
                                                         TURNOLISTA + " >/dev/null";
                               EXPECT_EQ(std::system(altra.c_str()), 0);
                               ::kill(programma, SIGINT);
                           }});
    EXPECT_EQ(e.stato, 128 + SIGINT);
    EXPECT_EQ(e.out, FORMATO + NOME);
    EXPECT_EQ(e.file, (std::map<std::string, std::string>{{"originale.txt", ORIGINALE},
                                                          {"calendario.txt|", ""},
                                                          {"calendario.xls", LUPI_XLS},
                                                          {"temp.txt", ORIGINALE}}));
}

TEST(NullaPerso, ReplacedFileKeepsItsAclAndTheGroupGainsNothing) {
    RICHIEDE(std::system("command -v setfacl >/dev/null") == 0, "needs setfacl");
    const auto e = esegui({.file = {{"originale.txt", ORIGINALE}, {"calendario.txt", "vecchio\n"}},
                           .permessi = {{"calendario.txt", 0640U}},
                           .input = "t\nLupi\nn\n",
                           .prima = [](const fs::path& cartella) {
                               const std::string comando = "setfacl -m u:nobody:rw '" +
                                                           (cartella / "calendario.txt").string() +
                                                           "' 2>/dev/null";
                               if (std::system(comando.c_str()) != 0) {
                                   GTEST_SKIP()
                                       << "the file system of the temporary folder has no ACLs";
                               }
                           }});
    if (IsSkipped()) {
        return;
    }
    EXPECT_EQ(e.file.at("calendario.txt"), LUPI_TESTO);
    // The group's bits are the ACL's mask: read and write, as setfacl left them.
    EXPECT_EQ(e.permessi.at("calendario.txt"), 0660U);
    ASSERT_TRUE(e.acl.contains("calendario.txt"));
    EXPECT_NE(e.acl.at("calendario.txt").size(), 0U);
}

// A small file system of its own, mounted for as long as it lives.
class FileSystemPiccolo {
  public:
    FileSystemPiccolo()
        : cartella_(fs::temp_directory_path() /
                    ("turnolista-tmpfs-" + std::to_string(::getpid()))) {
        fs::create_directories(cartella_);
        montato_ = ::mount("tmpfs", cartella_.c_str(), "tmpfs", 0, "size=64k,mode=1777") == 0;
    }
    ~FileSystemPiccolo() {
        if (montato_) {
            ::umount(cartella_.c_str());
        }
        fs::remove_all(cartella_);
    }
    FileSystemPiccolo(const FileSystemPiccolo&) = delete;
    FileSystemPiccolo& operator=(const FileSystemPiccolo&) = delete;

    bool montato() const { return montato_; }
    const fs::path& cartella() const { return cartella_; }
    // Fills it, so that nothing more can be written there.
    void riempi() const {
        std::ofstream pieno(cartella_ / "pieno");
        const std::string blocco(4096, 'x');
        while (pieno.write(blocco.data(), static_cast<std::streamsize>(blocco.size()))) {
        }
    }

  private:
    fs::path cartella_;
    bool montato_ = false;
};

TEST(NullaPerso, UnusableTemporaryFolderFallsBackToTmpOrIsNamed) {
    RICHIEDE(da_root(), "needs root, to mount a small file system");
    const FileSystemPiccolo piccolo;
    RICHIEDE(piccolo.montato(), "a tmpfs cannot be mounted here");
    // Two names for calendario.txt: its new content waits in the temporary folder.
    const auto con = [](const std::string& tmpdir) {
        return esegui({.file = {{"originale.txt", ORIGINALE}, {"calendario.txt", "vecchio\n"}},
                       .hard = {{"copia.txt", "calendario.txt"}},
                       .input = "t\nLupi\nn\n",
                       .ambiente = {"LC_ALL=C", "TMPDIR=" + tmpdir}});
    };
    const auto mancante = con("/non/esiste");
    EXPECT_EQ(mancante.out, RIUSCITA_TXT);
    EXPECT_EQ(mancante.file.at("copia.txt"), LUPI_TESTO);

    piccolo.riempi();
    const auto pieno = con(piccolo.cartella().string());
    EXPECT_EQ(pieno.out, FALLITA);
    EXPECT_EQ(pieno.err, "Impossibile scrivere nella cartella temporanea " +
                             piccolo.cartella().string() + ": il disco \xE8 pieno\n");
    EXPECT_EQ(pieno.file.at("copia.txt"), "vecchio\n");
}

TEST(NullaPerso, FolderThatCannotBeLockedIsSaidSo) {
    RICHIEDE(da_root() && cartelle_raggiungibili(), "needs root, to run as nobody");
    // A folder nobody may write and enter but not read.
    const auto e = esegui({.file = {{"originale.txt", ORIGINALE}},
                           .permessi = {{".", 0333U}},
                           .input = "x\nLupi\nn\n",
                           .senza_privilegi = true});
    EXPECT_EQ(e.stato, 0);
    EXPECT_EQ(e.err,
              "Attenzione: la cartella non si pu\xF2 bloccare (permesso negato): se un'altra "
              "esecuzione di turnolista scrive nella stessa cartella, i file delle due possono "
              "mescolarsi\n");
    EXPECT_EQ(e.file.at("calendario.xls"), LUPI_XLS);
}

}  // namespace
}  // namespace prova
