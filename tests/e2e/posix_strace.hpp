#pragma once
// strace, as the POSIX-only tests use it to see, or act at, the moment the program makes a
// system call. A test that needs it skips where it is missing.

#include <cstdlib>
#include <string>
#include <vector>

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

}  // namespace prova
