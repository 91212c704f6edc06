#include "dialogo/passata.hpp"

#include <algorithm>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "comune/costanti.hpp"
#include "esporta/calendario.hpp"
#include "esporta/disposizione.hpp"
#include "esporta/tabella.hpp"

namespace turnolista {

namespace {

// How many lines hold `cercato`, and their bytes.
std::pair<std::uint64_t, std::size_t> trovate(std::string_view testo, std::string_view cercato,
                                              bool virgolette) {
    std::pair<std::uint64_t, std::size_t> quante{};
    per_riga(
        testo,
        [&](std::string_view riga) {
            if (contiene(riga, cercato)) {
                ++quante.first;
                quante.second += riga.size();
            }
        },
        virgolette);
    return quante;
}

// Adds a matching line and `fine` to a text file's content; a line break in a cell is the
// program's LF, as every other.
void aggiungi(std::string& righe, std::string_view riga, std::string_view fine) {
    for (std::size_t cr = riga.find("\r\n"); cr != std::string_view::npos; cr = riga.find("\r\n")) {
        righe.append(riga.substr(0, cr));
        riga.remove_prefix(cr + 1);
    }
    righe.append(riga).append(fine);
}

// How many lines of the list a record takes: more than one where a cell holds a line break.
std::uint64_t righe_del_record(std::string_view riga, bool virgolette) {
    return 1 + (virgolette ? static_cast<std::uint64_t>(std::count(riga.begin(), riga.end(), '\n'))
                           : 0);
}

}  // namespace

Passata passata(std::string_view testo, Codifica codifica, std::string_view nome, Formato formato,
                std::chrono::sys_seconds adesso, FineRiga fine_riga) {
    const VoceFormato& scelta = voce(formato);
    const std::string cercato = in_utf8(nome);

    // What is decided from the whole list, before any line is copied: whether a line break
    // in double quotes is inside a cell (a CSV), how many lines match, so that each file
    // takes its room once and a pass stays within three times the list, and how the list
    // lays out its fields, which only the tables and the calendar use.
    const Separatore separatore = separatore_della_lista(testo);
    const bool virgolette =
        separatore == Separatore::punto_e_virgola || separatore == Separatore::virgola;
    const bool colonne = scelta.tabella || scelta.ics;
    const Disposizione disposizione =
        colonne ? leggi_disposizione(testo, scelta.ics) : Disposizione();
    Passata esito;
    std::size_t trovati = 0;  // bytes of the matching lines
    std::tie(esito.RIGHE, trovati) = trovate(testo, cercato, virgolette);
    // The files start with the UTF-8 BOM where the list's text is UTF-8 (never the
    // calendar, which is UTF-8 by definition), so that Windows' programs read them so.
    const std::string_view inizio = codifica == Codifica::utf8 ? BOM_UTF8 : "";
    std::string righe(inizio);  // the text formats' file, or temp.txt
    std::optional<Tabella> tabella;
    std::optional<Calendario> calendario;
    if (scelta.ics) {
        calendario.emplace(cercato, adesso, disposizione);
    } else {
        righe.reserve(inizio.size() + trovati + esito.RIGHE * (scelta.tabella ? 1 : 2));
    }
    if (scelta.tabella) {
        tabella.emplace(*scelta.tabella, disposizione, inizio, trovati, esito.RIGHE);
    }

    std::uint64_t numero = 1;  // of the line a record starts on
    per_riga(
        testo,
        [&](std::string_view riga) {
            const std::uint64_t questa = numero;
            numero += righe_del_record(riga, virgolette);
            if (calendario) {
                calendario->giornata(riga);
            }
            if (!contiene(riga, cercato)) {
                return;
            }
            if (calendario) {
                calendario->riga(riga, questa);
                return;
            }
            // The text formats follow each line with an empty one.
            aggiungi(righe, riga, tabella ? "\n" : "\n\n");
            if (tabella) {
                tabella->riga(riga);
            }
        },
        virgolette);

    // Each file in the list's encoding, but the calendar.
    const auto file = [&](std::string contenuto) {
        return codificato(con_fine_riga(std::move(contenuto), fine_riga), codifica);
    };
    if (calendario) {
        std::string ics = calendario->scrivi();
        esito.stagione = calendario->stagione();
        esito.anno = calendario->anno();
        esito.eventi = calendario->eventi();
        esito.scartate = calendario->scartate();
        // A calendar with no match would only empty the one a phone already has.
        if (esito.eventi > 0) {
            esito.file.push_back({scelta.file, std::move(ics)});
        }
    } else if (tabella) {
        // The table first, which is what the user asked for, then "temp.txt".
        esito.file.push_back({scelta.file, file(std::move(*tabella).chiudi())});
        esito.file.push_back({FILE_TEMPORANEO, file(std::move(righe))});
    } else {
        esito.file.push_back({scelta.file, file(std::move(righe))});
    }
    // Worked out only when nothing matched: it reads every line again.
    if (esito.RIGHE == 0) {
        esito.altra_grafia = altra_grafia(testo, cercato);
    }
    return esito;
}

}  // namespace turnolista
