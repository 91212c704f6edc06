// POSIX only: hard links, ACLs, append-only files, sockets, named pipes, small file systems and
// the kernel's protections
//
// Nothing is lost: a file written through is changed by its own write alone; a table pass
// whose temp.txt fails says that the table is written; links, pipes and other users' files
// are opened as the shell opens them, with the kernel's protections; a signal always ends
// a run.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
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

TEST(NullaPerso, FileWrittenThroughIsWholeUnlessItsOwnWriteFails) {
    RICHIEDE(strace_presente(), "needs strace, to act at the program's calls");
    // Two names for calendario.txt, so it is written through. No call the program makes
    // before that write may change it: not a space reserved for it (the disk full at once),
    // not a copy kept beside it (here a link back to it), nor a run interrupted as it
    // waits for the file's lock, the first flock() of a pass.
    struct Caso {
        std::string nome;
        std::vector<std::string> sotto;
        int stato;
        std::string calendario;
    };
    const std::vector<Caso> casi{
        {"no room reserved", strace("fallocate", "error=ENOSPC"), 0, LUPI_TESTO},
        {"interrupted at the lock", strace("flock", "signal=INT:when=1"), 128 + SIGINT,
         "vecchio\n"},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.nome);
        const auto e =
            esegui({.file = {{"originale.txt", ORIGINALE}, {"calendario.txt", "vecchio\n"}},
                    .link = {{"calendario.txt~", "calendario.txt"}},
                    .hard = {{"copia.txt", "calendario.txt"}},
                    .input = "t\nLupi\nn\n",
                    .ambiente = AMBIENTE_STRACE,
                    .sotto = caso.sotto});
        EXPECT_EQ(e.stato, caso.stato);
        EXPECT_EQ(e.file,
                  (std::map<std::string, std::string>{{"originale.txt", ORIGINALE},
                                                      {"calendario.txt", caso.calendario},
                                                      {"copia.txt", caso.calendario},
                                                      {"calendario.txt~@", "calendario.txt"}}));
    }
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

// The table is put in place first: a temp.txt that cannot follow it is told with it.
TEST(NullaPerso, PairWhoseSecondFileFailsSaysTheTableIsWritten) {
    RICHIEDE(da_root(), "needs root, to make a file append-only");
    const auto chattr = [](const fs::path& file, const std::string& come) {
        return std::system(("chattr " + come + " '" + file.string() + "' 2>/dev/null").c_str()) ==
               0;
    };
    bool possibile = true;
    struct Caso {
        std::string nome;
        Avvio avvio;
        std::string motivo;
    };
    std::vector<Caso> casi;
    casi.push_back(
        {"a link to /dev/full", {.link = {{"temp.txt", "/dev/full"}}}, "il disco \xE8 pieno"});
    casi.push_back({"a socket",
                    {.prima = [](const fs::path& cartella) { socket_in(cartella / "temp.txt"); }},
                    "nessun dispositivo risponde a quel nome"});
    casi.push_back(
        {"an append-only file",
         {.file = {{"temp.txt", "vecchio temp\n"}},
          .durante =
              [&](pid_t programma, const fs::path& cartella) {
                  // Once the program has ended, the folder can be removed.
                  aspetta(programma, [] { return false; });
                  chattr(cartella / "temp.txt", "-a");
              },
          .prima =
              [&](const fs::path& cartella) { possibile = chattr(cartella / "temp.txt", "+a"); }},
         "operazione non permessa"});
    for (auto& caso : casi) {
        SCOPED_TRACE(caso.nome);
        caso.avvio.file["originale.txt"] = ORIGINALE;
        caso.avvio.file["calendario.xls"] = "vecchio xls\n";
        caso.avvio.input = "x\nLupi\nn\n";
        const auto e = esegui(caso.avvio);
        if (!possibile) {
            continue;  // the file system of the temporary folder has no append-only files
        }
        EXPECT_EQ(e.out, FALLITA);
        EXPECT_EQ(e.err, "Impossibile scrivere il file temp.txt: " + caso.motivo +
                             "; il file calendario.xls invece \xE8 gi\xE0 stato scritto\n");
        EXPECT_EQ(e.stato, 1);
        EXPECT_EQ(e.file.at("calendario.xls"), LUPI_XLS);
    }
}

