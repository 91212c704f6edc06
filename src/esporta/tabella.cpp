#include "esporta/tabella.hpp"

#include <array>
#include <charconv>
#include <ostream>
#include <string_view>

#include "esporta/colonne.hpp"
#include "ricerca/lettore.hpp"

namespace turnolista {

namespace {

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

void scrivi(std::ostream& uscita, std::string_view testo) {
    uscita.write(testo.data(), static_cast<std::streamsize>(testo.size()));
}

std::string_view entita(char c) {
    switch (c) {
        case '&':
            return "&amp;";
        case '<':
            return "&lt;";
        case '>':
            return "&gt;";
        default:
            return {};
    }
}

// Text of the fixture file goes into the page as text, never as markup.
void scrivi_testo_html(std::ostream& uscita, std::string_view testo) {
    std::size_t fatto = 0;
    for (std::size_t i = 0; i < testo.size(); ++i) {
        const auto sostituto = entita(testo[i]);
        if (!sostituto.empty()) {
            scrivi(uscita, testo.substr(fatto, i - fatto));
            scrivi(uscita, sostituto);
            fatto = i + 1;
        }
    }
    scrivi(uscita, testo.substr(fatto));
}

void scrivi_numero(std::ostream& uscita, int numero) {
    std::array<char, 16> cifre{};
    auto* const fine = std::to_chars(cifre.data(), cifre.data() + cifre.size(), numero).ptr;
    uscita.write(cifre.data(), fine - cifre.data());
}

void scrivi_riga(std::ostream& uscita, const Stile& stile, int numero, std::string_view riga) {
    scrivi(uscita, stile.prima_del_numero[static_cast<std::size_t>((numero - 1) % 2)]);
    scrivi_numero(uscita, numero);
    scrivi(uscita, stile.dopo_il_numero);
    const Celle celle = taglia_in_celle(riga);
    for (std::size_t c = 0; c < celle.quante; ++c) {
        if (c > 0) {
            scrivi(uscita, stile.separatore);
        }
        if (stile.testo_html) {
            scrivi_testo_html(uscita, celle.testo[c]);
        } else {
            scrivi(uscita, celle.testo[c]);
        }
    }
    scrivi(uscita, "\n");
    scrivi(uscita, stile.chiusura_riga);
}

Esito scrivi_tabella(std::istream& righe, std::ostream& uscita, const Stile& stile) {
    scrivi(uscita, stile.apertura);
    LettoreRighe lettore(righe);
    std::string_view riga;
    int numero = 0;
    for (;;) {
        const auto stato = lettore.leggi(riga);
        if (stato == LettoreRighe::Stato::errore) {
            return Esito::errore_lettura;
        }
        if (stato == LettoreRighe::Stato::fine) {
            break;
        }
        scrivi_riga(uscita, stile, ++numero, riga);
        if (!uscita) {
            return Esito::errore_scrittura;
        }
    }
    scrivi(uscita, stile.chiusura);
    return uscita ? Esito::ok : Esito::errore_scrittura;
}

}  // namespace

Esito scrivi_excel(std::istream& righe, std::ostream& uscita) {
    return scrivi_tabella(righe, uscita, EXCEL);
}

Esito scrivi_pagina(std::istream& righe, std::ostream& uscita) {
    return scrivi_tabella(righe, uscita, PAGINA);
}

}  // namespace turnolista
