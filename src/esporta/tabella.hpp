#pragma once
// The table exports: they read the matching lines back and write one table row per line,
// cut by the column rule. The spreadsheet is tab-separated text under the .xls name; the
// page is one bordered HTML table with rows in alternating colours.

#include <iosfwd>

#include "comune/esito.hpp"

namespace turnolista {

Esito scrivi_excel(std::istream& righe, std::ostream& uscita);
Esito scrivi_pagina(std::istream& righe, std::ostream& uscita);

}  // namespace turnolista
