#include "comune/a_capo.hpp"

#include <cstring>

namespace turnolista {

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

}  // namespace turnolista
