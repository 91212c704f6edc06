#pragma once
// The table exports, a row per matching line: tab-separated text under the .xls name, or one
// bordered HTML page with rows in alternating colours.

#include <cstdint>
#include <string>
#include <string_view>

#include "esporta/lettore.hpp"

namespace turnolista {

enum class TipoTabella { excel, pagina };

class Tabella {
  public:
    // A table after `inizio`, with room for `byte` bytes of `righe` lines.
    explicit Tabella(TipoTabella tipo, std::string_view inizio = {}, std::size_t byte = 0,
                     std::uint64_t righe = 0);

    // Adds the row of a line of a list of spaces, cut by its fixed rule.
    void riga(std::string_view riga);
    // Adds the row of a line as the reader read it: N, DATA, ORARIO, LUOGO, PARTITA, then
    // the further cells; a rest line its text in the last.
    void riga(const Letta& letta, std::string_view riga);

    // The whole table, with its closing.
    std::string chiudi() &&;

  private:
    void celle(const std::vector<std::string_view>& celle);

    bool pagina_;
    std::uint64_t numero_ = 0;
    std::string testo_;
};

}  // namespace turnolista
