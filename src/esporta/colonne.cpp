#include "esporta/colonne.hpp"

#include <algorithm>

#include "ricerca/ricerca.hpp"

namespace turnolista {

namespace {

constexpr auto FINE = std::string_view::npos;

void celle_di_riposo(std::string_view riga, Celle& celle) {
    celle.testo.assign(COLONNEEXCEL + 1, {});
    // Without "Ri" the last cell stays empty.
    if (const auto ri = riga.find("Ri"); ri != FINE) {
        celle.testo.back() = riga.substr(ri);
    }
}

void celle_tra_spazi(std::string_view riga, Celle& celle) {
    while (celle.testo.size() < static_cast<std::size_t>(COLONNEEXCEL)) {
        const auto spazio = riga.find(' ');
        if (spazio == FINE) {
            break;
        }
        celle.testo.push_back(riga.substr(0, spazio));
        riga.remove_prefix(spazio + 1);
    }
    celle.testo.push_back(riga);
}

// A cell that starts with a double quote: its text without them is added to `testo`, and
// what stands after the closing quote, up to the separator, as it is. Returns where the
// cell ends in `riga`.
std::size_t tra_virgolette(std::string_view riga, char separatore, std::string& testo) {
    std::size_t i = 1;
    while (i < riga.size()) {
        if (riga[i] == '"') {
            if (i + 1 < riga.size() && riga[i + 1] == '"') {
                testo += '"';
                i += 2;
                continue;
            }
            ++i;
            break;
        }
        // A line break in a cell (LF or CR LF): the cell stays on one line of the table.
        if (riga.substr(i).starts_with("\r\n")) {
            ++i;
        }
        testo += riga[i] == '\n' ? ' ' : riga[i];
        ++i;
    }
    const std::size_t fine = std::min(riga.find(separatore, i), riga.size());
    testo.append(riga.substr(i, fine - i));
    return fine;
}

void celle_separate(std::string_view riga, char separatore, Celle& celle) {
    // Unquoted text is never longer than the line: the views into it stay valid.
    celle.senza_virgolette.reserve(riga.size());
    for (;;) {
        std::size_t fine = 0;
        if (separatore != '\t' && riga.starts_with('"')) {
            const std::size_t da = celle.senza_virgolette.size();
            fine = tra_virgolette(riga, separatore, celle.senza_virgolette);
            celle.testo.push_back(std::string_view(celle.senza_virgolette).substr(da));
        } else {
            fine = std::min(riga.find(separatore), riga.size());
            celle.testo.push_back(riga.substr(0, fine));
        }
        if (fine == riga.size()) {
            return;
        }
        riga.remove_prefix(fine + 1);
    }
}

}  // namespace

bool e_riposo(std::string_view riga) {
    return riga.starts_with("Gio");
}

void taglia_in_celle(std::string_view riga, Separatore separatore, Celle& celle, bool riposi) {
    celle.testo.clear();
    celle.senza_virgolette.clear();
    const char s = static_cast<char>(separatore);
    if (separatore != Separatore::spazio) {
        riga = riga.substr(0, riga.find_last_not_of(s) + 1);
    }
    if (riposi && e_riposo(riga)) {
        celle_di_riposo(riga, celle);
    } else if (separatore == Separatore::spazio) {
        celle_tra_spazi(riga, celle);
    } else {
        celle_separate(riga, s, celle);
    }
}

}  // namespace turnolista
