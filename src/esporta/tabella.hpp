#pragma once
// The table exports: one table row per matching line, cut by the column rule. The
// spreadsheet is tab-separated text under the .xls name; the page is one bordered HTML
// table with rows in alternating colours.

#include <cstdint>
#include <string>
#include <string_view>

#include "esporta/disposizione.hpp"

namespace turnolista {

enum class TipoTabella { excel, pagina };

struct Stile;

class Tabella {
  public:
    // A table whose rows are cut as the list is laid out, after `inizio`; room is made for
    // `righe` lines of `byte` bytes in all. A list of spaces, or one whose header names the
    // five columns in their order, is cut as its cells stand; with another header a row has
    // N, DATA, ORARIO, LUOGO and PARTITA (Casa - Ospite), then the further columns.
    Tabella(TipoTabella tipo, Disposizione disposizione, std::string_view inizio = {},
            std::size_t byte = 0, std::uint64_t righe = 0);

    // Adds the row of the next line, given without its newline.
    void riga(std::string_view riga);

    // The whole table, with its closing.
    std::string chiudi() &&;

  private:
    const Stile& stile_;
    Disposizione disposizione_;
    Campi campi_;
    std::uint64_t numero_ = 0;
    std::string testo_;
    Celle celle_;
};

}  // namespace turnolista
