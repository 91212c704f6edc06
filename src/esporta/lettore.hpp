#pragma once
// The reader: what each line of a fixture list holds, found by its content as the README tells,
// for the calendar of every list and the tables of those not cut by the fixed rule.

#include <algorithm>
#include <array>
#include <chrono>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "comune/codifica.hpp"

namespace turnolista {

struct Data {
    unsigned giorno = 0, mese = 0;
    int anno = 0;            // 0 where the list does not say
    unsigned settimana = 0;  // the weekday written with it, 1 (Monday) to 7; 0 where none is
};

// An ASCII letter, or a byte of a letter beyond ASCII.
constexpr bool lettera(char c) {
    return (minuscola_ascii(c) >= 'a' && minuscola_ascii(c) <= 'z') ||
           static_cast<unsigned char>(c) >= 0x80;
}
// The text without the spaces at its ends; inline, as most words of a list pass through it.
inline std::string_view senza_spazi(std::string_view testo) {
    testo.remove_prefix(std::min(testo.find_first_not_of(' '), testo.size()));
    return testo.substr(0, testo.find_last_not_of(' ') + 1);
}
// A date as lists write it, where it can be a date in some year (29/02 waits for its year):
// "13/09", "13-09-26", "13.09.2026", "13 settembre 2026", "13 set", after a weekday or not.
std::optional<Data> leggi_data(std::string_view testo);
// An app's date, "2026-09-13", as people here write it, "13/09/2026"; none for other text.
std::optional<std::string> da_iso(std::string_view testo);
// A cell that is a date, its time after it or not: "13/09/2026", "Sab 13/09 - 15:30".
bool data_in_cella(std::string_view cella);
// Past this, far beyond a fixture line, words are not read: an endless line costs no more memory.
constexpr std::size_t RIGA_LUNGA = 4096;
// A weekday alone, "Sab", "Giovedì", "dom.": 1 (Monday) to 7; or 0. "Giovanni" is none.
unsigned giorno_solo(std::string_view cella);
// A date a heading completes: "OTTOBRE 2026" (its day 0), or a weekday, "Sab 10", "Ven" (month 0).
std::optional<Data> leggi_parte(std::string_view testo);
// The date of a line's "Sab 10" or "Ven" under a heading of a date or a month, `sopra`.
std::optional<Data> nel_mese(std::string_view giorno, std::string_view sopra);
// Time from midnight: "15:30", "15.30", "15:30:00", "ore 21", "h 21", "21h", "20h45".
std::optional<std::chrono::seconds> leggi_ora(std::string_view testo);

// The sign between a record's cells: runs of spaces (or tabs), or one sign, a Markdown table's bar.
enum class Separatore : char {
    spazio = '\0',
    tab = '\t',
    punto_e_virgola = ';',
    virgola = ',',
    barra = '|',
};

// How a list's lines separate their fields, by most of the first 256 not empty: all that the
// tables of a list cut by the fixed rule need, so that such a pass reads no line's words.
struct Disposizione {
    explicit Disposizione(std::string_view testo);

