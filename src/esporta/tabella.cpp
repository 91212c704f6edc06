#include "esporta/tabella.hpp"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "comune/codifica.hpp"
#include "comune/costanti.hpp"

namespace turnolista {

// What a format writes around and between the cells; the rows themselves are the same.
struct Stile {
    std::string_view apertura;
    std::array<std::string_view, 2> prima_del_numero;  // odd rows, even rows
    std::string_view separatore;                       // after the number too
    std::string_view chiusura_riga;                    // after the newline that ends the last cell
    std::string_view chiusura;
    bool testo_html = false;
};

namespace {

constexpr Stile EXCEL{.separatore = "\t"};

constexpr Stile PAGINA{
    .apertura =
        "<HTML>\n<BODY>\n<TABLE border=1 bgcolor=#80ff80>\n"
        "<TR><TD><b>G</b></TD><TD><b>N</b></TD><TD align=center><b>DATA</b></TD>"
        "<TD align=center><b>ORARIO</b></TD><TD align=center><b>LUOGO</b></TD>"
        "<TD align=center><b>PARTITA</b></TD></TR>",
    .prima_del_numero = {"<TR bgcolor=#ffff80>\n\t<TD>", "<TR bgcolor=#c0ffff>\n\t<TD>"},
    .separatore = "</TD>\n\t<TD>",
    .chiusura_riga = "\t</TD>\n</TR>\n",
    .chiusura = "\n</TABLE>\n</BODY>\n</HTML>",
    .testo_html = true,
};

// Text of the fixture file goes into the page as text, never as markup.
void scrivi_testo_html(std::string& uscita, std::string_view testo) {
    for (const char& c : testo) {
        uscita += c == '&'   ? "&amp;"
                  : c == '<' ? "&lt;"
                  : c == '>' ? "&gt;"
                             : std::string_view(&c, 1);
    }
}

}  // namespace

Tabella::Tabella(TipoTabella tipo, std::string_view inizio, std::size_t byte, std::uint64_t righe)
    : stile_(tipo == TipoTabella::excel ? EXCEL : PAGINA) {
    // A row's number and markup, at most, with its cells cut by spaces; a sheet's further
    // columns and a page's escaped text may take more.
    const std::size_t per_riga = std::to_string(righe).size() + stile_.prima_del_numero[0].size() +
                                 (COLONNEEXCEL + 1) * stile_.separatore.size() + 1 +
                                 stile_.chiusura_riga.size();
    testo_.reserve(inizio.size() + stile_.apertura.size() + byte + righe * per_riga +
                   stile_.chiusura.size());
    testo_.append(inizio).append(stile_.apertura);
}

void Tabella::riga(std::string_view riga) {
    // A rest line (its first three characters are "Gio") leaves the middle cells empty and
    // keeps its text from the first "Ri"; any other is cut at its first four spaces, and the
    // rest, later spaces included, is the last cell.
    constexpr auto MEZZO = static_cast<std::size_t>(COLONNEEXCEL);
    std::vector<std::string_view> pezzi;
    if (riga.starts_with("Gio")) {
        const std::size_t ri = riga.find("Ri");
        pezzi.assign(MEZZO, {});
        pezzi.push_back(ri == std::string_view::npos ? std::string_view() : riga.substr(ri));
    } else {
        for (std::size_t spazio = riga.find(' ');
             pezzi.size() < MEZZO && spazio != std::string_view::npos; spazio = riga.find(' ')) {
            pezzi.push_back(riga.substr(0, spazio));
            riga.remove_prefix(spazio + 1);
        }
        pezzi.push_back(riga);
    }
    celle(pezzi);
}

void Tabella::riga(const Letta& letta, std::string_view riga) {
    if (letta.tipo == Letta::Tipo::partita) {
        std::vector<std::string_view> tutte{letta.n, letta.data, letta.ora, letta.luogo,
                                            letta.partita};
        tutte.insert(tutte.end(), letta.altre.begin(), letta.altre.end());
        celle(tutte);
    } else {
        // A rest line's text from its "Riposa", without the empty cells after it.
        const std::size_t ripos = trova_ascii(riga, "ripos");
        riga = riga.substr(ripos == std::string_view::npos ? 0 : ripos);
        celle({{}, {}, {}, {}, riga.substr(0, riga.find_last_not_of(" \t;,") + 1)});
    }
}

void Tabella::celle(const std::vector<std::string_view>& celle) {
    ++numero_;
    testo_ += stile_.prima_del_numero[(numero_ - 1) % 2];
    testo_ += std::to_string(numero_);
    testo_ += stile_.separatore;
    for (std::size_t c = 0; c < celle.size(); ++c) {
        if (c > 0) {
            testo_ += stile_.separatore;
        }
        // A line break in a cell: a row stays on one line.
        const std::size_t da = testo_.size();
        if (stile_.testo_html) {
            scrivi_testo_html(testo_, celle[c]);
        } else {
            testo_ += celle[c];
        }
        std::replace_if(
            testo_.begin() + static_cast<std::ptrdiff_t>(da), testo_.end(),
            [](char b) { return b == '\n' || b == '\r'; }, ' ');
    }
    testo_ += '\n';
    testo_ += stile_.chiusura_riga;
}

std::string Tabella::chiudi() && {
    testo_ += stile_.chiusura;
    return std::move(testo_);
}

}  // namespace turnolista
