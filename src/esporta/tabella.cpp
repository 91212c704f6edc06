#include "esporta/tabella.hpp"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "comune/codifica.hpp"
#include "comune/costanti.hpp"

namespace turnolista {

namespace {

// A page's markup around and between its cells; a sheet has a tab between them, no more.
constexpr std::string_view APERTURA =
    "<HTML>\n<BODY>\n<TABLE border=1 bgcolor=#80ff80>\n"
    "<TR><TD><b>G</b></TD><TD><b>N</b></TD><TD align=center><b>DATA</b></TD>"
    "<TD align=center><b>ORARIO</b></TD><TD align=center><b>LUOGO</b></TD>"
    "<TD align=center><b>PARTITA</b></TD></TR>";
// Before the number of an odd row, and of an even one.
constexpr std::array<std::string_view, 2> PRIMA_DEL_NUMERO{"<TR bgcolor=#ffff80>\n\t<TD>",
                                                           "<TR bgcolor=#c0ffff>\n\t<TD>"};
constexpr std::string_view TRA_LE_CELLE = "</TD>\n\t<TD>";     // after the number too
constexpr std::string_view DOPO_LA_RIGA = "\t</TD>\n</TR>\n";  // after the newline of the last cell
constexpr std::string_view CHIUSURA = "\n</TABLE>\n</BODY>\n</HTML>";

// A byte of a cell as the table writes it: a line break is a space, so that a row stays on
// one line; a page takes the list's text as text, never as markup.
std::string_view scritto(const char& c, bool pagina) {
    if (c == '\n' || c == '\r') {
        return " ";
    }
    const bool segno = pagina && (c == '&' || c == '<' || c == '>');
    return !segno ? std::string_view(&c, 1) : c == '&' ? "&amp;" : c == '<' ? "&lt;" : "&gt;";
}

}  // namespace

Tabella::Tabella(TipoTabella tipo, std::string_view inizio, std::size_t byte, std::uint64_t righe)
    : pagina_(tipo == TipoTabella::pagina) {
    // Each row's number and markup too; a sheet's further cells and a page's escapes take more.
    const std::size_t per_riga =
        std::to_string(righe).size() + 1 +
        (pagina_ ? PRIMA_DEL_NUMERO[0].size() + (COLONNEEXCEL + 1) * TRA_LE_CELLE.size() +
                       DOPO_LA_RIGA.size()
                 : COLONNEEXCEL + 1);
    testo_.reserve(inizio.size() + APERTURA.size() + byte + righe * per_riga + CHIUSURA.size());
    testo_.append(inizio).append(pagina_ ? APERTURA : "");
}

void Tabella::riga(std::string_view riga) {
    // A line is cut at its first four spaces, the rest, later spaces too, in the last cell; a
    // rest line ("Gio" first) leaves those four cells empty, its text from the first "Ri".
    std::vector<std::string_view> pezzi;
    pezzi.reserve(COLONNEEXCEL + 1);  // once, not as it grows
    if (riga.starts_with("Gio")) {
        pezzi.resize(COLONNEEXCEL);
        riga.remove_prefix(std::min(riga.find("Ri"), riga.size()));
    }
    for (std::size_t spazio = riga.find(' '); pezzi.size() < COLONNEEXCEL && spazio != FINE;
         spazio = riga.find(' ')) {
        pezzi.push_back(riga.substr(0, spazio));
        riga.remove_prefix(spazio + 1);
    }
    pezzi.push_back(riga);
    celle(pezzi);
}

void Tabella::riga(const Letta& letta, std::string_view riga) {
    if (letta.tipo == Letta::Tipo::partita) {
        const auto iso = da_iso(letta.data);
        const std::string data = iso && leggi_data(letta.data) ? *iso : letta.data;
        // "15,30", which Excel takes for a number, as "15:30".
        std::string ora = letta.ora;
        if (leggi_ora(ora)) {
            std::ranges::replace(ora, ',', ':');
        }
        std::vector<std::string_view> tutte{letta.n, data, ora, letta.luogo, letta.partita};
        tutte.insert(tutte.end(), letta.altre.begin(), letta.altre.end());
        celle(tutte);
    } else {
        // A rest line's text from its "Riposa", without the empty cells after it.
        const std::size_t ripos = trova_ascii(riga, "ripos");
        riga = riga.substr(ripos == FINE ? 0 : ripos);
        celle({{}, {}, {}, {}, riga.substr(0, riga.find_last_not_of(" \t;,") + 1)});
    }
}

void Tabella::celle(const std::vector<std::string_view>& celle) {
    testo_.append(pagina_ ? PRIMA_DEL_NUMERO[numero_ % 2] : "");
    testo_.append(std::to_string(++numero_));
    for (const std::string_view cella : celle) {
        testo_ += pagina_ ? TRA_LE_CELLE : "\t";
        // Most cells are written as they stand, each byte as itself: copied whole.
        if (std::ranges::all_of(cella,
                                [&](const char& c) { return scritto(c, pagina_).data() == &c; })) {
            testo_.append(cella);
            continue;
        }
        for (const char& c : cella) {
            testo_ += scritto(c, pagina_);
        }
    }
    testo_.append("\n").append(pagina_ ? DOPO_LA_RIGA : "");
}

std::string Tabella::chiudi() && {
    testo_ += pagina_ ? CHIUSURA : "";
    return std::move(testo_);
}

}  // namespace turnolista
