// libFuzzer target: arbitrary bytes as a team name (up to the first newline) and a fixture
// list (the rest). Runs a pass of every format over them and checks what must hold for
// every input.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "comune/codifica.hpp"
#include "comune/costanti.hpp"
#include "dialogo/dialogo.hpp"
#include "esporta/parti.hpp"

namespace {

void verifica(bool condizione) {
    if (!condizione) {
        std::abort();
    }
}

// The lines that must be copied, found the plain way: split at LF, CR LF or a CR alone and
// test each with find().
std::string attese(std::string_view originale, std::string_view nome) {
    std::string uscita;
    while (!originale.empty()) {
        const auto a_capo = originale.find_first_of("\r\n");
        const auto riga = originale.substr(0, a_capo);
        if (!nome.empty() && riga.find(nome) != std::string_view::npos) {
            uscita.append(riga).push_back('\n');
        }
        const bool crlf = originale.substr(riga.size()).starts_with("\r\n");
        originale.remove_prefix(std::min(originale.size(), riga.size() + (crlf ? 2 : 1)));
    }
    return uscita;
}

std::size_t conta(std::string_view testo, std::string_view cosa) {
    std::size_t n = 0;
    for (auto p = testo.find(cosa); p != std::string_view::npos; p = testo.find(cosa, p + 1)) {
        ++n;
    }
    return n;
}

// The page without everything the program itself writes: what is left came from the
// fixture text, and must hold no markup.
std::string senza_marcatura(std::string pagina) {
    static const std::vector<std::string> marcatura{"<HTML>",
                                                    "</HTML>",
                                                    "<BODY>",
                                                    "</BODY>",
                                                    "<TABLE border=1 bgcolor=#80ff80>",
                                                    "</TABLE>",
                                                    "<TR bgcolor=#ffff80>",
                                                    "<TR bgcolor=#c0ffff>",
                                                    "<TR>",
                                                    "</TR>",
                                                    "<TD align=center>",
                                                    "<TD>",
                                                    "</TD>",
                                                    "<b>",
                                                    "</b>"};
    for (const auto& tag : marcatura) {
        for (auto p = pagina.find(tag); p != std::string::npos; p = pagina.find(tag, p)) {
            pagina.erase(p, tag.size());
        }
    }
    return pagina;
}

bool entita_valide(std::string_view testo) {
    for (auto p = testo.find('&'); p != std::string_view::npos; p = testo.find('&', p + 1)) {
        const auto resto = testo.substr(p);
        if (!resto.starts_with("&amp;") && !resto.starts_with("&lt;") &&
            !resto.starts_with("&gt;")) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t quanti) {
    const std::string_view input(reinterpret_cast<const char*>(dati), quanti);
    const auto a_capo = input.find('\n');
    // A name is one typed line: a CR ends it as the dialogue reads it.
    const auto nome =
        input.substr(0, std::min(input.find_first_of("\r\n"), turnolista::NOME_MASSIMO));
    // The list as the program reads it, decoded to UTF-8, and its files left in UTF-8.
    const turnolista::Testo lista = turnolista::decodifica(std::string(
        a_capo == std::string_view::npos ? std::string_view{} : input.substr(a_capo + 1)));
    const std::string_view originale = lista.utf8;

    using turnolista::Formato;
    const auto passata = [&](Formato formato) {
        return turnolista::passata(originale, turnolista::Codifica::ascii, nome, formato,
                                   std::chrono::sys_seconds(std::chrono::hours(500'000)),
                                   turnolista::FineRiga::lf);
    };
    const auto excel = passata(Formato::excel);
    const auto pagina = passata(Formato::pagina);
    const auto ics = passata(Formato::ics);
    const std::string& temp = excel.file.at(1).contenuto;
    // The name typed is looked for in UTF-8, as the list is.
    const std::string cercato = turnolista::in_utf8(nome);
    // temp.txt holds the lines that hold the name; a name with a sign a keyboard types plainly
    // finds its typographic forms too, and one no line holds finds it by its letters.
    const std::string attesa = attese(originale, cercato);
    if (!attesa.empty() && cercato.find_first_of("'\"- ") == std::string::npos) {
        verifica(temp == attesa);
    }
    const auto righe = static_cast<std::size_t>(excel.RIGHE);
    verifica(conta(temp, "\n") == righe);
    verifica(passata(Formato::testo).file.at(0).contenuto.size() == temp.size() + righe);

    // A table has a row for each line, or for each record where a record takes more lines: a
    // quoted cell of a list cut by a sign that holds a line break, a PDF's cells one on each line,
    // a match's block of lines. Those lines are joined by blanks, which a name without them cannot
    // span.
    const std::string& tabella = excel.file.at(0).contenuto;
    const turnolista::Disposizione disposizione(originale);
    const bool record = disposizione.per_record > 0 || disposizione.a_blocchi ||
                        disposizione.separatore != turnolista::Separatore::spazio;
    if (!record) {
        verifica(conta(tabella, "\n") == righe);
    } else if (!attesa.empty() && cercato.find_first_of(" \t") == std::string::npos) {
        verifica(conta(tabella, "\n") <= righe && !tabella.empty());
    }
    verifica(tabella.empty() || tabella.back() == '\n');

    const std::string& html = pagina.file.at(0).contenuto;
    verifica(conta(html, "<TR bgcolor=") == conta(tabella, "\n"));
    verifica(html.ends_with("\n</TABLE>\n</BODY>\n</HTML>"));
    const std::string testo = senza_marcatura(html);
    verifica(testo.find('<') == std::string::npos && testo.find('>') == std::string::npos);
    verifica(entita_valide(testo));

    // A calendar is UTF-8, in lines of at most 75 octets, with one event for each match it
    // does not tell of; with none it is not written.
    verifica(ics.file.size() == (ics.calendario.eventi > 0 ? 1U : 0U));
    // A line gives at most two matches: a first and a return leg; a record's lines joined by
    // blanks may hold a name with blanks where no line does.
    if (!record || cercato.find_first_of(" \t") == std::string::npos) {
        verifica(ics.calendario.eventi + ics.calendario.scartate.size() <= 2 * righe);
    }
    if (ics.calendario.eventi > 0) {
        const std::string& eventi = ics.file.at(0).contenuto;
        verifica(turnolista::utf8_valido(eventi));
        verifica(eventi.ends_with("END:VCALENDAR\r\n"));
        for (std::size_t da = 0; da < eventi.size(); da = eventi.find("\r\n", da) + 2) {
            verifica(eventi.find("\r\n", da) - da <= 75);
        }
        verifica(conta(eventi, "\r\nBEGIN:VEVENT\r\n") == ics.calendario.eventi);
    }
    return 0;
}
