#include "esporta/tabella.hpp"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "esporta/colonne.hpp"

namespace turnolista {

// What a format writes around and between the cells; the rows themselves are the same.
struct Stile {
    std::string_view apertura;
    std::array<std::string_view, 2> prima_del_numero;  // odd rows, even rows
    std::string_view dopo_il_numero;
    std::string_view separatore;
    std::string_view chiusura_riga;  // after the newline that ends the last cell
    std::string_view chiusura;
    bool testo_html;
};

namespace {

constexpr Stile EXCEL{
    .apertura = "",
    .prima_del_numero = {"", ""},
    .dopo_il_numero = "\t",
    .separatore = "\t",
    .chiusura_riga = "",
    .chiusura = "",
    .testo_html = false,
};

constexpr Stile PAGINA{
    .apertura =
        "<HTML>\n<BODY>\n<TABLE border=1 bgcolor=#80ff80>\n"
        "<TR><TD><b>G</b></TD><TD><b>N</b></TD><TD align=center><b>DATA</b></TD>"
        "<TD align=center><b>ORARIO</b></TD><TD align=center><b>LUOGO</b></TD>"
        "<TD align=center><b>PARTITA</b></TD></TR>",
    .prima_del_numero = {"<TR bgcolor=#ffff80>\n\t<TD>", "<TR bgcolor=#c0ffff>\n\t<TD>"},
    .dopo_il_numero = "</TD>\n\t<TD>",
    .separatore = "</TD>\n\t<TD>",
    .chiusura_riga = "\t</TD>\n</TR>\n",
    .chiusura = "\n</TABLE>\n</BODY>\n</HTML>",
    .testo_html = true,
};

// What each byte becomes in the page: itself, or the entity of a character that HTML
// would take as markup. Each entry is 8 bytes, the text and in its last byte the text's
// length, so a byte is escaped by one copy of fixed size and one addition, without a branch
// that long lines full of "&" or "<" would keep mispredicting.
constexpr std::size_t VOCE = 8;
constexpr std::size_t ENTITA_MASSIMA = 5;  // "&amp;"
using Voce = std::array<char, VOCE>;

constexpr std::array<Voce, 256> tabella_escape() {
    std::array<Voce, 256> tabella{};
    for (std::size_t c = 0; c < tabella.size(); ++c) {
        tabella[c][0] = static_cast<char>(c);
        tabella[c][VOCE - 1] = 1;
    }
    const auto entita = [&tabella](unsigned char c, std::string_view testo) {
        for (std::size_t i = 0; i < testo.size(); ++i) {
            tabella[c][i] = testo[i];
        }
        tabella[c][VOCE - 1] = static_cast<char>(testo.size());
    };
    entita('&', "&amp;");
    entita('\n', " ");  // a line break in a cell: a row stays on one line
    entita('<', "&lt;");
    entita('>', "&gt;");
    return tabella;
}

constexpr std::array<Voce, 256> ESCAPE = tabella_escape();

// Text of the fixture file goes into the page as text, never as markup. A piece at a time
// into a block that the piece cannot overflow, each byte one copy of fixed size; the block
// is then added whole.
void scrivi_testo_html(std::string& uscita, std::string_view testo) {
    constexpr std::size_t PEZZO = std::size_t{4} * 1024;
    std::array<char, PEZZO * ENTITA_MASSIMA + VOCE> blocco;
    while (!testo.empty()) {
        const std::string_view pezzo = testo.substr(0, PEZZO);
        testo.remove_prefix(pezzo.size());
        char* fine = blocco.data();
        for (const char c : pezzo) {
            const Voce& voce = ESCAPE[static_cast<unsigned char>(c)];
            std::memcpy(fine, voce.data(), VOCE);
            fine += voce[VOCE - 1];
        }
        uscita.append(blocco.data(), fine);
    }
}

}  // namespace

Tabella::Tabella(TipoTabella tipo, Disposizione disposizione, std::string_view inizio,
                 std::size_t byte, std::uint64_t righe)
    : stile_(tipo == TipoTabella::excel ? EXCEL : PAGINA), disposizione_(std::move(disposizione)) {
    // A row's number and markup, at most, with its cells cut by spaces; a sheet's further
    // columns and a page's escaped text may take more.
    const std::size_t per_riga = std::to_string(righe).size() + stile_.prima_del_numero[0].size() +
                                 stile_.dopo_il_numero.size() +
                                 COLONNEEXCEL * stile_.separatore.size() + 1 +
                                 stile_.chiusura_riga.size();
    testo_.reserve(inizio.size() + stile_.apertura.size() + byte + righe * per_riga +
                   stile_.chiusura.size());
    testo_.append(inizio).append(stile_.apertura);
}

void Tabella::riga(std::string_view riga) {
    ++numero_;
    testo_ += stile_.prima_del_numero[(numero_ - 1) % 2];
    testo_ += std::to_string(numero_);
    testo_ += stile_.dopo_il_numero;
    if (disposizione_.come_sta() || e_riposo(riga)) {
        taglia_in_celle(riga, disposizione_.separatore, celle_);
    } else {
        leggi_campi(riga, disposizione_, false, celle_, campi_);
        std::vector<std::string_view> celle(campi_.altre.size() + CAMPI);
        for (std::size_t c = 0; c < CAMPI; ++c) {
            celle[c] = campi_[c];
        }
        std::copy(campi_.altre.begin(), campi_.altre.end(), celle.begin() + CAMPI);
        celle_.testo = std::move(celle);
    }
    for (std::size_t c = 0; c < celle_.testo.size(); ++c) {
        if (c > 0) {
            testo_ += stile_.separatore;
        }
        if (stile_.testo_html) {
            scrivi_testo_html(testo_, celle_.testo[c]);
        } else {
            // A line break in a cell: a row stays on one line.
            std::size_t a_capo = testo_.size();
            testo_ += celle_.testo[c];
            while ((a_capo = testo_.find('\n', a_capo)) != std::string::npos) {
                testo_[a_capo] = ' ';
            }
        }
    }
    testo_ += '\n';
    testo_ += stile_.chiusura_riga;
}

std::string Tabella::chiudi() && {
    testo_ += stile_.chiusura;
    return std::move(testo_);
}

}  // namespace turnolista
