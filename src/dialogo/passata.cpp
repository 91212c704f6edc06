#include "dialogo/passata.hpp"

#include <algorithm>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "comune/costanti.hpp"
#include "esporta/calendario.hpp"
#include "esporta/lettore.hpp"
#include "esporta/tabella.hpp"

namespace turnolista {

namespace {

// How many lines hold `cercato`, and their bytes.
std::pair<std::uint64_t, std::size_t> trovate(std::string_view testo, std::string_view cercato) {
    std::pair<std::uint64_t, std::size_t> quante{};
    per_riga(testo, [&](std::string_view riga) {
        if (contiene(riga, cercato)) {
            ++quante.first;
            quante.second += riga.size();
        }
    });
    return quante;
}

// The table of the lines that hold `cercato`: those of a list of spaces by its fixed rule,
// those of any other list as the reader reads each record.
std::string tabella_di(std::string_view testo, std::string_view cercato, Tabella tabella) {
    const Disposizione disposizione(testo);
    if (disposizione.regola_fissa) {
        per_riga(testo, [&](std::string_view riga) {
            if (contiene(riga, cercato)) {
                tabella.riga(riga);
            }
        });
        return std::move(tabella).chiudi();
    }
    const Lettore lettore(testo, disposizione);
    const Separatore separatore = lettore.separatore;
    per_riga(
        testo,
        [&](std::string_view riga) {
            if (contiene(riga, cercato)) {
                tabella.riga(lettore.leggi(riga), riga);
            }
        },
        separatore == Separatore::spazio ? '\0' : static_cast<char>(separatore));
    return std::move(tabella).chiudi();
}

}  // namespace

Passata passata(std::string_view testo, Codifica codifica, std::string_view nome, Formato formato,
                std::chrono::sys_seconds adesso, FineRiga fine_riga) {
    const VoceFormato& scelta = voce(formato);
    Passata esito;
    std::string cercato = in_utf8(nome);
    // How many lines match, and their bytes, so that each file takes its room once and a
    // pass stays within three times the list. Where none holds the name as typed, the lines
    // that hold it with other capitals or accents are the team's.
    std::size_t trovati = 0;
    std::tie(esito.RIGHE, trovati) = trovate(testo, cercato);
    if (esito.RIGHE == 0) {
        esito.altra_grafia = altra_grafia(testo, cercato);
        if (esito.altra_grafia) {
            cercato = esito.altra_grafia->come_scritto;
            std::tie(esito.RIGHE, trovati) = trovate(testo, cercato);
        }
    }
    // The files start with the UTF-8 BOM where the list's text is UTF-8 (never the
    // calendar, which is UTF-8 by definition), so that Windows' programs read them so.
    const std::string_view inizio = codifica == Codifica::utf8 ? BOM_UTF8 : "";
    std::string righe(inizio);  // the text formats' file, or temp.txt
    righe.reserve(scelta.ics ? 0
                             : inizio.size() + trovati + esito.RIGHE * (scelta.tabella ? 1 : 2));
    // The lines a member's editor shows, copied as they are.
    per_riga(testo, [&](std::string_view riga) {
        if (!scelta.ics && contiene(riga, cercato)) {
            righe.append(riga).append(scelta.tabella ? "\n" : "\n\n");
        }
    });

    std::optional<std::string> tabella;
    if (scelta.ics) {
        esito.calendario = calendario(testo, cercato, adesso);
    } else if (scelta.tabella) {
        tabella =
            tabella_di(testo, cercato, Tabella(*scelta.tabella, inizio, trovati, esito.RIGHE));
    }

    // Each file in the list's encoding, but the calendar.
    const auto file = [&](std::string contenuto) {
        return codificato(con_fine_riga(std::move(contenuto), fine_riga), codifica);
    };
    if (scelta.ics) {
        // A calendar with no match would only empty the one a phone already has.
        if (esito.calendario.eventi > 0) {
            esito.file.push_back({scelta.file, std::move(esito.calendario.ics)});
        }
    } else if (tabella) {
        // The table first, which is what the user asked for, then "temp.txt".
        esito.file.push_back({scelta.file, file(std::move(*tabella))});
        esito.file.push_back({FILE_TEMPORANEO, file(std::move(righe))});
    } else {
        esito.file.push_back({scelta.file, file(std::move(righe))});
    }
    return esito;
}

}  // namespace turnolista
