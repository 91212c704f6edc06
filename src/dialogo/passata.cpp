#include "dialogo/dialogo.hpp"

#include <array>
#include <optional>
#include <utility>

#include "esporta/lettore.hpp"
#include "esporta/tabella.hpp"

namespace turnolista {

Passata passata(std::string_view testo, Codifica codifica, std::string_view nome, Formato formato,
                std::chrono::sys_seconds adesso, FineRiga fine_riga) {
    constexpr std::array<std::string_view, 5> FILE{
        "calendario.txt", "calendario.doc", "calendario.xls", "calendario.html", "calendario.ics"};
    const std::string_view scelto = FILE.at(static_cast<std::size_t>(formato));
    Passata esito;
    std::string cercato = in_utf8(nome);
    if (!contiene(testo, cercato)) {
        esito.altra_grafia = altra_grafia(testo, cercato);
        cercato = esito.altra_grafia ? esito.altra_grafia->come_scritto : cercato;
    }
    // How many lines match, and their bytes, so that each file takes its room once and a
    // pass stays within three times the list.
    std::size_t trovati = 0;
    per_riga_con(testo, cercato, [&](std::string_view riga) {
        ++esito.RIGHE;
        trovati += riga.size();
    });
    if (formato == Formato::ics) {
        esito.calendario = calendario(testo, cercato, adesso);
        // A calendar with no match would only empty the one a phone already has.
        if (esito.calendario.eventi > 0) {
            esito.file.push_back({scelto, std::move(esito.calendario.ics)});
        }
        return esito;
    }

    // The BOM that Codifica::utf8 asks for; never the calendar's, UTF-8 by definition.
    const std::string_view inizio = codifica == Codifica::utf8 ? BOM_UTF8 : "";
    const bool tabella = formato == Formato::excel || formato == Formato::pagina;
    const std::string_view dopo = tabella ? "\n" : "\n\n";
    std::string righe(inizio);  // the text formats' file, or temp.txt
    righe.reserve(inizio.size() + trovati + esito.RIGHE * dopo.size());
    // A table's rows: a list of spaces' by its fixed rule, in temp.txt's loop; others' as read.
    const auto disposizione = tabella ? std::optional(Disposizione(testo)) : std::nullopt;
    const bool fissa = disposizione && disposizione->regola_fissa;
    Tabella righe_tabella(formato == Formato::excel ? TipoTabella::excel : TipoTabella::pagina,
                          inizio, tabella ? trovati : 0, tabella ? esito.RIGHE : 0);
    per_riga_con(testo, cercato, [&](std::string_view riga) {
        righe.append(riga).append(dopo);
        if (fissa) {
            righe_tabella.riga(riga);
        }
    });
    // Each file in the list's encoding: the table the user asked for first, then "temp.txt".
    const auto file = [&](std::string contenuto) {
        contenuto = con_fine_riga(std::move(contenuto), fine_riga);
        return codifica == Codifica::windows1252 ? in_un_byte(contenuto, true)
                                                 : std::move(contenuto);
    };
    if (tabella && !fissa) {
        per_partita(
            Lettore(testo, disposizione), cercato,
            [&](const Letta& letta, std::string_view riga) { righe_tabella.riga(letta, riga); });
    }
    if (tabella) {
        esito.file.push_back({scelto, file(std::move(righe_tabella).chiudi())});
    }
    esito.file.push_back({tabella ? "temp.txt" : scelto, file(std::move(righe))});
    return esito;
}

}  // namespace turnolista
