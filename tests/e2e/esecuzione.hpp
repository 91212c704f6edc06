#pragma once
// Runs the built program in a fresh temporary directory with the given standard input and
// collects everything it left: standard output and error, exit status and every file.
//
// Texts are written as LF. Where text files end lines in CR LF (Windows), the files and
// the input are given to the program in CR LF, as the system's editors save them; what the
// program leaves must have CR LF for every LF, and is collected with LF again, so that one
// expected text holds on every system.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace prova {

struct Avvio {
    // Files put in the directory beforehand; a name may lead through sub-folders.
    std::map<std::string, std::string> file;
    // Files put there byte for byte, whatever the system's line ends, and collected so.
    std::map<std::string, std::string> file_grezzi;
    std::vector<std::string> cartelle;  // directories put there beforehand
    std::string parte_da;  // a folder made there that the program starts in, if not the run's
    std::map<std::string, std::string> link;  // symbolic links: name, what it points to
    std::map<std::string, std::string> hard;  // hard links: new name, existing file
    // What only POSIX systems have; a run that asks for them elsewhere throws.
    std::map<std::string, unsigned> permessi;  // modes given to those entries; "." the folder
    // Owners given to them, each with that user's own group (needs root).
    std::map<std::string, unsigned> proprietari;
    std::string input;
    // Files, input and output exactly as they are, with no line ends made the system's.
    bool grezzo = false;
    bool senza_input = false;  // standard input closed rather than a file
    std::vector<std::string> ambiente{"LC_ALL=C"};
    std::vector<std::string> argomenti;
    // The time now for the program, such as "2026-12-09T18:15:00Z": the run is of the build
    // that takes it from TURNOLISTA_ADESSO. Empty: the program itself, with the system's clock.
    std::string adesso;
    bool senza_output = false;          // standard output closed
    std::string output_su;              // a file, such as /dev/full, for standard output
    bool output_senza_lettore = false;  // standard output a pipe whose reader has gone
    std::vector<std::string> fifo;      // named pipes put there beforehand
    std::vector<std::string> socket;    // Unix sockets bound there beforehand
    // Run as an ordinary user (nobody) when the tests run as root, from a copy of the
    // program that user can reach wherever the build lies.
    bool senza_privilegi = false;
    std::vector<int> segnali_ignorati;  // set to be ignored before the program starts
    std::vector<int> segnali_bloccati;  // blocked, and already sent, when the program starts
    std::vector<std::string> sotto;     // a command the program runs under, such as strace
    std::uint64_t limite_memoria = 0;   // RLIMIT_AS in bytes, 0 for none
    std::uint64_t limite_file = 0;      // RLIMIT_FSIZE in bytes, 0 for none
    // Run while the program runs, with its process id and directory; the run is collected
    // when it returns and the program has ended. aspetta() waits there for a condition.
    std::function<void(int, const std::filesystem::path&)> durante;
    // Run with the directory once it is ready, before the program starts.
    std::function<void(const std::filesystem::path&)> prima;
};

struct Esecuzione {
    std::string cartella;  // the folder the program ran in, by its full path
    std::string out;
    std::string err;
    int stato = -1;  // exit status, or 128 + the signal that ended the program
    // Every entry of the directory and its sub-folders afterwards, by its path there: a
    // directory appears as "name/" with "", a named pipe as "name|", a symbolic link as
    // "name@" with what it points to.
    std::map<std::string, std::string> file;
    std::map<std::string, unsigned> permessi;     // on POSIX systems only
    std::map<std::string, unsigned> proprietari;  // on POSIX systems only
    std::map<std::string, unsigned> attributi;    // on Windows only: FILE_ATTRIBUTE_ flags
    std::map<std::string, std::string> acl;       // on POSIX systems, where a file has one
};

Esecuzione esegui(const Avvio& avvio);

// The program a run starts: the one built with the clock the run sets, or the program itself.
inline const char* eseguibile(const Avvio& avvio) {
    return avvio.adesso.empty() ? TURNOLISTA : TURNOLISTA_OROLOGIO;
}

// The longest a run may take before the harness ends it, and a test fails on it.
inline constexpr std::chrono::seconds LIMITE{30};

// Waits until `condizione` holds, or the program `programma` has ended (it is ended by the
// harness if it hangs): whether the condition came true. No test decides by time alone.
bool aspetta(int programma, const std::function<bool()>& condizione);

// The whole content of a file.
std::string leggi(const std::filesystem::path& percorso);

// The id of the process that runs the tests.
unsigned long questo_processo();

// Whether the tests run as root, and the ordinary user they then run the program as.
bool da_root();
// Whether that user can reach the folders the runs are made in.
bool cartelle_raggiungibili();
unsigned utente_senza_privilegi();

// The console's texts, as the user sees them in the C locale.
inline const std::string FORMATO =
    "In quale formato vuoi che venga salvato il calendario?(scrivi t per file di testo,w per "
    "Word,x per Ecxel,h per pagina web e poi premi invio)\n";
inline const std::string NON_CORRETTO = "Hai inserito un valore non corretto!\n";
inline const std::string NOME = "Inserisci il nome della tua squadra e poi premi invio\n";
inline const std::string TROPPO_LUNGO =
    "Hai inserito un nome troppo lungo! (massimo 19 caratteri)\n";
inline const std::string ANCORA =
    "\nVoui ricominciare?(y/n)\nNB:Scegliendo lo stesso formato dell'esecuzione precedente, si "
    "sovrascrive il vecchio file\n";
inline const std::string ESEGUITO =
    " righe\n- Turnolista successfully executed - Congratulations by Velmaro -\n";
inline const std::string PRESENTE = "\nL'espressione cercata \xE8 presente in ";
inline const std::string COMPLIMENTI = "Complimenti! Il tuo calendario si trova nel file ";

// The league of two lines that many runs are given, and what a pass for the Lupi makes of it.
inline const std::string ORIGINALE =
    "1 13/09 10:30 Oratorio Falchi-Lupi\n"
    "Giornata 1: Riposa Lupi\n";
inline const std::string LUPI_TESTO =
    "1 13/09 10:30 Oratorio Falchi-Lupi\n\nGiornata 1: Riposa Lupi\n\n";
inline const std::string LUPI_RIGHE = ORIGINALE;
inline const std::string LUPI_XLS =
    "1\t1\t13/09\t10:30\tOratorio\tFalchi-Lupi\n2\t\t\t\t\tRiposa Lupi\n";
inline const std::string RIUSCITA_TXT =
    FORMATO + NOME + PRESENTE + "2" + ESEGUITO + COMPLIMENTI + "calendario.txt\n" + ANCORA;
inline const std::string RIUSCITA_XLS =
    FORMATO + NOME + PRESENTE + "2" + ESEGUITO + COMPLIMENTI + "calendario.xls\n" + ANCORA;
inline const std::string FALLITA = FORMATO + NOME + ANCORA;

// Skips the test, saying why, where what it needs is missing.
#define RICHIEDE(condizione, motivo) \
    if (!(condizione)) {             \
        GTEST_SKIP() << motivo;      \
    }
// Root, to give files to another user and run the program as nobody, where nobody can reach
// the folders the runs are made in.
#define RICHIEDE_NOBODY()                                                                     \
    RICHIEDE(da_root(), "needs root, to give files to another user and run as nobody");       \
    RICHIEDE(cartelle_raggiungibili(),                                                        \
             "the temporary folder is closed to other users, so nobody cannot reach a run's " \
             "folder")

}  // namespace prova
