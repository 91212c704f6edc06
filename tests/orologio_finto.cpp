// The clock of the build the tests start: the time in TURNOLISTA_ADESSO, written as
// 2026-12-09T18:15:00Z, so that a test knows which season and which DTSTAMP to expect.
// Without it the program stops at once rather than run on a time no test chose.

#include <cstdio>
#include <cstdlib>

#include "sistema/sistema.hpp"

namespace turnolista::sistema {

std::chrono::sys_seconds adesso() {
    using namespace std::chrono;
    const char* testo = std::getenv("TURNOLISTA_ADESSO");
    int a = 0;
    unsigned m = 0;
    unsigned g = 0;
    int h = 0;
    int min = 0;
    int s = 0;
    if (testo == nullptr ||
        std::sscanf(testo, "%d-%u-%uT%d:%d:%dZ", &a, &m, &g, &h, &min, &s) != 6) {
        std::abort();
    }
    return sys_days(year(a) / month(m) / day(g)) + hours(h) + minutes(min) + seconds(s);
}

}  // namespace turnolista::sistema
