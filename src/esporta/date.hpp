#pragma once
// Dates and times as a fixture list writes them in its cells.

#include <chrono>
#include <optional>
#include <string_view>

namespace turnolista {

struct Data {
    unsigned giorno = 0;
    unsigned mese = 0;
    int anno = 0;  // 0 where the list does not say
};

// The text without the spaces around it.
std::string_view senza_spazi(std::string_view testo);

// A date as lists write it, where it can be a date in some year (29/02 waits for its
// year): "d/m", "d/m/yy" (20yy) or "d/m/yyyy" with "/", "-" or ".", or "13 settembre
// 2026", "13 set"; a weekday may stand before it ("Sab 26/09", "Domenica, 13/09/2026").
// Spaces around it do not count.
std::optional<Data> leggi_data(std::string_view testo);

// Time from midnight: "15:30", "15.30", "15:30:00", "ore 21", "ore 20.45", "h 21", "21h",
// "20h45".
std::optional<std::chrono::seconds> leggi_ora(std::string_view testo);

}  // namespace turnolista
