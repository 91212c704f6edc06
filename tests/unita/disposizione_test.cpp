#include "esporta/disposizione.hpp"
#include "esporta/giornate.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace turnolista {
namespace {

// The fields of a list's last line, as a table shows them, "|" between them.
std::string campi_dell_ultima(const std::string& lista) {
    const Disposizione d = leggi_disposizione(lista);
    std::string_view ultima(lista);
    ultima.remove_suffix(1);
    ultima = ultima.substr(ultima.rfind('\n') + 1);
    Celle celle;
    Campi campi;
    leggi_campi(ultima, d, true, celle, campi);
    std::string uscita;
    for (std::size_t c = 0; c < CAMPI; ++c) {
        uscita.append(campi[c]).append(c + 1 < CAMPI ? "|" : "");
    }
    for (const auto altra : campi.altre) {
        uscita.append("|").append(altra);
    }
    return uscita;
}

TEST(Disposizione, FieldsAsEachWayOfSavingAListLaysThemOut) {
    struct Caso {
        std::string nome;
        std::string lista;
        std::string campi;
        bool come_sta;
    };
    const std::vector<Caso> casi{
        {"spaces", "1 13/09 15:30 Campo Nuovo Lupi-Orsi\n", "1|13/09|15:30|Campo|Nuovo Lupi-Orsi",
         true},
        {"an Italian CSV with its header in order",
         "N;DATA;ORARIO;LUOGO;PARTITA\n7;25/10;15:30;\"Campo; 2\";Lupi-Orsi\n",
         "7|25/10|15:30|Campo; 2|Lupi-Orsi", true},
        {"Google Sheets: commas, quotes, home and away",
         "N,Data,Ora,Campo,Casa,Ospite\n1,13/09/2026,15:30,\"Nord, Lecco\",Cant\xC3\xB9,Lupi\n",
         "1|13/09/2026|15:30|Nord, Lecco|Cant\xC3\xB9 - Lupi", false},
        {"a tab sheet with other names, in another order, and a result",
         "Giorno\tSquadra 1\tSquadra 2\tOrario\tImpianto\tRisultato\n"
         "13/09\tLupi\tOrsi\t21:00\tPalaCampus\t2-1\n",
         "|13/09|21:00|PalaCampus|Lupi - Orsi|2-1", false},
        {"accents and capitals in the header",
         "GARA;DATA;ORA;LUOGO;INCONTRO;NOTE\n3;1/10;20.45;Oratorio;Lupi-Orsi;rec.\n",
         "3|1/10|20.45|Oratorio|Lupi-Orsi|rec.", false},
        {"no N column: the fields by what the columns hold",
         "13/09\t15:30\tComunale\tLupi-Orsi\n20/09\t18:00\tOratorio\tVolpi-Lupi\n",
         "|20/09|18:00|Oratorio|Volpi-Lupi", true},
        {"the time first, the number last",
         "15:30;13/09;Lupi-Orsi;Comunale;1\n18:00;20/09;Volpi-Lupi;Oratorio;2\n",
         "2|20/09|18:00|Oratorio|Volpi-Lupi", true},
        {"a weekday before the date, where N would be",
         "Sab 26/09 15:30 Campo Lupi-Orsi\nDom 27/09 18:00 Campo Volpi-Lupi\n",
         "Dom|27/09|18:00|Campo|Volpi-Lupi", true},
        {"columns aligned by runs of spaces",
         "1   13/09   15:30   Campo Nuovo   Lupi-Orsi\n2   20/09   18:00   Oratorio   Orsi-Lupi\n",
         "2|20/09|18:00|Oratorio|Orsi-Lupi", true},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.nome);
        EXPECT_EQ(campi_dell_ultima(caso.lista), caso.campi);
        EXPECT_EQ(leggi_disposizione(caso.lista).come_sta(), caso.come_sta);
    }
}

TEST(Disposizione, ARoundGivesItsDateAndAMatchLineItsTimePlaceAndTeams) {
    EXPECT_EQ(data_della_giornata("1\xC2\xAA GIORNATA - Domenica 13/09/2026"),
              "Domenica 13/09/2026");
    EXPECT_EQ(data_della_giornata("3a giornata, sabato 13 settembre 2026"),
              "sabato 13 settembre 2026");
    // Words that start as the round's would, in either case, stand before it.
    EXPECT_EQ(data_della_giornata("Tappa g di Girone G, TuRnO 4 gio. 1-10-26"), "gio. 1-10-26");
    EXPECT_EQ(data_della_giornata("Giornata 1: Riposa Lupi"), std::nullopt);
    EXPECT_EQ(data_della_giornata("1 13/09 15:30 C Lupi-Orsi"), std::nullopt);
    Campi campi;
    campi_nella_giornata("ore 17:00 Palestra Cant\xC3\xB9: Cant\xC3\xB9 - San Luigi", campi);
    EXPECT_EQ(campi[CAMPO_ORA], "ore 17:00");
    EXPECT_EQ(campi[CAMPO_LUOGO], "Palestra Cant\xC3\xB9");
    EXPECT_EQ(campi[CAMPO_PARTITA], "Cant\xC3\xB9 - San Luigi");
    campi_nella_giornata("21:00 Lupi - Orsi", campi);
    EXPECT_EQ(campi[CAMPO_ORA], "21:00");
    EXPECT_EQ(campi[CAMPO_PARTITA], "Lupi - Orsi");
}

}  // namespace
}  // namespace turnolista
