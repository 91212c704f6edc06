#include "comune/a_capo.hpp"

#include <cstring>

namespace turnolista {

std::size_t togli_cr(std::string_view grezzo, char* a) {
    std::size_t scritti = 0;
    std::size_t da = 0;
    while (da < grezzo.size()) {
        const std::size_t cr = grezzo.find('\r', da);
        const std::size_t fino_a = cr == std::string_view::npos ? grezzo.size() : cr;
        std::memmove(a + scritti, grezzo.data() + da, fino_a - da);
        scritti += fino_a - da;
        if (cr == std::string_view::npos) {
            break;
        }
        // The CR of a CR LF goes; any other stays as data.
        if (cr + 1 >= grezzo.size() || grezzo[cr + 1] != '\n') {
            a[scritti++] = '\r';
        }
        da = cr + 1;
    }
    return scritti;
}

std::size_t metti_cr(std::string_view testo, char* a) {
    std::size_t scritti = 0;
    std::size_t da = 0;
    while (da < testo.size()) {
        const std::size_t lf = testo.find('\n', da);
        const std::size_t fino_a = lf == std::string_view::npos ? testo.size() : lf;
        std::memcpy(a + scritti, testo.data() + da, fino_a - da);
        scritti += fino_a - da;
        if (lf == std::string_view::npos) {
            break;
        }
        a[scritti++] = '\r';
        a[scritti++] = '\n';
        da = lf + 1;
    }
    return scritti;
}

std::size_t grezzi_in_coda(std::string_view grezzo, std::size_t tradotti) {
    std::size_t fine = grezzo.size();
    for (; tradotti > 0 && fine > 0; --tradotti) {
        const bool cr_lf = fine >= 2 && grezzo[fine - 1] == '\n' && grezzo[fine - 2] == '\r';
        fine -= cr_lf ? 2 : 1;
    }
    return grezzo.size() - fine + tradotti;
}

}  // namespace turnolista
