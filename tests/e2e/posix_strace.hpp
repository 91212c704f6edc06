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

// The program's calls of `chiamate` in a run of `avvio`, one a line as strace shows them;
// `altre` are further options of strace's, such as an inject.
inline std::vector<std::string> traccia(Avvio avvio, const std::string& chiamate,
                                        const std::vector<std::string>& altre = {}) {
    const auto file = std::filesystem::temp_directory_path() /
                      ("turnolista-strace-" + std::to_string(::getpid()));
    avvio.ambiente = AMBIENTE_STRACE;
    avvio.sotto = {"strace", "-qq", "-o", file.string(), "-e", "trace=" + chiamate};
    avvio.sotto.insert(avvio.sotto.end(), altre.begin(), altre.end());
    esegui(avvio);
    std::ifstream righe(file);
    std::vector<std::string> chiamate_fatte;
    for (std::string riga; std::getline(righe, riga);) {
        chiamate_fatte.push_back(riga);
    }
    std::filesystem::remove(file);
    return chiamate_fatte;
}

// Which of the program's calls of `chiamata`, counted from 1, is the `volta`th whose text,
// as strace shows it, holds `testo`; 0 for none. A run that only watches tells it: a run
// with the same files and answers makes the same calls.
inline int numero_della_chiamata(Avvio avvio, const std::string& chiamata, const std::string& testo,
                                 int volta = 1) {
    int numero = 0;
    for (const std::string& riga : traccia(std::move(avvio), chiamata)) {
        ++numero;
        if (riga.find(testo) != std::string::npos && --volta == 0) {
            return numero;
        }
    }
    return 0;
}

}  // namespace prova
