#include <cerrno>
#include <string>

#include "sistema/lettura.hpp"
#include "sistema/windows.hpp"

namespace turnolista::sistema {

Risultato<std::unique_ptr<FileLettura>> FileLettura::apri(std::string_view nome) {
    const std::wstring largo_nome = windows::largo(nome);
    const HANDLE h = ::CreateFileW(largo_nome.c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD errore = ::GetLastError();
        if (errore == ERROR_SHARING_VIOLATION || errore == ERROR_LOCK_VIOLATION) {
            return Esito::aperto_altrove(nome, true);
        }
        // Windows refuses to open a folder as a file; say what it is, as elsewhere.
        const int causa = windows::errno_da(errore);
        const bool cartella = causa == EACCES && che_cosa_e(nome) == Voce::cartella;
        return Esito::lettura(Oggetto::file(nome), cartella ? EISDIR : causa);
    }
    return std::unique_ptr<FileLettura>(new FileLettura(Descrittore(h, Oggetto::file(nome))));
}

std::string cartella_corrente() {
    std::wstring percorso(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            ::GetCurrentDirectoryW(static_cast<DWORD>(percorso.size()), percorso.data());
        if (n < percorso.size()) {
            percorso.resize(n);
            return windows::stretto(percorso);
        }
        percorso.resize(n);
    }
}

std::vector<std::string> nomi_nella_cartella() {
    std::vector<std::string> nomi;
    WIN32_FIND_DATAW voce;
    const HANDLE ricerca = ::FindFirstFileW(L"*", &voce);
    if (ricerca == INVALID_HANDLE_VALUE) {
        return nomi;
    }
    do {
        nomi.push_back(windows::stretto(voce.cFileName));
    } while (::FindNextFileW(ricerca, &voce) != 0);
    ::FindClose(ricerca);
    return nomi;
}

Voce che_cosa_e(std::string_view percorso) {
    const DWORD attributi = ::GetFileAttributesW(windows::largo(percorso).c_str());
    if (attributi == INVALID_FILE_ATTRIBUTES) {
        return Voce::nessuna;
    }
    return (attributi & FILE_ATTRIBUTE_DIRECTORY) != 0 ? Voce::cartella : Voce::file;
}

}  // namespace turnolista::sistema
