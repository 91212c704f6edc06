#pragma once
// The team search: the list's lines, those that hold the name, and how else the list writes it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "comune/codifica.hpp"

namespace turnolista {

// Takes the next line off `testo`, which is not empty, and gives it without its line end: LF,
// CR LF or a CR alone (an old Mac's), as editors show lines. With a `separatore` of cells, a
// line end in a cell that a double quote opens is no end, as a sheet writes a cell of two
// lines; within four lines, so that a quote left open takes no more of the list.
std::string_view prossima_riga(std::string_view& testo, char separatore = 0);

// Takes off `testo` the records up to the next that holds `nome` (see contiene), and gives it;
// empty where none does. The name is looked for in the whole text, its record cut around it.
std::string_view prossima_con(std::string_view& testo, std::string_view nome, char separatore = 0);

// Calls `fai` with each record of `testo` that holds `nome`, in order (as above).
void per_riga_con(std::string_view testo, std::string_view nome, auto&& fai, char separatore = 0) {
    for (std::string_view riga; !(riga = prossima_con(testo, nome, separatore)).empty();) {
        fai(riga);
    }
}

// How long the start of `testo` is that reads as `nome` typed at a keyboard, whose ' stands for
// ’ ‘ ʼ, " for “ ”, - for – — and a space for a no-break one; npos where it does not.
std::size_t come_digitato(std::string_view testo, std::string_view nome);

// Whether `riga` holds `nome` as typed (see come_digitato), in case and accents; "" never.
bool contiene(std::string_view riga, std::string_view nome);

// How far a text is folded, each step with those before it: "CANTÙ" is "cantù", then "cantu";
// then "Sant’Anna" is "sant'anna".
enum class Piega { maiuscole, accenti, segni };
// UTF-8 text folded, for the letters and signs of Windows-1252. Bytes that are no UTF-8 stay.
std::string piegata(std::string_view testo, Piega piega);

// The name as the list writes it otherwise, and how many lines hold that spelling.
struct AltraGrafia {
    std::string come_scritto;
    Piega differenza = Piega::segni;  // the least fold that makes it the name
    std::uint64_t righe = 1;
};

// Where no line holds `nome`, the list's first spelling of it that differs only as Piega folds.
std::optional<AltraGrafia> altra_grafia(std::string_view testo, std::string_view nome);

}  // namespace turnolista
