// POSIX only: hard links, ACLs, small file systems and strace
//
// Nothing is lost: a pass that fails at any call leaves every file as it was and no hidden
// file, or says which file it had already put in place; the fixture list is never written;
// a replaced file never gives anyone more than the old one did.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "esecuzione.hpp"
#include "posix_strace.hpp"

namespace prova {
namespace {

namespace fs = std::filesystem;

TEST(NullaPerso, FaultAtAnyCallLeavesEveryFileAsItWasAndNoHiddenFile) {
    RICHIEDE(strace_presente(), "needs strace, to act at the program's calls");
    struct Caso {
        std::string nome;
        std::string lettera;
        std::string chiamata;
        std::string testo;  // of the call, as strace shows it
        int volta;
        std::string errore;
        std::string err;
        std::string xls;
    };
    const std::string tabella = "Impossibile scrivere il file calendario.xls: ";
    const std::vector<Caso> casi{
        {"the hidden file not made", "x", "openat", "\".calendario.xls.", 1, "ENOSPC",
         tabella + "il disco \xE8 pieno\n", "vecchio\n"},
        {"the second hidden file not made", "x", "openat", "\".temp.txt.", 1, "EDQUOT",
         "Impossibile scrivere il file temp.txt: lo spazio concesso all'utente sul disco \xE8 "
         "esaurito\n",
         "vecchio\n"},
        {"its content not written", "x", "write", "\"1\\t1\\t13/09", 1, "EIO",
         tabella + "errore di lettura o scrittura sul dispositivo\n", "vecchio\n"},
        {"the table not put in place", "x", "rename", "calendario.xls", 1, "EACCES",
         tabella + "permesso negato\n", "vecchio\n"},
        {"temp.txt not put in place after the table", "x", "rename", "temp.txt", 1, "EISDIR",
         "Impossibile scrivere il file temp.txt: \xE8 una cartella; il file calendario.xls "
         "invece \xE8 gi\xE0 stato scritto\n",
         LUPI_XLS},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.nome);
        Avvio avvio{.file = {{"originale.txt", ORIGINALE},
                             {"calendario.xls", "vecchio\n"},
                             {"temp.txt", "vecchio\n"}},
                    .input = caso.lettera + "\nLupi\nn\n"};
        const int numero = numero_della_chiamata(avvio, caso.chiamata, caso.testo, caso.volta);
        ASSERT_GT(numero, 0);
        avvio.ambiente = AMBIENTE_STRACE;
        avvio.sotto =
            strace(caso.chiamata, "error=" + caso.errore + ":when=" + std::to_string(numero));
        const auto e = esegui(avvio);
        EXPECT_EQ(e.out, FALLITA);
        EXPECT_EQ(e.err, caso.err);
        EXPECT_EQ(e.stato, 1);
        EXPECT_EQ(e.file, (std::map<std::string, std::string>{{"originale.txt", ORIGINALE},
                                                              {"calendario.xls", caso.xls},
                                                              {"temp.txt", "vecchio\n"}}));
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

TEST(NullaPerso, NoTwoFilesOfAPassAreOneFileUnderTwoNames) {
    // calendario.txt a link to the list, a second name of it, and the list a link to
    // calendario.txt, which replacing calendario.txt would take from it; temp.txt the table
    // itself, which it would overwrite.
    struct Caso {
        Avvio avvio;
        std::string err;
    };
    const std::string txt =
        "Impossibile scrivere il file calendario.txt: \xE8 lo stesso file di originale.txt, che "
        "verrebbe cancellato; fai puntare calendario.txt a un altro file\n";
    const std::string temp =
        "Impossibile scrivere il file temp.txt: \xE8 lo stesso file di calendario.xls, che "
        "verrebbe cancellato; fai puntare temp.txt a un altro file\n";
    const std::vector<Caso> casi{
        {{.file = {{"originale.txt", ORIGINALE}},
          .link = {{"calendario.txt", "originale.txt"}},
          .input = "t\nLupi\nn\n"},
         txt},
        {{.file = {{"originale.txt", ORIGINALE}},
          .hard = {{"calendario.txt", "originale.txt"}},
          .input = "t\nLupi\nn\n"},
         txt},
        {{.file = {{"calendario.txt", ORIGINALE}},
          .link = {{"originale.txt", "calendario.txt"}},
          .input = "t\nLupi\nn\n"},
         txt},
        {{.file = {{"originale.txt", ORIGINALE}, {"calendario.xls", "vecchio\n"}},
          .link = {{"temp.txt", "calendario.xls"}},
          .input = "x\nLupi\nn\n"},
         temp},
        {{.file = {{"originale.txt", ORIGINALE}, {"calendario.html", "vecchio\n"}},
          .hard = {{"temp.txt", "calendario.html"}},
          .input = "h\nLupi\nn\n"},
         "Impossibile scrivere il file temp.txt: \xE8 lo stesso file di calendario.html, che "
         "verrebbe cancellato; fai puntare temp.txt a un altro file\n"},
        // Links to a file that does not exist yet, as before the first table pass.
        {{.file = {{"originale.txt", ORIGINALE}},
          .link = {{"calendario.xls", "temp.txt"}},
          .input = "x\nLupi\nn\n"},
         temp},
        {{.file = {{"originale.txt", ORIGINALE}},
          .link = {{"calendario.xls", "tabella"}, {"temp.txt", "./tabella"}},
          .input = "x\nLupi\nn\n"},
         temp},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.err);
        const auto e = esegui(caso.avvio);
        EXPECT_EQ(e.out, FALLITA);
        EXPECT_EQ(e.err, caso.err);
        EXPECT_EQ(e.stato, 1);
        for (const auto& [nome, contenuto] : caso.avvio.file) {
            EXPECT_EQ(e.file.at(nome), contenuto);
        }
        EXPECT_EQ(e.file.size(),
                  caso.avvio.file.size() + caso.avvio.link.size() + caso.avvio.hard.size());
    }
}

TEST(NullaPerso, HiddenFileIsNamedAfterTheProcessAndPrivateWhileItReplacesAFile) {
    RICHIEDE(strace_presente(), "needs strace, to see the calls that make the hidden file");
    // ".NAME.PID", the id in hexadecimal, with "-1" after it only once that name is taken
    // (here its call fails with EEXIST); a file made to replace another is readable by no one
    // else until it has the old one's permission bits.
    struct Caso {
        std::string nome;
        std::map<std::string, std::string> file;
        bool preso;
        std::vector<std::string> aperture;  // what follows the id in each name, and the mode
    };
    const std::map<std::string, std::string> vecchio{{"originale.txt", ORIGINALE},
                                                     {"calendario.txt", "vecchio\n"}};
    const std::vector<Caso> casi{
        {"a new file", {{"originale.txt", ORIGINALE}}, false, {" 0666"}},
        {"a file replaced", vecchio, false, {" 0600"}},
        {"its name taken", vecchio, true, {" 0600", "-1 0600"}},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.nome);
        const Avvio avvio{.file = caso.file, .input = "t\nLupi\nn\n"};
        std::vector<std::string> altre;
        if (caso.preso) {
            const int numero = numero_della_chiamata(avvio, "openat", "\".calendario.txt.");
            ASSERT_GT(numero, 0);
            altre = {"-e", "inject=openat:error=EEXIST:when=" + std::to_string(numero)};
        }
        std::string nascosto;
        std::vector<std::string> aperture;
        for (const std::string& riga : traccia(avvio, "getpid,openat", altre)) {
            if (riga.starts_with("getpid()")) {
                std::ostringstream processo;
                processo << std::hex << std::stoul(riga.substr(riga.find('=') + 1));
                nascosto = "openat(AT_FDCWD, \".calendario.txt." + processo.str();
            } else if (!nascosto.empty() && riga.starts_with(nascosto)) {
                const std::size_t fine = riga.find('"', nascosto.size());
                aperture.push_back(riga.substr(nascosto.size(), fine - nascosto.size()) + " " +
                                   riga.substr(riga.find(", 0", fine) + 2, 4));
            }
        }
        EXPECT_EQ(aperture, caso.aperture);
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

TEST(NullaPerso, ReplacedFileGivesNoOneMoreThanTheOldOneDid) {
    RICHIEDE(std::system("command -v setfacl >/dev/null") == 0, "needs setfacl");
    // The folder gives nobody read and write on its new files; the old file gave nobody
    // nothing, and so does the new one.
    const auto e =
        esegui({.file = {{"originale.txt", ORIGINALE}, {"calendario.txt", "vecchio\n"}},
                .permessi = {{"calendario.txt", 0660U}},
                .input = "t\nLupi\nn\n",
                .prima = [](const fs::path& cartella) {
                    const std::string comando =
                        "setfacl -d -m u:nobody:rw '" + cartella.string() + "' 2>/dev/null";
                    if (std::system(comando.c_str()) != 0) {
                        GTEST_SKIP() << "the file system of the temporary folder has no ACLs";
                    }
                }});
    if (IsSkipped()) {
        return;
    }
    EXPECT_EQ(e.file.at("calendario.txt"), LUPI_TESTO);
    EXPECT_EQ(e.permessi.at("calendario.txt"), 0660U);
    EXPECT_FALSE(e.acl.contains("calendario.txt"));
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

  private:
    fs::path cartella_;
    bool montato_ = false;
};

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
