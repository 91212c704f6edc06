#pragma once
// The team search over the list's text: its lines, whether a line holds the team name, and
// where no line does, how the list writes the name otherwise.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "comune/codifica.hpp"

namespace turnolista {

// Takes the next line off `testo`, which is not empty, and gives it without its line end:
// LF, CR LF, or the end of the text, a CR just before that end included, as Windows ends
// lines. Any other CR is text. With `virgolette`, a line end inside double quotes, as a
// sheet writes a cell of two lines, is no end: within a few lines, so that a quote left
// open takes no more of the list.
inline std::string_view prossima_riga(std::string_view& testo, bool virgolette = false) {
    std::size_t a_capo = testo.find('\n');
    const auto aperte = [&](std::size_t da, std::size_t a) {
        return std::count(testo.begin() + static_cast<std::ptrdiff_t>(da),
                          testo.begin() + static_cast<std::ptrdiff_t>(std::min(a, testo.size())),
                          '"') %
                   2 !=
               0;
    };
    if (virgolette && a_capo != std::string_view::npos && aperte(0, a_capo)) {
        constexpr int RIGHE_DI_UNA_CELLA = 4;
        bool aperta = true;
        std::size_t fine = a_capo;
        for (int righe = 0; aperta && fine != std::string_view::npos && righe < RIGHE_DI_UNA_CELLA;
             ++righe) {
            const std::size_t dopo = testo.find('\n', fine + 1);
            aperta = aperta != aperte(fine + 1, dopo);
            fine = dopo;
        }
        a_capo = aperta ? a_capo : fine;
    }
    std::string_view riga = testo.substr(0, a_capo);
    testo.remove_prefix(a_capo == std::string_view::npos ? testo.size() : a_capo + 1);
    if (riga.ends_with('\r')) {
        riga.remove_suffix(1);
    }
    return riga;
}

// Calls `fai` with each line of `testo`, in order (with `virgolette`, as above).
template <typename Fai>
void per_riga(std::string_view testo, Fai&& fai, bool virgolette = false) {
    while (!testo.empty()) {
        fai(prossima_riga(testo, virgolette));
    }
}

// True when `nome` occurs in `riga` as an exact, case-sensitive run of bytes. The empty
// name matches nothing.
bool contiene(std::string_view riga, std::string_view nome);

// How far a text is folded: its letters in lower case; then without their accents; then
// typographic apostrophes, quotation marks and the en dash in their plain forms.
enum class Piega { maiuscole, accenti, segni };

// UTF-8 text folded ("CANTÙ" is "cantù", or "cantu"; "Sant’Anna" is "sant'anna"), for the
// letters and signs of Windows-1252. Bytes that are no UTF-8 stay.
std::string piegata(std::string_view testo, Piega piega);
// Where in `testo` the byte `piegati` of its folded text comes from.
std::size_t origine(std::string_view testo, Piega piega, std::size_t piegati);

// The name as the list writes it with other capital letters or accents, and how many lines
// hold that spelling: typed so, it finds them all.
struct AltraGrafia {
    std::string come_scritto;
    std::uint64_t righe = 0;
    Piega differenza = Piega::maiuscole;  // the least fold that makes it the name
};

// For a list in which no line holds `nome`, the first spelling of it that differs only in
// letter case and accents; nullopt where there is none.
std::optional<AltraGrafia> altra_grafia(std::string_view testo, std::string_view nome);

}  // namespace turnolista
