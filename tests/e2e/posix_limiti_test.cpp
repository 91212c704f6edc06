// POSIX only: signals, named pipes, resource limits, /dev/full and options without Windows habits
//
// What bounds a run: signals, memory, and the standard streams themselves; and a pass
// that fails or is interrupted half-way.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string_view>
#include <vector>

#include "esecuzione.hpp"

#if defined(__SANITIZE_ADDRESS__)
#define CON_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CON_ASAN 1
#endif
#endif

namespace prova {
namespace {

const std::string RIGA = "1 13/09 10:30 Oratorio Falchi-Lupi\n";
const std::string RIUSCITA_TXT =
    FORMATO + NOME + PRESENTE + "1" + ESEGUITO + COMPLIMENTI + "calendario.txt\n" + ANCORA;

bool temporaneo_presente(const std::filesystem::path& cartella) {
    for (const auto& voce : std::filesystem::directory_iterator(cartella)) {
        if (voce.path().filename().string().starts_with(".calendario.txt.")) {
            return true;
        }
    }
    return false;
}

// Feeds the fixture list, a pipe, one line, waits until the program is writing its
// temporary file, then calls `poi` with the program and the pipe still open.
std::function<void(pid_t, const std::filesystem::path&)> a_meta(
    std::function<void(pid_t, int)> poi) {
    return [poi](pid_t programma, const std::filesystem::path& cartella) {
        const int pipe = ::open((cartella / "originale.txt").c_str(), O_WRONLY);
        ASSERT_GE(pipe, 0);
        ASSERT_EQ(::write(pipe, RIGA.data(), RIGA.size()), static_cast<ssize_t>(RIGA.size()));
        EXPECT_TRUE(aspetta(programma, [&] { return temporaneo_presente(cartella); }));
        poi(programma, pipe);
        ::close(pipe);
    };
}

TEST(Segnali, SignalsPeopleSendRemoveTheTemporaryFileFirst) {
    for (const int segnale : {SIGHUP, SIGINT, SIGQUIT, SIGTERM}) {
        SCOPED_TRACE(strsignal(segnale));
        const auto e = esegui(
            {.file = {{"calendario.txt", "vecchio\n"}},
             .input = "t\nLupi\nn\n",
             .fifo = {"originale.txt"},
             .durante = a_meta([segnale](pid_t programma, int) { ::kill(programma, segnale); })});
        EXPECT_EQ(e.stato, 128 + segnale);
        EXPECT_EQ(e.out, FORMATO + NOME);
        EXPECT_EQ(e.file, (std::map<std::string, std::string>{{"calendario.txt", "vecchio\n"},
                                                              {"originale.txt|", ""}}));
    }
}

TEST(Segnali, SignalsIgnoredByTheCallerStayIgnored) {
    // As under nohup, or a script's trap '' INT: the pass goes on to its end.
    const auto e = esegui({.input = "t\nLupi\nn\n",
                           .fifo = {"originale.txt"},
                           .segnali_ignorati = {SIGINT, SIGHUP},
                           .durante = a_meta([](pid_t programma, int) {
                               // An ignored signal is dropped as it is sent; one that is not
                               // would be pending by now, and end the program.
                               ::kill(programma, SIGINT);
                               ::kill(programma, SIGHUP);
                           })});
    EXPECT_EQ(e.stato, 0);
    EXPECT_EQ(e.out, RIUSCITA_TXT);
    EXPECT_EQ(e.file, (std::map<std::string, std::string>{{"calendario.txt", RIGA + "\n"},
                                                          {"originale.txt|", ""}}));
}

TEST(Segnali, FileSizeLimitIsAFailedWriteWithItsReason) {
    std::string originale;
    for (int i = 0; i < 100; ++i) {
        originale += RIGA;
    }
    const auto e = esegui({.file = {{"originale.txt", originale}, {"calendario.txt", "vecchio\n"}},
                           .input = "t\nLupi\nn\n",
                           .limite_file = 2000});
    EXPECT_EQ(e.out, FORMATO + NOME + ANCORA);
    EXPECT_EQ(e.err, "Impossibile scrivere il file calendario.txt: il file \xE8 troppo grande\n");
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.file, (std::map<std::string, std::string>{{"originale.txt", originale},
                                                          {"calendario.txt", "vecchio\n"}}));
}

// Writes all of `testo` to the pipe, however much each write takes.
bool scrivi_tutto(int pipe, std::string_view testo) {
    while (!testo.empty()) {
        const ssize_t n = ::write(pipe, testo.data(), testo.size());
        if (n <= 0) {
            return false;
        }
        testo.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Writes `testo` to the pipe, then `x` without end, until the reader goes away or `al_piu`
// bytes are written; returns how many of those bytes were written.
std::size_t senza_fine(int pipe, std::string_view testo, std::size_t al_piu) {
    ::signal(SIGPIPE, SIG_IGN);
    EXPECT_EQ(::write(pipe, testo.data(), testo.size()), static_cast<ssize_t>(testo.size()));
    const std::string blocco(64 * 1024, 'x');
    std::size_t scritti = 0;
    while (scritti < al_piu) {
        const ssize_t n = ::write(pipe, blocco.data(), blocco.size());
        if (n <= 0) {
            break;
        }
        scritti += static_cast<std::size_t>(n);
    }
    ::signal(SIGPIPE, SIG_DFL);
    return scritti;
}

constexpr std::size_t MIB = std::size_t{1024} * 1024;

TEST(Memoria, LineOfMoreThan64MiBEndsThePassWithItsNumber) {
    std::size_t scritti = 0;
    const auto e = esegui({.file = {{"calendario.txt", "vecchio\n"}},
                           .input = "t\nLupi\nn\n",
                           .fifo = {"originale.txt"},
                           .durante = [&](pid_t, const std::filesystem::path& cartella) {
                               const int pipe =
                                   ::open((cartella / "originale.txt").c_str(), O_WRONLY);
                               ASSERT_GE(pipe, 0);
                               scritti = senza_fine(pipe, RIGA + "Lupi\n", 200 * MIB);
                               ::close(pipe);
                           }});
    EXPECT_EQ(e.out, FORMATO + NOME + ANCORA);
    EXPECT_EQ(e.err,
              "Impossibile leggere il file originale.txt: la riga 3 \xE8 pi\xF9 lunga di 64 MiB\n");
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.file, (std::map<std::string, std::string>{{"calendario.txt", "vecchio\n"},
                                                          {"originale.txt|", ""}}));
    EXPECT_GT(scritti, 64 * MIB);
    EXPECT_LT(scritti, 70 * MIB);
}

TEST(Memoria, EndlessLineStaysWithinAMemoryLimit) {
#ifdef CON_ASAN
    GTEST_SKIP() << "AddressSanitizer reserves far more address space than any limit allows";
#endif
    const auto e = esegui({.link = {{"originale.txt", "/dev/zero"}},
                           .input = "h\nLupi\nn\n",
                           .limite_memoria = 2 * 64 * MIB + 16 * MIB});
    EXPECT_EQ(e.err,
              "Impossibile leggere il file originale.txt: la riga 1 \xE8 pi\xF9 lunga di 64 MiB\n");
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.file, (std::map<std::string, std::string>{{"originale.txt@", "/dev/zero"}}));
}

TEST(Memoria, AnswerLongerThanAnyAnswerIsRefusedWithinAMemoryLimit) {
#ifdef CON_ASAN
    GTEST_SKIP() << "AddressSanitizer reserves far more address space than any limit allows";
#endif
    // 32 MiB typed as a team's name, with 24 MiB of memory in all.
    const auto e = esegui({.file = {{"originale.txt", RIGA}},
                           .input = "t\n" + std::string(32 * MIB, 'x') + "\nLupi\nn\n",
                           .limite_memoria = 24 * MIB});
    EXPECT_EQ(e.out, FORMATO + NOME + TROPPO_LUNGO + NOME + PRESENTE + "1" + ESEGUITO +
                         COMPLIMENTI + "calendario.txt\n" + ANCORA);
    EXPECT_EQ(e.stato, 0);
}

TEST(Memoria, EveryLineOfALongListIsReadWithinAMemoryLimit) {
#ifdef CON_ASAN
    GTEST_SKIP() << "AddressSanitizer reserves far more address space than any limit allows";
#endif
    // 64 MiB of other teams' matches, then the Lupi's rest, with 24 MiB of memory in all.
    const std::string altre = "2 13/09 10:30 Oratorio Falchi-Orsi\n";
    const std::string riposo = "Giornata 9: Riposa Lupi\n";
    std::string blocco;
    while (blocco.size() + altre.size() <= MIB) {
        blocco += altre;
    }
    const auto e = esegui({.input = "t\nLupi\nn\n",
                           .fifo = {"originale.txt"},
                           .limite_memoria = 24 * MIB,
                           .durante = [&](pid_t, const std::filesystem::path& cartella) {
                               const int pipe =
                                   ::open((cartella / "originale.txt").c_str(), O_WRONLY);
                               ASSERT_GE(pipe, 0);
                               for (int i = 0; i < 64; ++i) {
                                   ASSERT_TRUE(scrivi_tutto(pipe, blocco));
                               }
                               ASSERT_TRUE(scrivi_tutto(pipe, riposo));
                               ::close(pipe);
                           }});
    EXPECT_EQ(e.out, RIUSCITA_TXT);
    EXPECT_EQ(e.err, "");
    EXPECT_EQ(e.file.at("calendario.txt"), riposo + "\n");
}

TEST(Flussi, FullOrBrokenStandardOutputIsReportedWithStatusOne) {
    const std::map<std::string, std::string> prima{{"originale.txt", RIGA},
                                                   {"calendario.txt", "vecchio\n"}};
    const auto pieno = esegui({.file = prima, .input = "t\nLupi\nn\n", .output_su = "/dev/full"});
    EXPECT_EQ(pieno.err, "Impossibile scrivere sullo standard output: il disco \xE8 pieno\n");
    EXPECT_EQ(pieno.stato, 1);
    EXPECT_EQ(pieno.file, prima);
    // A pipe whose reader has gone, as `turnolista | head -0`.
    const auto rotto =
        esegui({.file = prima, .input = "t\nLupi\nn\n", .output_senza_lettore = true});
    EXPECT_EQ(rotto.err,
              "Impossibile scrivere sullo standard output: chi leggeva ha chiuso la "
              "comunicazione\n");
    EXPECT_EQ(rotto.stato, 1);
    EXPECT_EQ(rotto.file, prima);

    for (const std::string opzione : {"--help", "--version"}) {
        const auto e = esegui({.argomenti = {opzione}, .output_su = "/dev/full"});
        EXPECT_EQ(e.err, "Impossibile scrivere sullo standard output: il disco \xE8 pieno\n");
        EXPECT_EQ(e.stato, 1);
    }
}

TEST(Errori, InterruptedPassLeavesEarlierFilesAndNoTemporaryFile) {
    // The fixture list is a pipe that stops half-way, so the program is caught while it
    // is writing calendario.txt.
    const auto e =
        esegui({.file = {{"calendario.txt", "vecchio\n"}},
                .input = "t\nLupi\nn\n",
                .fifo = {"originale.txt"},
                .durante = a_meta([](pid_t programma, int) { ::kill(programma, SIGINT); })});
    EXPECT_EQ(e.stato, 128 + SIGINT);
    EXPECT_EQ(e.out, FORMATO + NOME);
    EXPECT_EQ(e.file, (std::map<std::string, std::string>{{"calendario.txt", "vecchio\n"},
                                                          {"originale.txt|", ""}}));
}

TEST(Segnali, CtrlCInALaterPassRemovesItsTemporaryFileAndKeepsTheFirstPass) {
    const auto e = esegui({.input = "t\nLupi\ny\nt\nOrsi\nn\n",
                           .fifo = {"originale.txt"},
                           .durante = [](pid_t programma, const std::filesystem::path& cartella) {
                               // The first pass reads the whole list; the second reads a new pipe
                               // of the same name, and is caught half-way. The new pipe takes the
                               // name before the first pass can end, so that the second cannot
                               // open the old one.
                               const auto originale = cartella / "originale.txt";
                               const int prima = ::open(originale.c_str(), O_WRONLY);
                               ASSERT_GE(prima, 0);
                               ASSERT_EQ(::write(prima, RIGA.data(), RIGA.size()),
                                         static_cast<ssize_t>(RIGA.size()));
                               ASSERT_EQ(::unlink(originale.c_str()), 0);
                               ASSERT_EQ(::mkfifo(originale.c_str(), 0644), 0);
                               ::close(prima);
                               a_meta([](pid_t p, int) { ::kill(p, SIGINT); })(programma, cartella);
                           }});
    EXPECT_EQ(e.stato, 128 + SIGINT);
    EXPECT_EQ(e.out, RIUSCITA_TXT + FORMATO + NOME);
    EXPECT_EQ(e.file, (std::map<std::string, std::string>{{"calendario.txt", RIGA + "\n"},
                                                          {"originale.txt|", ""}}));
}

TEST(Segnali, SignalTheCallerBlockedStaysBlocked) {
    // SIGINT is pending from the start: nothing the program does may unblock it.
    const auto e = esegui({.file = {{"originale.txt", RIGA}},
                           .input = "x\nLupi\ny\nt\nLupi\nn\n",
                           .segnali_bloccati = {SIGINT}});
    EXPECT_EQ(e.stato, 0);
    EXPECT_EQ(e.out, FORMATO + NOME + PRESENTE + "1" + ESEGUITO + COMPLIMENTI + "calendario.xls\n" +
                         ANCORA + RIUSCITA_TXT);
    EXPECT_EQ(e.file.at("calendario.txt"), RIGA + "\n");
}

TEST(RigaDiComando, WindowsOptionsAreRefusedElsewhere) {
    for (const std::string opzione : {"/help", "/?", "--HELP"}) {
        SCOPED_TRACE(opzione);
        const auto e = esegui({.argomenti = {opzione}});
        EXPECT_EQ(e.out, "");
        EXPECT_EQ(e.err, "turnolista: opzione non riconosciuta: " + opzione +
                             "\nPer l'aiuto: turnolista --help\n");
        EXPECT_EQ(e.stato, 2);
    }
}

}  // namespace
}  // namespace prova
