#pragma once
// Text as the console shows it: the program's messages, kept in UTF-8, in the console's
// character set; the user's own bytes quoted safely.

#include <cstddef>
#include <string>
#include <string_view>

namespace turnolista {

// The message as it is on a UTF-8 console, otherwise in ISO-8859-1, the bytes that a console
// of the C locale shows as the same letters ('?' for a character it cannot hold). Windows'
// standard streams take UTF-8 and make it their console's text or ANSI code page themselves.
std::string nel_set_della_console(std::string_view utf8, bool console_utf8);

// The user's bytes as they are, but with control characters (and the backslash that
// introduces the escapes) written as C escapes, as `ls -b` shows an odd file name, so that
// nothing typed can steer the terminal.
// A path, whose backslashes are its own, is quoted with `barre` false.
std::string citazione(std::string_view testo, bool utf8, bool barre = true);

}  // namespace turnolista
