#pragma once
// The reader's parts, shared by its files: what a cell or a word is, and a line of free text.

#include "esporta/lettore.hpp"

namespace turnolista {

// Whether `parola`, in any case, is one of `parole`, "a b c": first by its first letter.
inline bool una_di(std::string_view parole, std::string_view parola) {
    const bool forse = !parola.empty() && parole.find(minuscola_ascii(parola.front())) != FINE;
    for (std::string_view resto = forse ? parole : ""; !resto.empty();) {
        const std::size_t fine = std::min(resto.find(' '), resto.size());
        if (std::ranges::equal(resto.substr(0, fine), parola, {}, {}, minuscola_ascii)) {
            return true;
        }
        resto.remove_prefix(std::min(fine + 1, resto.size()));
    }
    return false;
}
// The text without the signs and dashes that stand between fields. Here, as senza_spazi().
inline std::string_view senza_segni(std::string_view testo) {
    // A test of its own: find_first_not_of calls memchr on the signs for every byte.
    const auto segno = [](char c) {
        return c == ' ' || c == '\t' || c == ',' || c == ';' || c == ':' || c == '-' || c == '|' ||
               c == '@' || c == '(' || c == ')';
    };
    // Its first byte first: most bytes are no dash's, and two compares a byte cost a pass more.
    const auto lineetta = [](std::string_view t) {
        return t.starts_with('\xE2') && (t == "\u2013" || t == "\u2014");
    };
    while (!testo.empty() && (segno(testo.front()) || lineetta(testo.substr(0, 3)))) {
        testo.remove_prefix(segno(testo.front()) ? 1 : 3);
    }
    // A bracket closed at the end stays where one opens before it: "Lupi (CO)". A sentence's stop
    // after it goes: "(ore 15, campo di Lizzano)."
    const auto chiusa = [&] { return testo.back() == ')' && testo.find('(') != FINE; };
    testo.remove_suffix(testo.ends_with(").") ? 1 : 0);
    while (!testo.empty() && ((segno(testo.back()) && !chiusa()) ||
                              (testo.size() >= 3 && lineetta(testo.substr(testo.size() - 3))))) {
        testo.remove_suffix(segno(testo.back()) ? 1 : 3);
    }
    return testo;
}
// The length of the label a portal writes before a field, "Data: ", "Ora: ", "Casa: "; 0.
std::size_t etichetta(std::string_view riga);
// The line without what is no content: a chat's sender, an e-mail's quote marks, a bullet, a label,
// emoji and emphasis marks; a tab is two spaces and a no-break space one.
std::string pulita(std::string_view riga);

// The two teams on either side of a dash or "vs": "Lupi - Orsi", "Lupi vs Orsi", "Lupi-Orsi".
using Coppia = std::optional<std::pair<std::string_view, std::string_view>>;
Coppia incontro(std::string_view testo);
// Unless `coppia`, the two of `squadre` a piece `k` of `pezzi` holds with no sign: "LUPI BK ORSI".
void due_nomi(std::span<const std::string_view> pezzi, std::size_t& k, Coppia& coppia,
              const Squadre& squadre);
// Of runs of words with no sign between the teams, the names that split them best (colonne.cpp).
void per_nome(const std::set<std::string, std::less<>>& tratti, Squadre& squadre);
// What stands before the home team, taken off `casa`: of several matches on a line, each its time
// before it, "ore 20.30 Lupi - Orsi; ore 21..."; notes: a note's word before a team the list
// names, "Recupero Lupi - Orsi", a category's label, "Promozione: Lupi-Orsi", unless it names a
// venue's kind, "Campo A: Lupi-Orsi". Whether a label went, after which no venue stands.
bool nota_prima(std::string_view& casa, const Squadre& squadre, Letta& letta);
// The home team without a sentence's words in small letters before its name, "la gara Lupi -
// Orsi"; a name all in small letters, as a chat writes it, stays.
std::string_view senza_frase(std::string_view casa);
// The venue before the home team, taken off `casa` (unless `solo`, a piece of its own), where a
// sign or a team the list names ends it: "Campo A: Aquile - Lupi", "a Minerbio, Lupi - Orsi".
std::string_view luogo_prima(std::string_view& casa, bool solo, const Squadre& squadre,
                             std::string_view ospite);
// The venue written after the away team, taken off `ospite`: in brackets, after a comma or a
// sentence's "a", or from a word of a venue's kind: "Orsi (Palestra Rossi)", "Orsi a Cà Nova",
// "Orsi Campo Comunale", "PalaFalchi".
std::string_view luogo_dopo(std::string_view& ospite);
// Whether a word of `testo` names a venue's kind: "Campo", "Centro sportivo", "PalaFalchi";
// di_luogo(), whether its first word does.
bool nomina_un_luogo(std::string_view testo);
bool di_luogo(std::string_view testo);
// A venue in a chat's sentences, the clause that names it (luogo.cpp).
std::string_view nel_discorso(std::string_view luogo);
// A result, "3-1" or "0 - 0", is no team and no date.
bool risultato(std::string_view testo);
// The field a header's cell names, whatever the export calls it ("Squadra 1" is the home team).
std::optional<std::size_t> Colonne::*campo_nominato(std::string_view cella);
// A rest's line or cell: "Riposa: Lupi", "riposo", an app's "BYE".
bool riposo(std::string_view testo);
// A match's number: up to four digits.
bool numero_di_gara(std::string_view cella);
// A code of digits, capitals, dashes and dots, a match's or a venue's: "101", "1DF-A-001", "C04".
bool codice(std::string_view parola);
// A mark of a match not played on its date: "rinviata", "sospesa", "da definire"; none for a
// time still to be set under a firm date (`datata`), nor for "posticipata al `al`", its new date.
std::string rinvio_di(std::string_view riga, bool datata, std::string_view al = {});

// A mark, or small-letter words after an away team the list names, moved from `ospite` (no space
// at its end) to `altre`: "Lupi-Aquile recupero", "Orsi RINVIATA per neve"; not "Lupi-Orsi B"'s B.
void nota_dopo(std::string_view& ospite, const Squadre& squadre, std::vector<std::string>& altre);
// Takes off `testo` the fields written as such, a date or a time not understood too (told as
// written, not taken for a venue); gives what is left, in pieces between them and runs of spaces.
std::vector<std::string_view> pezzi_di(std::string_view testo, Letta& letta);
// What a line of free text holds, `squadre` being the teams the list names (see Lettore::leggi).
Letta leggi_libero(std::string_view testo, const Squadre& squadre = {}, std::string_view nome = {});

}  // namespace turnolista
