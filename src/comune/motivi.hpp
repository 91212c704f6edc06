#pragma once
// The reason for a failure that an errno value names, in Italian, as the program's messages
// are: those a user of the program can meet have a text of the program's own, in UTF-8; any
// other is the system's text.

#include <string>

namespace turnolista {

std::string motivo(int causa);

}  // namespace turnolista
