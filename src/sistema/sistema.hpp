#pragma once
// All the program asks of the system. Paths and names are UTF-8 on Windows, bytes elsewhere.

#include <cerrno>
#include <chrono>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "comune/codifica.hpp"
#include "comune/costanti.hpp"
#include "comune/esito.hpp"

namespace turnolista {

// A standard stream: console_standard() makes the process's own; a test, ones over strings.
class Canale {
  public:
    virtual ~Canale() = default;
    // Reads into `dove` at least one byte: how many, 0 at the data's end, or why it failed.
    virtual Risultato<std::size_t> leggi(std::span<char> dove) = 0;
    // Writes all of `testo`, each LF as the system's text ends a line.
    virtual Esito scrivi(std::string_view testo) = 0;
};

struct Console {
    Canale& in;
    Canale& out;
    Canale& err;
    // The messages' accented letters in UTF-8, or as ISO-8859-1 bytes on another console.
    bool utf8 = false;
    // Windows habits on the command line: /? and its kind, options in any case; and the
    // arguments are text the system gave in UTF-16, made UTF-8, rather than bytes as typed.
    bool abitudini_windows = false;
    bool in_terminale = false;  // where a person reads the questions as they come
    // The console window was opened for this run alone (started from Explorer), and goes with it.
    bool finestra_propria = false;

    // As `utf8` says; Windows' streams take UTF-8 and make it their console's code page.
    Esito scrivi(Canale& canale, std::string_view testo) const {
        return canale.scrivi(utf8 ? std::string(testo) : in_un_byte(testo, false));
    }
};

// The list a run reads, by its name in the current folder, and that folder as the messages
// name it where the user started the program in another one (empty where not).
struct Origine {
    std::string lista{FILE_ORIGINALE};
    std::string cartella;
};

}  // namespace turnolista

namespace turnolista::sistema {

// The process's standard streams as the program's console (standard.cpp), made at the first
// call, before any file is opened; one closed at the start fails with EBADF when used.
Console& console_standard();
// The program's arguments after its name, in UTF-8 on Windows whatever its code page.
std::vector<std::string> argomenti(int argc, char** argv);

// Ctrl-C, a closed terminal, kill and Ctrl-\ (on Windows also Ctrl-Break, the window closed,
// logging off and shutting down) remove this run's hidden files, then end the program as the
// signal would; one ignored at the start stays ignored. A broken pipe and a file-size limit are
// ignored: a write's failure says why. Called once, before any write (standard.cpp).
void pulisci_su_segnale();

// The current folder and the list in it, never written (cartella.cpp). The whole of `nome`, a
// regular file of at most LISTA_MASSIMA bytes; anything else is refused before it is read,
// and a list that grows past that meanwhile when it gets there.
Risultato<std::string> leggi_lista(std::string_view nome);
// Makes `percorso`, a folder, or the file's folder, the current one, as if the program had been
// started there; the list there is the file, or the folder's originale.txt.
Risultato<Origine> entra_nella_cartella(std::string_view percorso);
// The current folder's full path, as the system shows it; empty where it cannot be told.
std::string cartella_corrente();
// The names in the current folder, as they are stored; none where it cannot be read.
std::vector<std::string> nomi_nella_cartella();
// Whether `percorso` names a file or a folder that can be seen.
bool esiste(std::string_view percorso);

// A pass's files, each put in place once (file.cpp): every destination checked (a regular file
// or none, writable, neither the list nor another of the pass by a second name), its content
// written to a hidden file beside it, then renamed over it, in order. A failure before the
// renames changes nothing; other hard links keep the old content, as when saved by rename.
struct FileNuovo {
    std::string_view nome;  // in the current folder
    std::string contenuto;
};
// Puts `file` in place, in that order; none of them may be `originale`.
Esito metti_al_posto(std::span<const FileNuovo> file, std::string_view originale);
// Why a write fails where the user's share of the disk is used up; -1 where a system has none.
#ifdef EDQUOT
inline constexpr int QUOTA_ESAURITA = EDQUOT;
#else
inline constexpr int QUOTA_ESAURITA = -1;
#endif
#ifdef _WIN32
inline constexpr FineRiga FINE_RIGA = FineRiga::crlf;
#else
inline constexpr FineRiga FINE_RIGA = FineRiga::lf;
#endif

// The time now, which a calendar file says and a list's season depends on: the system's clock
// (orologio.cpp), or in the tests' build a time they choose (tests/orologio_finto.cpp).
std::chrono::sys_seconds adesso();

}  // namespace turnolista::sistema
