#pragma once
// The program's messages on the console, for the dialogue and the command line alike: they
// are kept in UTF-8 and written in the console's character set; a failure is told in one
// sentence that names what failed and why.

#include <string>
#include <string_view>

#include "comune/console.hpp"
#include "comune/esito.hpp"
#include "dialogo/passata.hpp"

namespace turnolista {

// The user's bytes as they are, but with control characters (and the backslash that
// introduces the escapes) written as C escapes, as `ls -b` shows an odd file name, so that
// nothing typed can steer the terminal. A path, whose backslashes are its own, is quoted with
// `barre` false.
std::string citazione(std::string_view testo, bool utf8, bool barre = true);

// Writes one of the program's messages to one of the console's streams: as it is on a UTF-8
// console, otherwise in ISO-8859-1, the bytes that a console of the C locale shows as the
// same letters ('?' for a character it cannot hold). Windows' standard streams take UTF-8 and
// make it their console's text or ANSI code page themselves.
Esito scrivi_messaggio(const Console& console, Canale& canale, std::string_view testo);

// The sentence, in UTF-8 and ending with a newline, that tells the user of a failure.
std::string messaggio(const Esito& errore);

// What a pass prints, in UTF-8 and ending with a newline: the summary and where its file is
// (for the calendar the season, and how to bring it into a phone; or why it was not
// written), with its folder where that is not the one the user started in.
std::string riepilogo(Formato formato, const Passata& esito, std::string_view cartella);
// What a pass warns of, if anything: each matching line of the list `lista` that the calendar
// left out, with why; and the name as the list writes it, where no line holds `nome` as typed.
std::string avvertenze(const Passata& esito, std::string_view nome, std::string_view lista);

}  // namespace turnolista
