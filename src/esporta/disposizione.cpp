#include "esporta/parti.hpp"

#include <algorithm>
#include <array>
#include <tuple>

#include "ricerca/ricerca.hpp"

namespace turnolista {

namespace {

// `per_record` and `data_a` from a list's first `righe`: most dates alone as many lines apart,
// three or more, and few more matches than dates (some under a heading, a PDF's page titles).
std::pair<std::size_t, std::size_t> una_per_riga(const std::vector<std::string_view>& righe) {
    // The dates alone: how many lines after the last, and after how many cells that stand
    // before a date, a record's number and its weekday.
    std::array<std::size_t, 16> salti{}, prima{};
    std::size_t date = 0, incontri = 0, ultima = 0, numeri = 0;
    // A PDF's first page shows records under its title: with no date alone in 40 lines, it is none.
    for (std::size_t i = 0; i < righe.size() && i < (date > 0 ? 256 : 40); ++i) {
        if (data_in_cella(righe[i])) {
            salti[std::min<std::size_t>(i - ultima, 15)] += date++ > 0 ? 1 : 0;
            ++prima[std::min<std::size_t>(numeri, 15)];
            ultima = i;
        }
        numeri = numero_di_gara(righe[i]) || giorno_solo(righe[i]) != 0 ? numeri + 1 : 0;
        incontri += date > 0 && incontro(righe[i]) ? 1 : 0;
    }
    const auto piu_spesso = [](const auto& conti) {
        return static_cast<std::size_t>(std::ranges::max_element(conti) - conti.begin());
    };
    const std::size_t tutti = date > 0 ? date - 1 : 0;
    std::size_t celle = piu_spesso(salti);
    bool una = 3 * salti[celle] >= 2 * tutti;
    // Else, with dates enough to tell, the shortest that a third are, where few are shorter: a
    // PDF's round headings and rest lines between its records.
    if (!una && date >= 6) {
        std::size_t corti = 0;
        for (celle = 0; celle < 15 && (celle < 3 || 3 * salti[celle] < tutti); ++celle) {
            corti += salti[celle];
        }
        una = 10 * corti <= tutti;
    }
    una = una && date >= 3 && celle >= 3 && celle < 15 && 2 * incontri <= 3 * date;
    return {una ? celle : 0, una ? std::min(piu_spesso(prima), celle - 1) : 0};
}

// What joins the line `riga`, `dopo` lines after its record's first, to that record of `per_record`
// lines, a cell's sign `tra` or nothing: a rest's line is no cell; a bracket that opens a line past
// the record's last goes on its last cell, which the PDF wrapped: "Campo Sportivo", "(sintetico)".
std::optional<char> come_segue(std::string_view riga, std::size_t dopo, std::size_t per_record,
                               char tra) {
    if (dopo >= per_record) {
        return riga[0] == '(' ? std::optional(' ') : std::nullopt;
    }
    return riposo(riga) ? std::nullopt : std::optional(tra);
}

// Whether the line `riga`, cut at `segno`, ends a record that a line of `prima` cells (0: none)
// starts, a line break having cut one of its `tutte` cells in two, the most a line had so far
// (the header's); `prima` becomes this line's where it may start one: fewer cells, no quote.
bool chiude(std::string_view riga, char segno, std::size_t& prima, std::size_t& tutte) {
    const auto celle = static_cast<std::size_t>(std::ranges::count(riga, segno)) + 1;
    const bool chiusa = prima > 0 && prima + celle == tutte + 1;
    prima = !chiusa && celle > 1 && celle < tutte && riga.find('"') == FINE ? celle : 0;
    tutte = std::max(tutte, celle);
    return chiusa;
}

// Whether a web table copied from a browser, a cell of two lines, is read as a PDF's of two cells:
// most of the first 40 `righe` (a title and a header above) in pairs that chiude() joins at
// `segno`.
bool a_coppie(const std::vector<std::string_view>& righe, char segno) {
    std::size_t prima = 0, tutte = 0, coppie = 0, i = 0;
    for (; segno != 0 && i < righe.size() && i < 40; ++i) {
        coppie += chiude(righe[i], segno, prima, tutte) ? 1 : 0;
    }
    return 4 * coppie > i;
}

// A list's first 256 lines not empty, without a portal's labels, how many hold each sign as a
// table's lines do ("; " is prose's, not a sheet's), and each number of tabs.
struct Inizio {
    explicit Inizio(std::string_view testo) {
        const auto una = [](bool se) { return se ? 1U : 0U; };
        for (std::string_view resto = testo; !resto.empty() && righe.size() < 256;) {
            std::string_view riga = senza_spazi(prossima_riga(resto));
            riga.remove_prefix(etichetta(riga));
            if (riga.empty()) {
                continue;
            }
            righe.push_back(riga);
            // Twice, the second after the end of the first: " – – " is once. Looked for where its
            // middle byte, no space, stands: most lines hold none, and memchr tells so at once.
            const auto due = [&](std::string_view segno) {
                const std::size_t primo =
                    riga.find(segno[segno.size() / 2]) == FINE ? FINE : riga.find(segno);
                return primo != FINE && riga.find(segno, primo + segno.size()) != FINE;
            };
            // Counted where memchr finds one: most lines hold none.
            const auto tabs = std::min<std::size_t>(
                riga.find('\t') == FINE ? 0 : std::ranges::count(riga, '\t'), 15);
            tab += una(tabs > 0);
            per_tab[tabs] += una(tabs > 0);
            // A Markdown table's row, or a plain-text table's row or border, "+----+----+".
            markdown += una((riga.starts_with('|') && riga.ends_with('|')) ||
                            (riga.starts_with("+-") && riga.ends_with('+')));
            punti += una(due(";") && !due("; "));
            virgole += una(std::count(riga.begin(), riga.end(), ',') >= 3);
            allineate += una(riga.find("  ", riga.find_first_not_of(' ', riga.find("  "))) != FINE);
            tratteggiate += una(due(" \u2013 ") || due(" \u2014 ") || due(" | "));
        }
    }

