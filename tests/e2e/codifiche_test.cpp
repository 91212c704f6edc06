#include <gtest/gtest.h>

#include "esecuzione.hpp"

namespace prova {
namespace {

// The fixture list as Notepad, Excel and downloads save it; the team's name has an
// accented letter. Given to the program byte for byte.
const std::string RIGHE_UTF8 =
    "Giornata 1: Riposa Cant\xC3\xB9\n"
    "1 13/09 10:30 Oratorio Cant\xC3\xB9-Lupi\n"
    "2 13/09 15:00 Parrocchiale Aquile-Orsi\n";
const std::string RIGHE_ANSI =
    "Giornata 1: Riposa Cant\xF9\n"
    "1 13/09 10:30 Oratorio Cant\xF9-Lupi\n"
    "2 13/09 15:00 Parrocchiale Aquile-Orsi\n";

std::string con_crlf(const std::string& testo) {
    std::string crlf;
    for (const char c : testo) {
        crlf += c == '\n' ? "\r\n" : std::string(1, c);
    }
    return crlf;
}

// UTF-16 with its BOM, from UTF-8 text of characters below U+0800.
std::string utf16(const std::string& utf8, bool le) {
    std::string uscita = le ? "\xFF\xFE" : "\xFE\xFF";
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        unsigned c = static_cast<unsigned char>(utf8[i]);
        if (c >= 0xC0) {
            c = ((c & 0x1F) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F);
        }
        const char alto = static_cast<char>(c >> 8);
        const char basso = static_cast<char>(c & 0xFF);
        uscita += le ? std::string{basso, alto} : std::string{alto, basso};
    }
    return uscita;
}

const std::string BOM = "\xEF\xBB\xBF";

// What each format writes of the two lines that name the team, in one encoding.
std::map<std::string, std::string> calendari(const std::string& u, const std::string& bom) {
    const std::string td = "</TD>\n\t<TD>";
    return {
        {"calendario.txt",
         bom + "Giornata 1: Riposa Cant" + u + "\n\n1 13/09 10:30 Oratorio Cant" + u + "-Lupi\n\n"},
        {"calendario.xls", bom + "1\t\t\t\t\tRiposa Cant" + u +
                               "\n2\t1\t13/09\t10:30\tOratorio\tCant" + u + "-Lupi\n"},
        {"temp.txt",
         bom + "Giornata 1: Riposa Cant" + u + "\n1 13/09 10:30 Oratorio Cant" + u + "-Lupi\n"},
        {"calendario.html",
         bom +
             "<HTML>\n<BODY>\n<TABLE border=1 bgcolor=#80ff80>\n"
             "<TR><TD><b>G</b></TD><TD><b>N</b></TD><TD align=center><b>DATA</b></TD><TD "
             "align=center><b>ORARIO</b></TD><TD align=center><b>LUOGO</b></TD><TD "
             "align=center><b>PARTITA</b></TD></TR><TR bgcolor=#ffff80>\n\t<TD>1" +
             td + td + td + td + td + "Riposa Cant" + u +
             "\n\t</TD>\n</TR>\n<TR bgcolor=#c0ffff>\n\t<TD>2" + td + "1" + td + "13/09" + td +
             "10:30" + td + "Oratorio" + td + "Cant" + u +
             "-Lupi\n\t</TD>\n</TR>\n\n</TABLE>\n</BODY>\n</HTML>"},
    };
}

TEST(Codifiche, EveryWayOfSavingTheListGivesItsTeamInEveryFormat) {
    struct Variante {
        std::string nome;
        std::string originale;
        std::map<std::string, std::string> attesi;
    };
    const auto utf8 = calendari("\xC3\xB9", BOM);
    const auto ansi = calendari("\xF9", "");
    const std::vector<Variante> varianti{
        {"UTF-8", RIGHE_UTF8, utf8},
        {"UTF-8 with BOM", BOM + RIGHE_UTF8, utf8},
        {"UTF-8 with BOM, CR LF", BOM + con_crlf(RIGHE_UTF8), utf8},
        {"UTF-16 LE, CR LF", utf16(con_crlf(RIGHE_UTF8), true), utf8},
        {"UTF-16 BE", utf16(RIGHE_UTF8, false), utf8},
        {"Windows-1252", RIGHE_ANSI, ansi},
        {"Windows-1252, CR LF", con_crlf(RIGHE_ANSI), ansi},
    };
    const std::vector<std::pair<std::string, std::vector<std::string>>> formati{
        {"t", {"calendario.txt"}},
        {"w", {"calendario.txt"}},
        {"x", {"calendario.xls", "temp.txt"}},
        {"h", {"calendario.html", "temp.txt"}},
    };
    for (const auto& variante : varianti) {
        for (const auto& [lettera, scritti] : formati) {
            SCOPED_TRACE(variante.nome + ", " + lettera);
            // The name as a UTF-8 console sends it.
            const auto e = esegui({.file_grezzi = {{"originale.txt", variante.originale}},
                                   .input = lettera + "\nCant\xC3\xB9\nn\n"});
            std::map<std::string, std::string> attesi{{"originale.txt", variante.originale}};
            for (const auto& file : scritti) {
                attesi[lettera == "w" ? "calendario.doc" : file] = variante.attesi.at(file);
            }
            EXPECT_EQ(e.file, attesi);
            EXPECT_EQ(e.out.find(PRESENTE + "2" + ESEGUITO), FORMATO.size() + NOME.size());
            EXPECT_EQ(e.stato, 0);
        }
    }
}

TEST(Codifiche, TypedNameIsLookedForInTheListsEncoding) {
    struct Caso {
        std::string nome;
        std::string originale;
        std::string digitato;
        std::string righe;
    };
    const std::vector<Caso> casi{
        // Typed as an ANSI console or file of answers sends it.
        {"Windows-1252 typed, UTF-8 list", RIGHE_UTF8, "Cant\xF9", "2"},
        {"Windows-1252 typed, Windows-1252 list", RIGHE_ANSI, "Cant\xF9", "2"},
        // A character Windows-1252 cannot hold is in no line of such a list.
        {"Greek typed, Windows-1252 list", RIGHE_ANSI + "3 \xCE\xA9mega\n", "\xCE\xA9mega", "0"},
        {"Greek typed, UTF-8 list", RIGHE_UTF8 + "3 \xCE\xA9mega\n", "\xCE\xA9mega", "1"},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.nome);
        const auto e = esegui({.file_grezzi = {{"originale.txt", caso.originale}},
                               .input = "t\n" + caso.digitato + "\nn\n"});
        EXPECT_EQ(e.out, FORMATO + NOME + PRESENTE + caso.righe + ESEGUITO + COMPLIMENTI +
                             "calendario.txt\n" + ANCORA);
    }
}

