#pragma once
// The process's standard streams as the program's console, and its arguments. A standard
// stream that was closed when the program started fails with "Bad file descriptor" at its
// first use, and its number is kept busy so that no file the program opens takes its place.

#include <string>
#include <vector>

#include "comune/console.hpp"

namespace turnolista::sistema {

// Made at the first call, before any file is opened.
Console& console_standard();

// The program's arguments after its name: on Windows read as the system holds them, in
// UTF-16, and made UTF-8, whatever the ANSI code page could show; elsewhere as given.
std::vector<std::string> argomenti(int argc, char** argv);

}  // namespace turnolista::sistema