    std::vector<std::string_view> righe;
    std::size_t tab = 0, punti = 0, virgole = 0, allineate = 0, tratteggiate = 0, markdown = 0;
    std::array<std::size_t, 16> per_tab{};
};

}  // namespace

Disposizione::Disposizione(std::string_view testo) {
    const Inizio inizio(testo);
    const auto piu = [&](std::size_t quante) { return 2 * quante > inizio.righe.size(); };
    // The list's own sign (spaces where a PDF put a cell a line). A tab, which no prose writes,
    // where a third of the lines hold one: a site's table, with a heading and a rest line a round.
    const Separatore proprio = 3 * inizio.tab > inizio.righe.size() ? Separatore::tab
                               : piu(inizio.markdown)               ? Separatore::barra
                               : piu(inizio.punti)                  ? Separatore::punto_e_virgola
                               : piu(inizio.virgole)                ? Separatore::virgola
                                                                    : Separatore::spazio;
    // A cell on each line, where no sign cuts a line into cells (a sheet's day rows are headings):
    // each record's cells are cut by tabs in the list as read.
    const bool in_blocchi = proprio == Separatore::spazio && blocchi(testo, nullptr) >= 3;
    a_blocchi = in_blocchi || (proprio == Separatore::spazio && terne(testo, nullptr) >= 3);
    if (proprio == Separatore::spazio && !a_blocchi) {
        std::tie(per_record, data_a) = una_per_riga(inizio.righe);
    }
    separatore = per_record > 0 ? Separatore::tab : proprio;
    if (per_record == 0 && a_coppie(inizio.righe, tra_i_record())) {
        std::tie(per_record, data_a, tra_le_parti) = std::tuple(2U, 1U, ' ');
    }
    // Else a word processor lines its columns up with a tab or more, as its tab stops need, where
    // no number of tabs is most lines': its runs of tabs are read as runs of spaces.
    const bool a_tabulazioni = per_record == 0 && separatore == Separatore::tab &&
                               2 * std::ranges::max(inizio.per_tab) <= inizio.tab;
    separatore = a_tabulazioni ? Separatore::spazio : separatore;
    in_celle = separatore != Separatore::spazio || piu(inizio.allineate) || a_tabulazioni;
    // A PDF's cells a line, or a portal's blocks of a label and a value a line, are read as
    // records, but their tables are those of a list of spaces, as a member's editor shows them;
    // not a block of a match's fields a line, which has no columns to keep.
    regola_fissa = proprio == Separatore::spazio && !in_blocchi &&
                   (piu(inizio.allineate) || !piu(inizio.tratteggiate));
}

std::string Disposizione::unite(std::string_view testo) const {
    std::string unito(testo);
    if (a_blocchi) {
        blocchi(testo, &unito);
        terne(testo, &unito);
        return unito;
    }
    // The last lines not empty and whether each is a date alone: a line's record is known
    // `data_a` lines after it, so that the list is read once and nothing of it is kept.
    std::array<std::pair<std::string_view, bool>, 16> viste{};
    std::size_t righe = 0, assegnate = 0;  // the lines not empty so far, those given their record
    std::optional<std::size_t> record;     // the date of the line before's record
    std::size_t inizio = 0;                // that record's first line
    std::size_t corta = 0, tutte = 0;      // for chiude(), where a record is two lines
    // Line `t` is of the record of the first date from it to `data_a` lines on, else of the
    // line before's while it is shorter than `per_record`; two lines of a record are one.
    const auto assegna = [&](std::size_t t) {
        std::size_t d = t;
        while (d < righe && !viste[d % viste.size()].second) {
            ++d;
        }
        std::optional<std::size_t> di = d < righe ? std::optional(d) : std::nullopt;
        const std::string_view questa = viste[t % viste.size()].first;
        const auto tra = come_segue(questa, t - inizio, per_record, tra_le_parti);
        di = !di && record && tra ? record : di;
        if (di && di == record) {
            const std::string_view prima = viste[(t - 1) % viste.size()].first;
            const auto fine = unito.begin() + (prima.data() + prima.size() - testo.data());
            const auto dopo = unito.begin() + (questa.data() - testo.data());
            std::fill(fine, dopo - 1, ' ');
            *(dopo - 1) = tra.value_or(tra_le_parti);
        }
        inizio = di && di != record ? t : inizio;
        record = di;
    };
    for (std::string_view resto = testo; !resto.empty();) {
        std::string_view riga = senza_spazi(prossima_riga(resto));
        riga.remove_prefix(etichetta(riga));
        if (!riga.empty()) {
            viste[righe++ % viste.size()] = {riga, tra_le_parti == ' '
                                                       ? chiude(riga, tra_i_record(), corta, tutte)
                                                       : data_in_cella(riga)};
        }
        while (assegnate < righe && (assegnate + data_a < righe || resto.empty())) {
            assegna(assegnate++);
        }
    }
    return unito;
}

bool riposo(std::string_view testo) {
    const std::size_t bye = trova_ascii(testo, "bye");
    const auto fuori = [&](std::size_t i) { return i >= testo.size() || !lettera(testo[i]); };
    return trova_ascii(testo, "ripos") != FINE ||
           (bye != FINE && (bye == 0 || fuori(bye - 1)) && fuori(bye + 3));
}

bool numero_di_gara(std::string_view cella) {
    return !cella.empty() && cella.size() <= 4 && std::ranges::all_of(cella, cifra);
}

bool codice(std::string_view parola) {
    return parola.size() <= 12 && std::ranges::any_of(parola, cifra) &&
           parola.find_first_not_of("0123456789-.ABCDEFGHIJKLMNOPQRSTUVWXYZ") == FINE;
}

std::map<std::string, std::string> luoghi_per_codice(std::string_view testo,
                                                     const Disposizione& lista) {
    std::map<std::string, std::string> luoghi;
    for (std::string_view resto = testo; !resto.empty();) {
        const auto celle = celle_di(prossima_riga(resto, lista.tra_i_record()), lista.separatore);
        std::string luogo;
        for (std::size_t j = 1; j < celle.size(); ++j) {
            luogo.append(luogo.empty() || celle[j].empty() ? "" : ", ").append(celle[j]);
        }
        if (!celle.empty() && codice(celle.front()) && nomina_un_luogo(luogo) &&
            std::ranges::none_of(celle, data_in_cella)) {
            luoghi.emplace(celle.front(), std::move(luogo));
        }
    }
    return luoghi;
}

}  // namespace turnolista
