#include "esporta/tabella.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <ostream>
#include <string_view>

#include "comune/scrittura.hpp"
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
    entita('<', "&lt;");
    entita('>', "&gt;");
    return tabella;
}

constexpr std::array<Voce, 256> ESCAPE = tabella_escape();

// Text of the fixture file goes into the page as text, never as markup. It is escaped a
// piece at a time into a block that the piece cannot overflow, and each block is written
// whole, so a long line costs few writes however many characters it has to escape.
void scrivi_testo_html(std::ostream& uscita, std::string_view testo) {
    constexpr std::size_t BLOCCO = std::size_t{64} * 1024;
    constexpr std::size_t PEZZO = BLOCCO / ENTITA_MASSIMA;
    std::array<char, BLOCCO + VOCE> blocco;
    while (!testo.empty()) {
        const std::string_view pezzo = testo.substr(0, PEZZO);
        testo.remove_prefix(pezzo.size());
        char* fine = blocco.data();
        for (const char c : pezzo) {
            const Voce& voce = ESCAPE[static_cast<unsigned char>(c)];
            std::memcpy(fine, voce.data(), VOCE);
            fine += voce[VOCE - 1];
        }
        scrivi(uscita,
               std::string_view(blocco.data(), static_cast<std::size_t>(fine - blocco.data())));
    }
}

void scrivi_numero(std::ostream& uscita, int numero) {
    std::array<char, 16> cifre{};
    auto* const fine = std::to_chars(cifre.data(), cifre.data() + cifre.size(), numero).ptr;
    scrivi(uscita, std::string_view(cifre.data(), static_cast<std::size_t>(fine - cifre.data())));
}

}  // namespace

Tabella::Tabella(std::ostream& uscita, TipoTabella tipo)
    : uscita_(uscita), stile_(tipo == TipoTabella::excel ? EXCEL : PAGINA) {
    scrivi(uscita_, stile_.apertura);
}

void Tabella::separatore(Separatore separatore) {
    separatore_ = separatore;
    for (const std::string& attesa : in_attesa_) {
        scrivi_riga(attesa);
    }
    in_attesa_.clear();
}

void Tabella::riga(std::string_view riga) {
    if (separatore_) {
        scrivi_riga(riga);
    } else {
        in_attesa_.emplace_back(riga);
    }
}

void Tabella::scrivi_riga(std::string_view riga) {
    ++numero_;
    scrivi(uscita_, stile_.prima_del_numero[static_cast<std::size_t>((numero_ - 1) % 2)]);
    scrivi_numero(uscita_, numero_);
    scrivi(uscita_, stile_.dopo_il_numero);
    taglia_in_celle(riga, *separatore_, celle_);
    for (std::size_t c = 0; c < celle_.testo.size(); ++c) {
        if (c > 0) {
            scrivi(uscita_, stile_.separatore);
        }
        if (stile_.testo_html) {
            scrivi_testo_html(uscita_, celle_.testo[c]);
        } else {
            scrivi(uscita_, celle_.testo[c]);
        }
    }
    scrivi(uscita_, "\n");
    scrivi(uscita_, stile_.chiusura_riga);
}

void Tabella::chiudi() {
    // A list of rest lines alone decides nothing: its rows are cut as a list of spaces is.
    if (!separatore_) {
        separatore(Separatore::spazio);
    }
    scrivi(uscita_, stile_.chiusura);
}

}  // namespace turnolista
