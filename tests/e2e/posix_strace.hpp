#pragma once
// strace, as the POSIX-only tests use it to act at the moment the program makes a system
// call. A test that needs it skips where it is missing.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "esecuzione.hpp"

namespace prova {

inline bool strace_presente() {
    return std::system("strace -V >/dev/null 2>&1") == 0;
}

// LeakSanitizer cannot run under strace; the sanitizer build's program ends without it.
inline const std::vector<std::string> AMBIENTE_STRACE{"LC_ALL=C", "ASAN_OPTIONS=detect_leaks=0"};

// strace acting on the program's calls of `chiamate` (a comma-separated list) as they
// happen: `azione` is what strace's inject= takes, such as "signal=INT:when=1".
inline std::vector<std::string> strace(const std::string& chiamate, const std::string& azione) {
    return {"strace", "-qq",
            "-o",     "/dev/null",
            "-e",     "trace=" + chiamate,
            "-e",     "inject=" + chiamate + ":" + azione};
}

// Which of the program's calls of `chiamata`, counted from 1, is the `volta`th whose text,
// as strace shows it, holds `testo`; 0 for none. A run that only watches tells it: a run
// with the same files and answers makes the same calls.
inline int numero_della_chiamata(Avvio avvio, const std::string& chiamata, const std::string& testo,
                                 int volta = 1) {
    const auto traccia = std::filesystem::temp_directory_path() /
                         ("turnolista-strace-" + std::to_string(::getpid()));
    avvio.ambiente = AMBIENTE_STRACE;
    avvio.sotto = {"strace", "-qq", "-o", traccia.string(), "-e", "trace=" + chiamata};
    esegui(avvio);
    std::ifstream righe(traccia);
    int numero = 0;
    for (std::string riga; std::getline(righe, riga);) {
        ++numero;
        if (riga.find(testo) != std::string::npos && --volta == 0) {
            std::filesystem::remove(traccia);
            return numero;
        }
    }
    std::filesystem::remove(traccia);
    return 0;
}

}  // namespace prova
