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
// Likewise a phone's page of a field a line, no blank line between matches: the home team, the
// away team, then the time, the result or a mark, "Lupi", "Orsi", "15:30".
std::size_t terne(std::string_view testo, std::string* unito);

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
    std::string partita;  // the match as the list writes it: "Lupi-Orsi"
    std::string rinvio;   // a mark of a match not played on its date
    std::string propria;  // of a line of several matches, the team's own part: its marks are its
    std::vector<std::string> altre;  // further cells, in order
    // The return leg, where the line gives two dates: its date and time as written.
    std::optional<std::pair<std::string, std::string>> ritorno;
};

using Squadre = std::set<std::string, std::less<>>;

struct Colonne {
    std::optional<std::size_t> n, data, ora, luogo, partita, casa, ospite;
    std::optional<std::size_t> indirizzo;   // the venue's address, in a column of its own
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

}  // namespace turnolista
