#pragma once
// The table exports: one table row per matching line, cut by the column rule. The
// spreadsheet is tab-separated text under the .xls name; the page is one bordered HTML
// table with rows in alternating colours. Rows are written as the lines are found.

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "esporta/colonne.hpp"

namespace turnolista {

enum class TipoTabella { excel, pagina };

struct Stile;

class Tabella {
  public:
    // Writes the table's opening to `uscita`.
    Tabella(std::ostream& uscita, TipoTabella tipo);

    // The list's separator, once its first line that is not a rest line decides it.
    void separatore(Separatore separatore);

    // Writes the row of the next line (given without its newline). Rest lines that come
    // before the separator is known wait for it, so that their rows lose the separators
    // that end them.
    void riga(std::string_view riga);

    // Writes the table's closing; a write failure shows in the stream's state.
    void chiudi();

  private:
    void scrivi_riga(std::string_view riga);

    std::ostream& uscita_;
    const Stile& stile_;
    int numero_ = 0;
    std::optional<Separatore> separatore_;
    std::vector<std::string> in_attesa_;
    Celle celle_;
};

}  // namespace turnolista
