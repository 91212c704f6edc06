#pragma once
// Small helpers shared by the Windows implementations of src/sistema/; nothing outside that
// folder includes this header.

#include <windows.h>

#include <string>
#include <string_view>

namespace turnolista::windows {

// The system handle behind a C runtime descriptor; INVALID_HANDLE_VALUE for none.
HANDLE maniglia(int fd);

// Whether the handle is a console, where text goes as wide characters.
bool console(HANDLE h);

// The errno value for a system error code, so that the reasons read as on other systems.
int errno_da(DWORD errore);
inline int errno_ultimo() {
    return errno_da(::GetLastError());
}

// A name in the ANSI code page, as main() receives arguments, in UTF-16.
std::wstring largo(std::string_view nome);

}  // namespace turnolista::windows
