#include "ricerca/ricerca.hpp"

#include <algorithm>
#include <array>
#include <utility>

namespace turnolista {

namespace {

// A Windows-1252 character by its code point, lowered and folded as far as `piega` says.
char32_t piegato(char32_t c, Piega piega) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        c += 0x20;
    } else if (c == 0x0160 || c == 0x0152 || c == 0x017D) {  // Š, Œ, Ž
        ++c;
    } else if (c == 0x0178) {  // Ÿ
        c = 0xFF;
    }
    // The base letters of U+00E0 to U+00FF; "_" where there is none (æ, ÷, þ).
    constexpr std::string_view BASI = "aaaaaa_ceeeeiiiidnooooo_ouuuuy_y";
    if (piega >= Piega::accenti && c >= 0xE0 && c <= 0xFF && BASI[c - 0xE0] != '_') {
        return static_cast<unsigned char>(BASI[c - 0xE0]);
    }
    if (piega >= Piega::accenti && (c == 0x0161 || c == 0x017E)) {  // š, ž
        return c == 0x0161 ? U's' : U'z';
    }
    // ‘ ’ “ ” – and their plain forms.
    constexpr std::array<std::pair<char32_t, char32_t>, 5> SEGNI{
        {{0x2018, '\''}, {0x2019, '\''}, {0x201C, '"'}, {0x201D, '"'}, {0x2013, '-'}}};
    const auto* const segno = std::ranges::find(SEGNI, c, &std::pair<char32_t, char32_t>::first);
    return piega == Piega::segni && segno != SEGNI.end() ? segno->second : c;
}

// Whether a byte ends a line: find_if looks for it, as find_first_of calls memchr per byte.
bool a_capo(char c) {
    return c == '\n' || c == '\r';
}

// Where the record that starts `testo` ends, as prossima_riga() cuts it.
std::size_t fine_del_record(std::string_view testo, char separatore) {
    constexpr int A_CAPO_IN_UNA_CELLA = 3;
    // The first LF, then a CR before it: two memchr, where a loop over both would test each byte.
    const std::size_t lf = std::min(testo.find('\n'), testo.size());
    const std::size_t riga = std::min(testo.substr(0, lf).find('\r'), lf);
    // Most records hold no quote: their line is the record, found by one fast loop.
    if (separatore == 0 || testo.substr(0, riga).find('"') == FINE) {
        return riga;
    }
    bool inizio_cella = true;
    bool tra = false;
    int nella_cella = 0;
    for (std::size_t i = 0; i < testo.size(); ++i) {
        const char c = testo[i];
        if (!tra && a_capo(c)) {
            return i;
        }
        if (tra && c == '"' && testo.substr(i + 1).starts_with('"')) {
            ++i;
        } else if (c == '"' && (tra || inizio_cella)) {
            tra = !tra;
        } else if (a_capo(c) && !testo.substr(i).starts_with("\r\n") &&
                   ++nella_cella > A_CAPO_IN_UNA_CELLA) {
            return riga;
        }
        inizio_cella = !tra && c == separatore;
    }
    return tra ? riga : testo.size();
}

// Where `nome` first occurs in `testo` as typed (see come_digitato); npos where it does not.
std::size_t dove(std::string_view testo, std::string_view nome) {
    // find() jumps by memchr to the name's start up to a sign a keyboard types plainly, found by
    // a test of its own: find_first_of would call memchr on the signs for every byte of the name.
    const auto segno = [](char c) { return c == '\'' || c == '"' || c == '-' || c == ' '; };
    const std::string_view piano =
        nome.substr(0, static_cast<std::size_t>(std::ranges::find_if(nome, segno) - nome.begin()));
    std::size_t da = nome.empty() ? FINE : testo.find(piano);
    while (da != FINE && come_digitato(testo.substr(da), nome) == FINE) {
        da = testo.find(piano, da + 1);
    }
    return da;
}

}  // namespace

