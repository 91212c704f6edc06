// POSIX only: signals, named pipes, resource limits, /dev/full, strace and options without Windows
// habits
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
#include <tuple>
#include <vector>

#include "esecuzione.hpp"
#include "posix_strace.hpp"

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

// Runs `avvio` with `segnale` sent at the moment its pass number `passata` creates the hidden
// file of calendario.txt: as the call that creates it begins, before the file exists.
Esecuzione segnale_alla_creazione(Avvio avvio, int segnale, int passata = 1) {
    const int numero = numero_della_chiamata(avvio, "openat", "\".calendario.txt.", passata);
    EXPECT_GT(numero, 0);
    avvio.ambiente = AMBIENTE_STRACE;
    avvio.sotto =
        strace("openat", "signal=" + std::to_string(segnale) + ":when=" + std::to_string(numero));
    return esegui(avvio);
}

TEST(Segnali, SignalsPeopleSendWhileTheHiddenFileIsMadeLeaveNoFile) {
    RICHIEDE(strace_presente(), "needs strace, to signal the program as it makes its file");
    for (const int segnale : {SIGHUP, SIGINT, SIGQUIT, SIGTERM}) {
        SCOPED_TRACE(strsignal(segnale));
        const std::map<std::string, std::string> prima{{"originale.txt", RIGA},
                                                       {"calendario.txt", "vecchio\n"}};
        const auto e = segnale_alla_creazione({.file = prima, .input = "t\nLupi\nn\n"}, segnale);
        EXPECT_EQ(e.stato, 128 + segnale);
        EXPECT_EQ(e.out, FORMATO + NOME);
        EXPECT_EQ(e.file, prima);
    }
}

TEST(Segnali, SignalsIgnoredByTheCallerStayIgnored) {
    RICHIEDE(strace_presente(), "needs strace, to signal the program as it makes its file");
    // As under nohup, or a script's trap '' INT: the pass goes on to its end.
    for (const int segnale : {SIGINT, SIGHUP}) {
        const auto e = segnale_alla_creazione({.file = {{"originale.txt", RIGA}},
                                               .input = "t\nLupi\nn\n",
                                               .segnali_ignorati = {SIGINT, SIGHUP}},
                                              segnale);
        EXPECT_EQ(e.stato, 0);
        EXPECT_EQ(e.out, RIUSCITA_TXT);
        EXPECT_EQ(e.file.at("calendario.txt"), RIGA + "\n");
    }
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

constexpr std::size_t MIB = std::size_t{1024} * 1024;

TEST(Memoria, ListThatIsNoFileOrTooLargeIsRefusedBeforeAnyFileIsTouched) {
    struct Caso {
        Avvio avvio;
        std::string motivo;
    };
    const std::vector<Caso> casi{
        {{.link = {{"originale.txt", "/dev/zero"}}}, "\xE8 un dispositivo, non un file"},
        {{.fifo = {"originale.txt"}}, "\xE8 una pipe (FIFO), non un file"},
        {{.socket = {"originale.txt"}}, "\xE8 un socket, non un file"},
        {{.file = {{"originale.txt", std::string(64 * MIB + 1, 'x')}}},
         "\xE8 di 65 MiB, troppo per un calendario (al massimo 64 MiB): controlla che sia il file "
         "giusto"},
    };
    for (auto caso : casi) {
        SCOPED_TRACE(caso.motivo);
        caso.avvio.file["calendario.xls"] = "vecchio\n";
        caso.avvio.input = "x\nLupi\nn\n";
        const auto e = esegui(caso.avvio);
        EXPECT_EQ(e.out, FORMATO + NOME + ANCORA);
        EXPECT_EQ(e.err, "Impossibile leggere il file originale.txt nella cartella " + e.cartella +
                             ": " + caso.motivo + "\n");
        EXPECT_EQ(e.stato, 1);
        EXPECT_EQ(e.file.at("calendario.xls"), "vecchio\n");
        EXPECT_EQ(e.file.count("temp.txt"), 0U);
    }
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

TEST(Memoria, PassTakesAtMostThreeTimesTheListWhateverTheNameTyped) {
#ifdef CON_ASAN
    GTEST_SKIP() << "AddressSanitizer reserves far more address space than any limit allows";
#endif
    // 16 MiB of the Lupi's matches, and a line of 16 MiB: every line copied twice over, or
    // none and each looked at for another spelling, with 3 * 16 + 8 MiB of memory in all.
    std::string originale;
    while (originale.size() < 16 * MIB) {
        originale += RIGA;
    }
    const std::string lunga = std::string(16 * MIB, 'l') + "\n";
    struct Caso {
        std::string lista;
        std::string input;
        std::string righe;
    };
    for (const auto& caso : std::vector<Caso>{{originale, "x\nLupi\nn\n", "1"},
                                              {originale, "t\nLupi\nn\n", "1"},
                                              {lunga, "t\nLUPI\nn\n", "0"}}) {
        SCOPED_TRACE(caso.input);
        const auto e = esegui({.file = {{"originale.txt", caso.lista}},
                               .input = caso.input,
                               .limite_memoria = 3 * 16 * MIB + 8 * MIB});
        EXPECT_EQ(e.stato, 0);
        EXPECT_EQ(e.err, "");
        EXPECT_TRUE(e.out.starts_with(FORMATO + NOME + PRESENTE)) << e.out.substr(0, 300);
    }
}

TEST(Memoria, ListOrFilesLargerThanTheMemoryLeftAreAFailureWithItsReason) {
#ifdef CON_ASAN
    GTEST_SKIP() << "AddressSanitizer reserves far more address space than any limit allows";
#endif
    std::string partite;
    while (partite.size() < 16 * MIB) {
        partite += RIGA;
    }
    // The list itself, then the table and temp.txt made of a list that fitted.
    for (const auto& [lista, limite, dove] :
         {std::tuple{std::string(16 * MIB, 'x'), 12 * MIB, " nella cartella "},
          std::tuple{partite, 32 * MIB, ""}}) {
        const auto e = esegui({.file = {{"originale.txt", lista}, {"temp.txt", "vecchio\n"}},
                               .input = "x\nLupi\nn\n",
                               .limite_memoria = limite});
        EXPECT_EQ(e.err, "Impossibile leggere il file originale.txt" +
                             (*dove != '\0' ? dove + e.cartella : "") + ": la memoria non basta\n");
        EXPECT_EQ(e.stato, 1);
        EXPECT_EQ(e.file.size(), 2U);
        EXPECT_EQ(e.file.at("temp.txt"), "vecchio\n");
    }
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

TEST(Segnali, CtrlCInALaterPassRemovesItsHiddenFileAndKeepsTheFirstPass) {
    RICHIEDE(strace_presente(), "needs strace, to signal the program as it makes its file");
    const auto e = segnale_alla_creazione(
        {.file = {{"originale.txt", RIGA}}, .input = "t\nLupi\ny\nt\nOrsi\nn\n"}, SIGINT, 2);
    EXPECT_EQ(e.stato, 128 + SIGINT);
    EXPECT_EQ(e.out, RIUSCITA_TXT + FORMATO + NOME);
    EXPECT_EQ(e.file, (std::map<std::string, std::string>{{"calendario.txt", RIGA + "\n"},
                                                          {"originale.txt", RIGA}}));
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
