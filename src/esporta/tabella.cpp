#include "esporta/tabella.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <ostream>
#include <string_view>

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

void scrivi(std::ostream& uscita, std::string_view testo) {
    uscita.write(testo.data(), static_cast<std::streamsize>(testo.size()));
}

// Text of the fixture file goes into the page as text, never as markup. The special
// characters are rare, so each is looked for with memchr, which scans many bytes at a time.
void scrivi_testo_html(std::ostream& uscita, std::string_view testo) {
    if (testo.empty()) {
        return;  // an empty view may have no data pointer at all
    }
    constexpr std::array<char, 3> speciali{'&', '<', '>'};
    constexpr std::array<std::string_view, 3> entita{"&amp;", "&lt;", "&gt;"};
    const char* inizio = testo.data();
    const char* const fine = inizio + testo.size();
    const auto trova = [fine](const char* da, char c) {
        const void* trovato = std::memchr(da, c, static_cast<std::size_t>(fine - da));
        return trovato != nullptr ? static_cast<const char*>(trovato) : fine;
    };
    std::array<const char*, 3> prossimo{};
    for (std::size_t i = 0; i < speciali.size(); ++i) {
        prossimo[i] = trova(inizio, speciali[i]);
    }
    for (;;) {
        const auto primo = static_cast<std::size_t>(
            std::min_element(prossimo.begin(), prossimo.end()) - prossimo.begin());
        const char* const qui = prossimo[primo];
        scrivi(uscita, std::string_view(inizio, static_cast<std::size_t>(qui - inizio)));
        if (qui == fine) {
            return;
        }
        scrivi(uscita, entita[primo]);
        inizio = qui + 1;
        prossimo[primo] = trova(inizio, speciali[primo]);
    }
}

void scrivi_numero(std::ostream& uscita, int numero) {
    std::array<char, 16> cifre{};
    auto* const fine = std::to_chars(cifre.data(), cifre.data() + cifre.size(), numero).ptr;
    uscita.write(cifre.data(), fine - cifre.data());
}

}  // namespace

Tabella::Tabella(std::ostream& uscita, TipoTabella tipo)
    : uscita_(uscita), stile_(tipo == TipoTabella::excel ? EXCEL : PAGINA) {
    scrivi(uscita_, stile_.apertura);
}

void Tabella::riga(std::string_view riga) {
    ++numero_;
    scrivi(uscita_, stile_.prima_del_numero[static_cast<std::size_t>((numero_ - 1) % 2)]);
    scrivi_numero(uscita_, numero_);
    scrivi(uscita_, stile_.dopo_il_numero);
    const Celle celle = taglia_in_celle(riga);
    for (std::size_t c = 0; c < celle.quante; ++c) {
        if (c > 0) {
            scrivi(uscita_, stile_.separatore);
        }
        if (stile_.testo_html) {
            scrivi_testo_html(uscita_, celle.testo[c]);
        } else {
            scrivi(uscita_, celle.testo[c]);
        }
    }
    scrivi(uscita_, "\n");
    scrivi(uscita_, stile_.chiusura_riga);
}

void Tabella::chiudi() {
    scrivi(uscita_, stile_.chiusura);
}

}  // namespace turnolista