std::string piegata(std::string_view testo, Piega piega) {
    std::string uscita;
    uscita.reserve(testo.size());
    for (std::size_t i = 0, n = 0; i < testo.size(); i += std::max<std::size_t>(n, 1)) {
        const char32_t c = carattere(testo.substr(i), n);
        if (n == 0) {
            uscita += testo[i];
        } else {
            aggiungi_utf8(uscita, piegato(c, piega));
        }
    }
    return uscita;
}

std::string_view prossima_riga(std::string_view& testo, char separatore) {
    const std::size_t fine = fine_del_record(testo, separatore);
    const std::string_view riga = testo.substr(0, fine);
    const bool crlf = testo.substr(fine).starts_with("\r\n");
    testo.remove_prefix(std::min(testo.size(), fine + (crlf ? 2 : 1)));
    return riga;
}

std::size_t come_digitato(std::string_view testo, std::string_view nome) {
    // A keyboard's sign, then one it stands for, as the header lists them.
    constexpr std::array<std::string_view, 9> SCRITTE{"'\u2019",  "'\u2018",  "'\u02BC",
                                                      "\"\u201C", "\"\u201D", "-\u2013",
                                                      "-\u2014",  " \u00A0",  " \u202F"};
    std::size_t i = 0;
    for (const char c : nome) {
        if (i < testo.size() && testo[i] == c) {
            ++i;
            continue;
        }
        const auto* scritta = std::ranges::find_if(SCRITTE, [&](std::string_view s) {
            return s.front() == c && testo.substr(i).starts_with(s.substr(1));
        });
        if (scritta == SCRITTE.end()) {
            return FINE;
        }
        i += scritta->size() - 1;
    }
    return i;
}

bool contiene(std::string_view riga, std::string_view nome) {
    return dove(riga, nome) != FINE;
}

std::string_view prossima_con(std::string_view& testo, std::string_view nome, char separatore) {
    const std::size_t da = dove(testo, nome);
    if (da == FINE) {
        testo = {};
        return {};
    }
    const char* const trovato = testo.data() + da;
    // Records before a list's first quote are lines: they are taken from the line of the
    // hit, or of a quote before it, until one holds the hit.
    const std::size_t da_riga = separatore != 0 ? std::min(da, testo.substr(0, da).find('"')) : da;
    const auto inizio =
        std::find_if(testo.rend() - static_cast<std::ptrdiff_t>(da_riga), testo.rend(), a_capo);
    testo.remove_prefix(static_cast<std::size_t>(testo.rend() - inizio));
    std::string_view record;
    while (testo.data() <= trovato) {
        record = prossima_riga(testo, separatore);
    }
    return record;
}

std::optional<AltraGrafia> altra_grafia(std::string_view testo, std::string_view nome) {
    const std::string cercato = piegata(nome, Piega::segni);
    // A line at a time, folded only until the first spelling is found.
    while (!cercato.empty() && !testo.empty()) {
        const std::string_view riga = prossima_riga(testo);
        const std::size_t dove = piegata(riga, Piega::segni).find(cercato);
        if (dove == FINE) {
            continue;
        }
        // The spelling's bytes in the line, by what each character folds to: each folds alone.
        std::size_t da = 0;
        std::size_t a = 0;
        for (std::size_t fatti = 0, n = 0; fatti < dove + cercato.size(); a += n) {
            n = std::max<std::size_t>(sequenza_utf8(riga.substr(a)), 1);
            da = fatti <= dove ? a : da;
            fatti += piegata(riga.substr(a, n), Piega::segni).size();
        }
        AltraGrafia trovata{std::string(riga.substr(da, a - da))};
        per_riga_con(testo, trovata.come_scritto, [&](std::string_view) { ++trovata.righe; });
        // What differs: the least fold that makes the two alike.
        for (const Piega piega : {Piega::accenti, Piega::maiuscole}) {
            if (piegata(nome, piega) == piegata(trovata.come_scritto, piega)) {
                trovata.differenza = piega;
            }
        }
        return trovata;
    }
    return std::nullopt;
}

}  // namespace turnolista
