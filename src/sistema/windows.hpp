#pragma once
// What the Windows implementations of src/sistema/ share; nothing outside that folder
// includes this header.

#include <windows.h>

#include <string>
#include <string_view>

namespace turnolista::sistema::windows {

// The errno value for a system error code, so that the reasons read as on other systems.
int errno_da(DWORD errore);

// The program's names, paths and messages are UTF-8; the system's are UTF-16. Made narrow
// in another code page, a character it cannot hold is '?'.
std::wstring largo(std::string_view nome);
std::string stretto(std::wstring_view nome, UINT pagina = CP_UTF8);

}  // namespace turnolista::sistema::windows
