#pragma once
// The program's messages on the console, for the dialogue and the command line alike: they
// are kept in UTF-8 and written in the console's character set; a failure is told in one
// sentence that names what failed and why.

#include <string>
#include <string_view>
#include <vector>

#include "comune/console.hpp"
#include "comune/esito.hpp"
#include "dialogo/formati.hpp"
#include "dialogo/passata.hpp"

namespace turnolista {

// A name or a path of the user's, as a message quotes it: in UTF-8 whatever its bytes (taken
// as Windows-1252 where they are not UTF-8), with control characters escaped.
std::string in_chiaro(std::string_view nome);

// Writes one of the program's messages to one of the console's streams.
Esito scrivi_messaggio(const Console& console, Canale& canale, std::string_view testo);

// The sentence, in UTF-8 and ending with a newline, that tells the user of a failure.
std::string messaggio(const Esito& errore);

// What a pass says besides its summary, in UTF-8 and ending with a newline: where its file
// is (for the calendar the season, and how to bring it into a phone; or why it was not
// written), with its folder where that is not the one the user started in; each matching
// line of the list the calendar left out, with why; and the name as the list writes it,
// where no line holds it as typed.
std::string messaggio_file(const VoceFormato& scelta, const Passata& esito,
                           std::string_view cartella);
std::string messaggio_scartate(const std::vector<Scartata>& scartate, std::string_view lista);
std::string messaggio_altra_grafia(std::string_view nome, const AltraGrafia& altra);

// Tells a problem on the console's error stream, which has no one else to tell of its own.
void avverti(const Console& console, std::string_view testo);

}  // namespace turnolista
