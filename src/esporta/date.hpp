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

// "d/m", "d/m/yyyy" or "d/m/yy" (20yy), where it can be a date in some year: 29/02 waits
// for its year. Spaces around it do not count.
std::optional<Data> leggi_data(std::string_view testo);

// Time from midnight: "h:mm", "hh:mm" or "hh.mm", then ":ss" or ".ss".
std::optional<std::chrono::seconds> leggi_ora(std::string_view testo);

}  // namespace turnolista