    Separatore separatore = Separatore::spazio;
    // The sign a record's quoted cells follow, for prossima_riga(): none where records are lines.
    char tra_i_record() const { return static_cast<char>(separatore); }
    // Whether its records are cut into cells: by a sign, or by runs of spaces that align them.
    bool in_celle = false;
    // Whether its tables cut lines by the fixed rule: a list of spaces no sign like " – " cuts.
    bool regola_fissa = true;
    // A table copied from a PDF, a cell on each line: a record is `per_record` lines that are
    // not empty, a date alone the `data_a`-th of them (from 0); 0 where lines are records.
    std::size_t per_record = 0, data_a = 0;
    // The last byte a line end between two lines of a record becomes: a tab between cells; a space
    // where a cell's line break cut each record in two, its second line read as a date alone.
    char tra_le_parti = '\t';
    // Whether the list writes a match as a block of lines between blank ones: read as a line.
    bool a_blocchi = false;
    // The list as read: a record of a cell a line made one line, every byte where it was.
    std::string unite(std::string_view testo) const;
};

// The blocks of a match in `testo`'s first 16 KiB; all, where `unito`, its copy, gets them joined.
std::size_t blocchi(std::string_view testo, std::string* unito);

// The venues a list of cells gives by code, in a list of its own at its end: each record of no date
// whose first cell is a code and whose others name a venue, "C04, Palestra Don Milani".
std::map<std::string, std::string> luoghi_per_codice(std::string_view testo,
                                                     const Disposizione& lista);

// The cells of the record `riga`, each `pulita`, cut at `separatore` (`spazio`: runs of spaces,
// tabs), quoted as a sheet quotes them; none for those empty at its end. The 64th, far more than
// a fixture list has, keeps the rest, so that a line of endless cells takes no more memory.
std::vector<std::string> celle_di(std::string_view riga, Separatore separatore);

struct Letta {
    enum class Tipo { altro, partita, intestazione };
    Tipo tipo = Tipo::altro;
    // The fields as the line writes them, in UTF-8.
    std::string n, data, ora, luogo, casa, ospite;
    std::string partita;             // the match as the list writes it: "Lupi-Orsi"
    std::string rinvio;              // a mark of a match not played on its date
    std::vector<std::string> altre;  // further cells, in order
    // The return leg, where the line gives two dates: its date and time as written.
    std::optional<std::pair<std::string, std::string>> ritorno;
};

using Squadre = std::set<std::string, std::less<>>;

struct Colonne {
    std::optional<std::size_t> n, data, ora, luogo, partita, casa, ospite;
    std::vector<std::string> intestazione;  // the header's cells, where it has one
    std::vector<std::size_t> inizi;         // lined up by spaces, where the header's cells start
    std::size_t celle = 0;                  // the most a record with a date has
};

// The cells `celle` of `riga`, a line lined up by spaces, each under the header's cell it starts
// in (`inizi`): where a cell is empty, a time not yet set, only its place shows it.
void allinea(std::string_view riga, std::vector<std::string>& celle,
             const std::vector<std::size_t>& inizi);

// The columns of the records it takes off `testo`, to the 100th that gives a date or a time, by
// what their cells hold, a header's words naming what that leaves open (colonne.cpp); the teams
// they name go to `squadre`.
Colonne colonne_di(std::string_view& testo, const Disposizione& lista, Squadre& squadre);
bool con_data(const std::vector<std::string>& celle);  // whether one gives a date or a time
// Whether a cell holds a word: a name, where a number, a Markdown table's rule "---" or a sign
// alone, a page path's "›", is none.
bool nominata(std::string_view cella);

class Lettore : public Disposizione {
  public:
    // Reads how the list `testo`, in UTF-8, lays out its matches, unless told by `disposizione`.
    explicit Lettore(std::string_view testo,
                     const std::optional<Disposizione>& disposizione = std::nullopt);
    Lettore(Lettore&&) = delete;  // and so not copied either: what it reads may be its own

    // The list as read, as unite() gives it where a PDF put a cell on each line.
    std::string_view letto() const { return letto_; }
    // What the record `riga` holds; where it writes several matches, that of the team `nome`.
    Letta leggi(std::string_view riga, std::string_view nome = {}) const;
    // Whether the team `nome`, as typed, is one of the match's two teams: the team itself
    // where the list has a team of that name ("Lupi" is not "Lupi B"), else one it names.
    bool della_squadra(const Letta& letta, std::string_view nome) const;

  private:
    // What a PDF or an e-mail wrapped onto the line under a record, put back (a_capo.cpp).
    void a_capo(std::string_view riga, std::vector<std::string>& celle) const;
    Letta libera(std::string_view riga, std::string_view nome) const;
    bool prosegue(std::string_view riga, const std::vector<std::string>& parti) const;
    std::string_view sotto(std::string_view riga) const;

    std::string unite_;       // the list as read, where it differs
    std::string_view letto_;  // the list as read
    Colonne colonne_;         // in a list of cells
    Squadre squadre_;      // the teams the list names, in a list of cells those of the records read
    bool datate_ = false;  // whether most matches of free text give their date on their line
    std::string_view resto_;                         // the records not read
    mutable std::pair<std::string, bool> nominata_;  // a name, and whether the list has its team
    // The venues by their codes, read at the first venue given by code.
    mutable std::optional<std::map<std::string, std::string>> luoghi_;
};

// What a chat or a site writes under the match `letta`, its record ending where `resto` starts.
void sotto_la_partita(const Lettore& lettore, std::string_view resto, Letta& letta);

// The reader's parts, shared by its files: what a cell or a word is, and a line of free text.
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
    // A bracket closed at the end stays where one opens before it: "Lupi (CO)".
    const auto chiusa = [&] { return testo.back() == ')' && testo.find('(') != FINE; };
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
// Whether a word of `testo` names a venue's kind: "Campo", "Centro sportivo", "PalaFalchi";
// di_luogo(), whether its first word does.
bool nomina_un_luogo(std::string_view testo);
bool di_luogo(std::string_view testo);
// A venue in a chat's sentences, the clause that names it (lettore.cpp).
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
