// Windows only: text files and the console's bytes as a Windows text-mode program has them
//
// What the program's files and console hold on Windows, byte for byte: these runs give and
// collect every text exactly as it is.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "esecuzione.hpp"

namespace prova {
namespace {

namespace fs = std::filesystem;

// As Notepad saves it, with a line of another editor's, a CR alone (an old Mac's line end,
// which ends the line as Notepad shows it), a Ctrl-Z and no line end at the end.
const std::string ORIGINALE_CRLF =
    "1 13/09 10:30 Oratorio Falchi-Lupi\r\n"
    "2 13/09 15:00 Parrocchiale Aquile-Orsi\r\n"
    "Giornata 1: Riposa Lupi\n"
    "3 20/09 15:30 Comunale Lupi\rVolpi\r\n"
    "4 20/09 \x1A Lupi-Orsi\r\n"
    "5 27/09 10:00 Boschetto Lupi-Tori";

TEST(Windows, FixtureSavedWithCrLfGivesCellsWithoutCarriageReturns) {
    const auto x = esegui({.file = {{"originale.txt", ORIGINALE_CRLF}},
                           .input = "x\r\nLupi\r\nn\r\n",
                           .grezzo = true});
    EXPECT_EQ(x.stato, 0);
    EXPECT_EQ(x.file.at("calendario.xls"),
              "1\t1\t13/09\t10:30\tOratorio\tFalchi-Lupi\r\n"
              "2\t\t\t\t\tRiposa Lupi\r\n"
              "3\t3\t20/09\t15:30\tComunale\tLupi\r\n"
              "4\t4\t20/09\t\x1A\tLupi-Orsi\r\n"
              "5\t5\t27/09\t10:00\tBoschetto\tLupi-Tori\r\n");
    EXPECT_EQ(x.file.at("temp.txt"),
              "1 13/09 10:30 Oratorio Falchi-Lupi\r\n"
              "Giornata 1: Riposa Lupi\r\n"
              "3 20/09 15:30 Comunale Lupi\r\n"
              "4 20/09 \x1A Lupi-Orsi\r\n"
              "5 27/09 10:00 Boschetto Lupi-Tori\r\n");

    const auto h = esegui({.file = {{"originale.txt", "1 13/09 10:30 Oratorio Falchi-Lupi\r\n"}},
                           .input = "h\nLupi\nn\n",
                           .grezzo = true});
    EXPECT_EQ(h.file.at("calendario.html"),
              "<HTML>\r\n<BODY>\r\n<TABLE border=1 bgcolor=#80ff80>\r\n"
              "<TR><TD><b>G</b></TD><TD><b>N</b></TD><TD align=center><b>DATA</b></TD><TD "
              "align=center><b>ORARIO</b></TD><TD align=center><b>LUOGO</b></TD><TD "
              "align=center><b>PARTITA</b></TD></TR><TR bgcolor=#ffff80>\r\n"
              "\t<TD>1</TD>\r\n\t<TD>1</TD>\r\n\t<TD>13/09</TD>\r\n\t<TD>10:30</TD>\r\n"
              "\t<TD>Oratorio</TD>\r\n\t<TD>Falchi-Lupi\r\n\t</TD>\r\n</TR>\r\n"
              "\r\n</TABLE>\r\n</BODY>\r\n</HTML>");
}

TEST(Windows, CrLfSplitBetweenTwoReadsIsOneLineEnd) {
    // The CR is the last byte of the first 64 KiB read, its LF the first of the next.
    const std::string prima = "1 Lupi " + std::string(65'535 - 7, 'x');
    const auto e = esegui({.file = {{"originale.txt", prima + "\r\n2 Lupi-Orsi\r\n"}},
                           .input = "t\r\nLupi\r\nn\r\n",
                           .grezzo = true});
    EXPECT_EQ(e.stato, 0);
    EXPECT_EQ(e.file.at("calendario.txt"), prima + "\r\n\r\n2 Lupi-Orsi\r\n\r\n");
}

TEST(Windows, RedirectedOutputHasTheAnsiBytesAndCrLf) {
    const auto e = esegui({.file = {{"originale.txt", "1 Lupi-Orsi\n"}},
                           .input = "t\nLupi\nn\nresto\n",
                           .grezzo = true});
    EXPECT_EQ(e.out,
              "In quale formato vuoi che venga salvato il calendario?(scrivi t per file di "
              "testo,w per Word,x per Ecxel,h per pagina web e poi premi invio)\r\n"
              "Inserisci il nome della tua squadra e poi premi invio\r\n"
              "\r\nL'espressione cercata \xE8 presente in 1 righe\r\n"
              "- Turnolista successfully executed - Congratulations by Velmaro -\r\n"
              "Complimenti! Il tuo calendario si trova nel file calendario.txt\r\n"
              "\r\nVoui ricominciare?(y/n)\r\nNB:Scegliendo lo stesso formato dell'esecuzione "
              "precedente, si sovrascrive il vecchio file\r\n");
    EXPECT_EQ(e.file.at("calendario.txt"), "1 Lupi-Orsi\r\n\r\n");
}

TEST(Windows, RedirectedStreamsHaveTheAnsiCodePagesOwnLetters) {
    RICHIEDE(::GetACP() == 1252, "the letters below are those of the ANSI code page 1252");
    // A word processor's apostrophe, dash, quotes and the euro: in the code page, not in
    // ISO-8859-1, which has none of them.
    const auto opzione = esegui({.argomenti = {"\xE2\x80\x93\xE2\x80\x9C"
                                               "d\xE2\x80\x99"
                                               "a\xE2\x80\x9D\xE2\x82\xAC"}});
    EXPECT_EQ(opzione.err,
              "turnolista: opzione non riconosciuta: \x96\x93"
              "d\x92"
              "a\x94\x80\nPer l'aiuto: turnolista --help\n");
    EXPECT_EQ(opzione.stato, 2);
}

TEST(Windows, ReadOnlyFileIsRefusedAndKept) {
    for (const std::string bloccato : {"calendario.txt", "temp.txt", "calendario.xls"}) {
        SCOPED_TRACE(bloccato);
        const std::string lettera = bloccato == "calendario.txt" ? "t" : "x";
        const std::map<std::string, std::string> prima{{"originale.txt", "1 Lupi-Orsi\n"},
                                                       {bloccato, "vecchio\n"}};
        const auto e = esegui(
            {.file = prima, .permessi = {{bloccato, 0444U}}, .input = lettera + "\nLupi\nn\n"});
        EXPECT_EQ(e.out, FORMATO + NOME + ANCORA);
        EXPECT_EQ(e.err, "Impossibile scrivere il file " + bloccato + ": permesso negato\n");
        EXPECT_EQ(e.stato, 1);
        EXPECT_EQ(e.file, prima);
        EXPECT_EQ(e.permessi.at(bloccato), 0444U);
    }
}

TEST(Windows, ListDroppedFromAFolderOfAnyNameIsReadAndItsCalendarWrittenThere) {
    // As Explorer gives a file or a folder dropped on the program: one quoted full path, long,
    // of Nicolò, Футбол or 足球, the program started in a folder of its own. The folders are
    // made outside the run's, whose path the arguments cannot know beforehand.
    const fs::path radice =
        fs::temp_directory_path() / ("turnolista trascinato " + std::to_string(questo_processo()));
    const std::string lunga(100, 'x');
    const std::vector<std::string> nomi{"Nicol\xC3\xB2 " + lunga,
                                        "\xD0\xA4\xD1\x83\xD1\x82\xD0\xB1\xD0\xBE\xD0\xBB " + lunga,
                                        "\xE8\xB6\xB3\xE7\x90\x83 " + lunga};
    for (const auto& nome : nomi) {
        for (const std::string lista : {"Girone B - stagione 2026-2027.csv", "originale.txt"}) {
            const fs::path cartella =
                radice / std::u8string(nome.begin(), nome.end()) / "Girone B, stagione 2026-2027";
            fs::create_directories(cartella);
            std::ofstream(cartella / lista, std::ios::binary) << "1 Lupi-Orsi\r\n";
            const std::u8string dato =
                (lista == "originale.txt" ? cartella : cartella / lista).u8string();
            const auto e = esegui({.parte_da = "turnolista",
                                   .input = "t\nLupi\nn\n",
                                   .argomenti = {std::string(dato.begin(), dato.end())}});
            // The folder is named as the console's code page shows it: its last part here.
            EXPECT_TRUE(e.out.starts_with(FORMATO + NOME + PRESENTE + "1" + ESEGUITO + COMPLIMENTI +
                                          "calendario.txt nella cartella "))
                << e.out;
            EXPECT_TRUE(e.out.ends_with("\\Girone B, stagione 2026-2027\n" + ANCORA)) << e.out;
            EXPECT_EQ(e.err, "");
            EXPECT_EQ(e.stato, 0);
            EXPECT_EQ(leggi(cartella / "calendario.txt"), "1 Lupi-Orsi\r\n\r\n");
            EXPECT_EQ(e.file, (std::map<std::string, std::string>{{"turnolista/", ""}}));
            fs::remove_all(radice);
        }
    }
}

TEST(Windows, WindowOfADoubleClickOrADropStaysOpenAfterAFailure) {
    // A run with a console of its own, as Explorer starts one.
    const auto finestra = [](Avvio avvio) {
        avvio.input = "t\nLupi\nn\n";
        avvio.durante = [](int programma, const fs::path&) {
            aspetta(programma, [] { return false; });
        };
        return esegui(avvio);
    };
    const std::string premi = "Premi Invio per chiudere la finestra.\n";
    const auto doppio_clic = finestra({});
    EXPECT_EQ(doppio_clic.out, FALLITA + premi);
    EXPECT_EQ(doppio_clic.stato, 1);
    const auto pdf =
        finestra({.file_grezzi = {{"Girone B.pdf", "%PDF-1.7\n"}}, .argomenti = {"Girone B.pdf"}});
    EXPECT_EQ(pdf.out, FALLITA + premi);
    EXPECT_EQ(pdf.stato, 1);
    const auto due = finestra(
        {.file = {{"a.csv", ORIGINALE}, {"b.csv", ORIGINALE}}, .argomenti = {"a.csv", "b.csv"}});
    EXPECT_EQ(due.out, premi);
    EXPECT_EQ(due.stato, 2);
    const auto riuscita =
        finestra({.file = {{"Girone B.csv", ORIGINALE}}, .argomenti = {"Girone B.csv"}});
    EXPECT_EQ(riuscita.out, RIUSCITA_TXT);
    EXPECT_EQ(riuscita.stato, 0);
}

TEST(Windows, FileAnotherProgramHoldsIsSaidSoToReadOrToWrite) {
    for (const std::string tenuto : {"originale.txt", "calendario.txt"}) {
        SCOPED_TRACE(tenuto);
        HANDLE h = INVALID_HANDLE_VALUE;
        const auto e =
            esegui({.file = {{"originale.txt", "1 Lupi-Orsi\n"}, {"calendario.txt", "vecchio\n"}},
                    .input = "t\nLupi\nn\n",
                    .durante =
                        [&](int programma, const fs::path&) {
                            aspetta(programma, [] { return false; });
                            ::CloseHandle(h);
                        },
                    .prima =
                        [&](const fs::path& dove) {
                            // As Excel holds a file it has open: shared with no one.
                            h = ::CreateFileW((dove / tenuto).c_str(), GENERIC_READ, 0, nullptr,
                                              OPEN_EXISTING, 0, nullptr);
                        }});
        const std::string verbo = tenuto == "originale.txt" ? "leggere" : "scrivere";
        const std::string dove =
            tenuto == "originale.txt" ? " nella cartella " + e.cartella : std::string();
        EXPECT_EQ(e.err, "Impossibile " + verbo + " il file " + tenuto + dove +
                             ": \xE8 aperto in un altro programma, per esempio Excel o Word: "
                             "chiudilo e riprova\n");
        EXPECT_EQ(e.stato, 1);
        EXPECT_EQ(e.file.at("calendario.txt"), "vecchio\n");
    }
}

TEST(Windows, ReplacedFileKeepsItsAttributes) {
    const auto e = esegui({.file = {{"originale.txt", "1 Lupi-Orsi\n"}, {"calendario.txt", "v\n"}},
                           .input = "t\nLupi\nn\n",
                           .prima = [](const std::filesystem::path& cartella) {
                               ::SetFileAttributesW((cartella / "calendario.txt").c_str(),
                                                    FILE_ATTRIBUTE_HIDDEN);
                           }});
    EXPECT_EQ(e.stato, 0);
    EXPECT_EQ(e.file.at("calendario.txt"), "1 Lupi-Orsi\n\n");
    EXPECT_EQ(e.attributi.at("calendario.txt") & FILE_ATTRIBUTE_HIDDEN,
              static_cast<unsigned>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(e.attributi.at("originale.txt") & FILE_ATTRIBUTE_HIDDEN, 0U);
}

TEST(Windows, HelpAnswersWindowsHabits) {
    for (const std::string opzione : {"/?", "/h", "/help", "/HELP", "--HELP", "-?"}) {
        SCOPED_TRACE(opzione);
        const auto e = esegui({.argomenti = {opzione}});
        EXPECT_EQ(e.stato, 0);
        EXPECT_TRUE(e.out.starts_with("Uso: turnolista"));
        EXPECT_EQ(e.err, "");
    }
}

// A string of the program's version resource, as Explorer's Details tab shows it.
// A value of the program's version resource, as Explorer reads it, and its length (in
// characters for a text, in bytes otherwise); null where there is none.
std::pair<const void*, UINT> dalla_versione(const std::wstring& programma,
                                            const std::wstring& percorso) {
    static std::vector<char> dati;
    DWORD ignorato = 0;
    dati.assign(::GetFileVersionInfoSizeW(programma.c_str(), &ignorato), '\0');
    void* valore = nullptr;
    UINT lunghezza = 0;
    if (dati.empty() ||
        ::GetFileVersionInfoW(programma.c_str(), 0, static_cast<DWORD>(dati.size()), dati.data()) ==
            0 ||
        ::VerQueryValueW(dati.data(), percorso.c_str(), &valore, &lunghezza) == 0) {
        return {nullptr, 0};
    }
    return {valore, lunghezza};
}

std::wstring voce_della_versione(const std::wstring& programma, const std::wstring& voce) {
    const auto [valore, lunghezza] =
        dalla_versione(programma, L"\\StringFileInfo\\041004B0\\" + voce);
    return valore != nullptr ? std::wstring(static_cast<const wchar_t*>(valore)) : L"";
}

// The languages and code pages the version resource says its texts are in.
std::vector<WORD> traduzione(const std::wstring& programma) {
    const auto [valore, lunghezza] = dalla_versione(programma, L"\\VarFileInfo\\Translation");
    const auto* parole = static_cast<const WORD*>(valore);
    return parole != nullptr ? std::vector<WORD>(parole, parole + lunghezza / sizeof(WORD))
                             : std::vector<WORD>();
}

TEST(Windows, ProgramCarriesItsVersionAndAManifest) {
    const std::wstring programma = std::filesystem::path(TURNOLISTA).wstring();
    EXPECT_EQ(voce_della_versione(programma, L"FileVersion"), L"" VERSIONE_ATTESA_L);
    EXPECT_EQ(voce_della_versione(programma, L"FileDescription"),
              L"Estrae dal calendario di un campionato le partite di una squadra");
    const HMODULE modulo = ::LoadLibraryExW(programma.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(modulo, nullptr);
    // Italian throughout: the version resource itself, and its translation entry.
    EXPECT_NE(::FindResourceExW(modulo, MAKEINTRESOURCEW(16), MAKEINTRESOURCEW(1),
                                MAKELANGID(LANG_ITALIAN, SUBLANG_ITALIAN)),
              nullptr);
    EXPECT_EQ(traduzione(programma), (std::vector<WORD>{0x0410, 1200}));
    const HRSRC risorsa = ::FindResourceW(modulo, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(risorsa, nullptr);
    const auto* manifesto =
        static_cast<const char*>(::LockResource(::LoadResource(modulo, risorsa)));
    const std::string testo(manifesto, ::SizeofResource(modulo, risorsa));
    EXPECT_NE(testo.find("<longPathAware"), std::string::npos);
    EXPECT_NE(testo.find("level=\"asInvoker\""), std::string::npos);
    ::FreeLibrary(modulo);
}

}  // namespace
}  // namespace prova
