#pragma once
// The table exports: one table row per matching line, cut by the column rule. The
// spreadsheet is tab-separated text under the .xls name; the page is one bordered HTML
// table with rows in alternating colours. Rows are written as the lines are found.

#include <iosfwd>
#include <string_view>

namespace turnolista {

enum class TipoTabella { excel, pagina };

struct Stile;

class Tabella {
  public:
    // Writes the table's opening to `uscita`.
    Tabella(std::ostream& uscita, TipoTabella tipo);

    // Writes the row of the next line (given without its newline).
    void riga(std::string_view riga);

    // Writes the table's closing; a write failure shows in the stream's state.
    void chiudi();

  private:
    std::ostream& uscita_;
    const Stile& stile_;
    int numero_ = 0;
};

}  // namespace turnolista
