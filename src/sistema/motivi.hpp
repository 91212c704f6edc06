#pragma once
// The reasons the system gives for a failure, in Italian, as the program's messages are:
// those a user of the program can meet have a text of the program's own, in UTF-8; any
// other is the system's text.

#include <string>

namespace turnolista::sistema {

std::string motivo(int causa);

}  // namespace turnolista::sistema
