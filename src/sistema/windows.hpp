#pragma once
// What the Windows implementations of src/sistema/ share; nothing outside that folder
// includes this header.

#include <windows.h>

#include <string>
#include <string_view>

namespace turnolista::sistema::windows {

// The errno value for a system error code, so that the reasons read as on other systems.
int errno_da(DWORD errore);
inline int errno_ultimo() {
    return errno_da(::GetLastError());
}

// The program's names and paths are UTF-8; the system's are UTF-16.
std::wstring largo(std::string_view nome);
std::string stretto(std::wstring_view nome);

}  // namespace turnolista::sistema::windows