TEST(Codifiche, NameOf19AccentedLettersIsAcceptedOnAnyConsole) {
    const std::string nome = "\xC3\xA0\xC3\xA8\xC3\xAC\xC3\xB2\xC3\xB9 Societ\xC3\xA0 Sport";
    const auto e = esegui({.file_grezzi = {{"originale.txt", "1 " + nome + "-Lupi\n"}},
                           .input = "t\n" + nome + "x\n" + nome + "\nn\n"});
    EXPECT_EQ(e.out, FORMATO + NOME + TROPPO_LUNGO + NOME + PRESENTE + "1" + ESEGUITO +
                         COMPLIMENTI + "calendario.txt\n" + ANCORA);
}

TEST(Codifiche, NameInOtherCapitalLettersOrAccentsIsPointedOut) {
    struct Caso {
        std::string originale;
        std::string digitato;
        std::string nota;
        std::string righe;
        std::string diversi = "le lettere";
    };
    const std::vector<Caso> casi{
        {RIGHE_UTF8, "lupi", "\xABlupi\xBB scritto cos\xEC: uso le 1 riga con \xABLupi\xBB", "1"},
        {RIGHE_ANSI, "CANT\xC3\x99",
         "\xAB"
         "CANT\xD9\xBB scritto cos\xEC: uso le 2 righe con \xAB"
         "Cant\xF9\xBB",
         "2"},
        {RIGHE_UTF8, "cant\xC3\xB9",
         "\xAB"
         "cant\xF9\xBB scritto cos\xEC: uso le 2 righe con \xAB"
         "Cant\xF9\xBB",
         "2"},
        // A name typed without its accent, on a keyboard or a console that has none.
        {RIGHE_ANSI, "Cantu",
         "\xAB"
         "Cantu\xBB scritto cos\xEC: uso le 2 righe con \xAB"
         "Cant\xF9\xBB",
         "2", "gli accenti o le lettere"},
        {RIGHE_UTF8, "CANTU",
         "\xAB"
         "CANTU\xBB scritto cos\xEC: uso le 2 righe con \xAB"
         "Cant\xF9\xBB",
         "2", "gli accenti o le lettere"},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.digitato);
        const auto e = esegui({.file_grezzi = {{"originale.txt", caso.originale}},
                               .input = "t\n" + caso.digitato + "\nn\n"});
        EXPECT_EQ(e.out, FORMATO + NOME + PRESENTE + caso.righe + ESEGUITO + COMPLIMENTI +
                             "calendario.txt\n" + ANCORA);
        EXPECT_EQ(e.err, "Nessuna riga contiene " + caso.nota + ", che cambia solo per " +
                             caso.diversi + " maiuscole e minuscole\n");
    }
    // Where the name stands as typed, nothing is said.
    const auto trovato = esegui(
        {.file_grezzi = {{"originale.txt", RIGHE_UTF8 + "3 lupi\n"}}, .input = "t\nlupi\nn\n"});
    EXPECT_EQ(trovato.err, "");
}

TEST(Codifiche, BomAtTheStartOfTheAnswersIsNoPartOfTheFirst) {
    const auto e =
        esegui({.file_grezzi = {{"originale.txt", RIGHE_UTF8}}, .input = BOM + "t\nLupi\nn\n"});
    EXPECT_EQ(e.out, FORMATO + NOME + PRESENTE + "1" + ESEGUITO + COMPLIMENTI + "calendario.txt\n" +
                         ANCORA);
}

}  // namespace
}  // namespace prova
