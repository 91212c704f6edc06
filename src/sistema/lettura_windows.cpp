#include <algorithm>
#include <cerrno>
#include <string>

#include "sistema/lettura.hpp"
#include "sistema/windows.hpp"

namespace turnolista::sistema {

Risultato<std::unique_ptr<FileLettura>> FileLettura::apri_il_nome(std::string_view nome) {
    const std::wstring largo_nome = windows::largo(nome);
    const HANDLE h = ::CreateFileW(largo_nome.c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        int causa = windows::errno_ultimo();
        // Windows refuses to open a folder as a file; say what it is, as elsewhere.
        const DWORD attributi = ::GetFileAttributesW(largo_nome.c_str());
        if (causa == EACCES && attributi != INVALID_FILE_ATTRIBUTES &&
            (attributi & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            causa = EISDIR;
        }
        return Esito::lettura(Oggetto::file(nome), causa);
    }
    return std::unique_ptr<FileLettura>(new FileLettura(Descrittore(h, Oggetto::file(nome))));
}

std::optional<std::string> trova(std::string_view nome) {
    WIN32_FIND_DATAW voce;
    const HANDLE ricerca = ::FindFirstFileW(windows::largo(nome).c_str(), &voce);
    if (ricerca == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    ::FindClose(ricerca);
    if ((voce.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    // As main() receives names: in the ANSI code page.
    const int n =
        ::WideCharToMultiByte(CP_ACP, 0, voce.cFileName, -1, nullptr, 0, nullptr, nullptr);
    std::string trovato(static_cast<std::size_t>(std::max(n, 1)), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, voce.cFileName, -1, trovato.data(), n, nullptr, nullptr);
    trovato.resize(trovato.size() - 1);
    return trovato;
}

}  // namespace turnolista::sistema