TEST(NullaPerso, TwoTablePassesAtOnceEachPutWholeFilesInPlace) {
    RICHIEDE(strace_presente(), "needs strace, to stop the program between its two files");
    // The first run is stopped right after its first rename(), the table's, and the second
    // run makes its whole pair meanwhile. Neither waits for the other, and each file is
    // whole and from one pass: the second run's table replaced the first's, and the first
    // run's temp.txt came last.
    const std::string originale = ORIGINALE + "2 13/09 15:00 Comunale Volpi-Orsi\n";
    const std::string rinomine = "rename,renameat,renameat2";
    const auto e = esegui({.file = {{"originale.txt", originale}},
                           .input = "x\nLupi\nn\n",
                           .ambiente = AMBIENTE_STRACE,
                           .sotto = strace(rinomine, "signal=STOP:when=1"),
                           .durante = [&](pid_t programma, const fs::path& cartella) {
                               ASSERT_TRUE(aspetta(programma, [&] {
                                   return fs::exists(cartella / "calendario.xls");
                               }));
                               const std::string altra = "cd '" + cartella.string() +
                                                         "' && printf 'x\\nVolpi\\nn\\n' | " +
                                                         TURNOLISTA + " >/dev/null";
                               EXPECT_EQ(std::system(altra.c_str()), 0);
                               ::kill(-programma, SIGCONT);
                           }});
    EXPECT_EQ(e.out, RIUSCITA_XLS);
    EXPECT_EQ(e.stato, 0);
    EXPECT_EQ(e.file, (std::map<std::string, std::string>{
                          {"originale.txt", originale},
                          {"calendario.xls", "1\t2\t13/09\t15:00\tComunale\tVolpi-Orsi\n"},
                          {"temp.txt", LUPI_RIGHE}}));
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

TEST(NullaPerso, AnotherUsersFilesInAStickyFolderAreRefusedAsTheShellRefusesThem) {
    RICHIEDE(da_root(), "needs root, to give files to another user and set the kernel's settings");
    // Another user's links, file and pipe in a sticky folder that anyone may write, as
    // /tmp: where the kernel refuses to follow or open them for root, so does the program,
    // whether the link leads to an existing file or to a new one.
    const unsigned nobody = utente_senza_privilegi();
    struct Caso {
        std::string impostazione;
        Avvio avvio;
    };
    const std::vector<Caso> casi{
        {"protected_symlinks",
         {.link = {{"calendario.txt", "segreto"}}, .proprietari = {{"calendario.txt", nobody}}}},
        {"protected_symlinks",
         {.link = {{"calendario.txt", "nuovo"}}, .proprietari = {{"calendario.txt", nobody}}}},
        {"protected_regular",
         {.file = {{"calendario.txt", "altrui\n"}},
          .permessi = {{"calendario.txt", 0666U}},
          .proprietari = {{"calendario.txt", nobody}}}},
        {"protected_fifos",
         {.permessi = {{"calendario.txt", 0666U}},
          .proprietari = {{"calendario.txt", nobody}},
          .fifo = {"calendario.txt"}}},
    };
    for (auto caso : casi) {
        SCOPED_TRACE(caso.impostazione);
        const Impostazione protetti("/proc/sys/fs/" + caso.impostazione, "1");
        RICHIEDE(protetti.riuscita(), "fs." + caso.impostazione + " cannot be set here");
        caso.avvio.file["originale.txt"] = ORIGINALE;
        caso.avvio.file["segreto"] = "segreto\n";
        caso.avvio.permessi["."] = 01777U;
        caso.avvio.permessi["segreto"] = 0600U;
        caso.avvio.input = "t\nLupi\nn\n";
        const auto e = esegui(caso.avvio);
        EXPECT_EQ(e.err, "Impossibile scrivere il file calendario.txt: permesso negato\n");
        EXPECT_EQ(e.stato, 1);
        EXPECT_EQ(e.file.at("segreto"), "segreto\n");
        EXPECT_FALSE(e.file.contains("nuovo"));
        if (e.file.contains("calendario.txt")) {
            EXPECT_EQ(e.file.at("calendario.txt"), "altrui\n");
        }
    }
}

TEST(NullaPerso, FixtureListIsNeverWrittenUnderAnotherName) {
    // calendario.txt a link to the list, a second name of it, and the list a link to
    // calendario.txt, which replacing calendario.txt would take from it.
    const std::vector<Avvio> casi{
        {.file = {{"originale.txt", ORIGINALE}}, .link = {{"calendario.txt", "originale.txt"}}},
        {.file = {{"originale.txt", ORIGINALE}}, .hard = {{"calendario.txt", "originale.txt"}}},
        {.file = {{"calendario.txt", ORIGINALE}}, .link = {{"originale.txt", "calendario.txt"}}},
    };
    for (auto avvio : casi) {
        const std::string lista = avvio.file.begin()->first;
        SCOPED_TRACE(lista);
        avvio.input = "t\nLupi\nn\n";
        const auto e = esegui(avvio);
        EXPECT_EQ(e.out, FALLITA);
        EXPECT_EQ(e.err,
                  "Impossibile scrivere il file calendario.txt: \xE8 lo stesso file di "
                  "originale.txt, che verrebbe cancellato; fai puntare calendario.txt a un altro "
                  "file\n");
        EXPECT_EQ(e.file.at(lista), ORIGINALE);
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

// Whether the program waits in one of `chiamate`, as /proc shows its system call.
bool in_chiamata(pid_t programma, const std::vector<long>& chiamate) {
    std::ifstream chiamata("/proc/" + std::to_string(programma) + "/syscall");
    long numero = -1;
    chiamata >> numero;
    return std::find(chiamate.begin(), chiamate.end(), numero) != chiamate.end();
}

TEST(NullaPerso, PipeThatIsNotReadWaitsAndCtrlCEndsIt) {
    RICHIEDE(fs::exists("/proc/self/syscall"), "needs /proc/PID/syscall, to see the program wait");
    // A pipe with no reader waits in open(); one whose reader does not read waits in write()
    // once its buffer is full, with more matching lines than a pipe's buffer holds.
    std::string molte;
    for (int i = 0; i < 100; ++i) {
        molte += "1 13/09 10:30 Oratorio Falchi-Lupi " + std::string(1000, 'x') + "\n";
    }
    struct Caso {
        std::string nome;
        std::string originale;
        bool lettore;
        std::vector<long> chiamate;
        std::map<std::string, std::string> dopo;
    };
    const std::vector<Caso> casi{
        {"no reader",
         ORIGINALE,
         false,
         {SYS_openat, SYS_open},
         {{"calendario.xls", LUPI_XLS}, {"temp.txt", ORIGINALE}}},
        {"a reader that does not read",
         molte,
         true,
         {SYS_write},
         {{"calendario.xls", "vecchio\n"}}},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.nome);
        const auto e =
            esegui({.file = {{"originale.txt", caso.originale}, {"calendario.xls", "vecchio\n"}},
                    .input = "t\nLupi\nn\n",
                    .fifo = {"calendario.txt"},
                    .durante = [&](pid_t programma, const fs::path& cartella) {
                        const int lettore = caso.lettore
                                                ? ::open((cartella / "calendario.txt").c_str(),
                                                         O_RDONLY | O_NONBLOCK)
                                                : -1;
                        ASSERT_TRUE(aspetta(programma,
                                            [&] { return in_chiamata(programma, caso.chiamate); }));
                        if (!caso.lettore) {
                            // Another run in the same folder is not held up meanwhile.
                            const std::string altra = "cd '" + cartella.string() +
                                                      "' && printf 'x\\nLupi\\nn\\n' | " +
                                                      TURNOLISTA + " >/dev/null";
                            EXPECT_EQ(std::system(altra.c_str()), 0);
                        }
                        ::kill(programma, SIGINT);
                        // The reader goes once the program has ended, so that the signal ends it.
                        aspetta(programma, [] { return false; });
                        ::close(lettore);
                    }});
        EXPECT_EQ(e.stato, 128 + SIGINT);
        EXPECT_EQ(e.out, FORMATO + NOME);
        auto attesi = caso.dopo;
        attesi["originale.txt"] = caso.originale;
        attesi["calendario.txt|"] = "";
        EXPECT_EQ(e.file, attesi);
    }
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
    // `opzioni` as mount(2) takes them, MS_RDONLY for a read-only one.
    explicit FileSystemPiccolo(unsigned long opzioni = 0)
        : cartella_(fs::temp_directory_path() /
                    ("turnolista-tmpfs-" + std::to_string(::getpid()))) {
        fs::create_directories(cartella_);
        montato_ = ::mount("tmpfs", cartella_.c_str(), "tmpfs", opzioni, "size=64k,mode=1777") == 0;
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

TEST(NullaPerso, ReadOnlyDiskIsSaidSo) {
    RICHIEDE(da_root(), "needs root, to mount a file system");
    const FileSystemPiccolo sola_lettura(MS_RDONLY);
    RICHIEDE(sola_lettura.montato(), "a tmpfs cannot be mounted here");
    const auto e = esegui({.file = {{"originale.txt", ORIGINALE}},
                           .link = {{"calendario.txt", sola_lettura.cartella() / "calendario.txt"}},
                           .input = "t\nLupi\nn\n"});
    EXPECT_EQ(e.err,
              "Impossibile scrivere il file calendario.txt: il disco \xE8 di sola lettura\n");
    EXPECT_EQ(e.stato, 1);
}

}  // namespace
}  // namespace prova
