#pragma once
// What the sources of src/sistema/ share: a file or a stream as the system holds it, read and
// written alike, list or standard stream, the reasons it fails, names in UTF-8, and the hidden
// files that a signal removes. Nothing outside that folder includes this header.

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#endif

#include <array>
#include <cstddef>
#include <filesystem>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

#include "comune/esito.hpp"

namespace turnolista::sistema {

// A file or a stream as the system holds it, and none.
#ifdef _WIN32
using Nativo = HANDLE;
inline const Nativo NESSUNO = INVALID_HANDLE_VALUE;
#else
using Nativo = int;
inline const Nativo NESSUNO = -1;
#endif

// A file this run opened, closed when it goes unless it was closed already.
struct Aperto {
    explicit Aperto(Nativo aperto) : h(aperto) {}
    ~Aperto() {
        if (h != NESSUNO) {
            chiudi();
        }
    }
    Aperto(const Aperto&) = delete;
    Aperto& operator=(const Aperto&) = delete;
    explicit operator bool() const { return h != NESSUNO; }
    bool chiudi();

    Nativo h;
};

// One read: how many bytes, 0 at the end of the data (a pipe whose writer is gone
// included), -1 on failure.
std::ptrdiff_t leggi(Nativo da, std::span<char> dove);
// All of `testo`, however many writes it takes; false on failure.
bool scrivi_tutto(Nativo su, std::string_view testo);
// The last call's failure with a file or a stream, its reason an errno value on every
// system. On Windows another program holding the file open (Excel, Word) is said so, since
// the user can close it.
Esito fallito(const Oggetto& oggetto, bool in_lettura = false);
// What stands where a regular file should: a folder, a pipe, a socket or a device.
Esito non_regolare(const Oggetto& oggetto, std::filesystem::file_type tipo, bool in_lettura);

// A name of the program's, in UTF-8, as the system's path: a path made from a narrow string
// would read it in the ANSI code page on Windows.
inline std::filesystem::path percorso(std::string_view nome) {
    return std::u8string(nome.begin(), nome.end());
}

#ifdef _WIN32
// Windows' UTF-16 made narrow; in another code page than UTF-8, a character it cannot hold
// is '?', and in UTF-8 a unit that is no valid UTF-16 is U+FFFD.
std::string stretto(std::wstring_view testo, UINT pagina = CP_UTF8);
#endif

// A path the system gave, in UTF-8: the way back from percorso().
inline std::string nome_utf8(const std::filesystem::path& percorso) {
#ifdef _WIN32
    return stretto(percorso.native());
#else
    return percorso.native();
#endif
}

// Removes this run's hidden files not yet in place (file.cpp), each forgotten once gone, so
// that a signal meanwhile removes it again.
void togli_nascosti();

// Held while a hidden file is made, or renamed and forgotten, so that a signal does not end
// the program half-way through either. On Windows the handler runs beside the program: it
// takes this lock and never gives it back. Elsewhere it interrupts the program between two
// system calls, and each such step is one call.
extern std::mutex serratura;

}  // namespace turnolista::sistema
