#pragma once
// What the Windows implementations of src/sistema/ share; nothing outside that folder
// includes this header.

#include <windows.h>

#include <string>
#include <string_view>

#include "comune/esito.hpp"

namespace turnolista::sistema::windows {

// The errno value for a system error code, so that the reasons read as on other systems.
int errno_da(DWORD errore);
inline int errno_ultimo() {
    return errno_da(::GetLastError());
}

// A failure to write a file: another program holding it open (Excel, Word) is said so,
// since the user can close it; any other reason as the system gives it.
Esito esito_scrittura(const Oggetto& oggetto, DWORD errore);

// The program's names and paths are UTF-8; the system's are UTF-16.
std::wstring largo(std::string_view nome);
std::string stretto(std::wstring_view nome);

// The full path of a name in the current folder (the name itself if it has none).
std::wstring completo(const wchar_t* nome);

}  // namespace turnolista::sistema::windows
