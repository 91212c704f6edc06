#include <algorithm>
#include <cerrno>
#include <memory>
#include <string>
#include <utility>

#include "comune/costanti.hpp"
#include "sistema/file.hpp"
#include "sistema/windows.hpp"

namespace turnolista::sistema {

namespace {

using windows::largo;

// A handle, closed when it goes unless it was given up.
class Maniglia {
  public:
    explicit Maniglia(HANDLE maniglia) : h(maniglia) {}
    ~Maniglia() {
        if (h != INVALID_HANDLE_VALUE) {
            ::CloseHandle(h);
        }
    }
    Maniglia(const Maniglia&) = delete;
    Maniglia& operator=(const Maniglia&) = delete;
    HANDLE rilascia() const { return std::exchange(h, INVALID_HANDLE_VALUE); }

    mutable HANDLE h;
};

// The full path of a name in the current folder, as ReplaceFileW wants it.
std::wstring completo(std::string_view nome) {
    const std::wstring largo = windows::largo(nome);
    std::wstring percorso(::GetFullPathNameW(largo.c_str(), 0, nullptr, nullptr), L'\0');
    percorso.resize(::GetFullPathNameW(largo.c_str(), static_cast<DWORD>(percorso.size()),
                                       percorso.data(), nullptr));
    return percorso.empty() ? largo : percorso;
}

bool non_esiste(DWORD errore) {
    return errore == ERROR_FILE_NOT_FOUND || errore == ERROR_PATH_NOT_FOUND;
}

// A failure to write a file: another program holding it open (Excel, Word) is said so,
// since the user can close it; any other reason as the system gives it.
Esito esito_scrittura(const Oggetto& oggetto, DWORD errore) {
    if (errore == ERROR_SHARING_VIOLATION || errore == ERROR_LOCK_VIOLATION ||
        errore == ERROR_UNABLE_TO_REMOVE_REPLACED || errore == ERROR_USER_MAPPED_FILE) {
        return Esito::su_file(Esito::Tipo::aperto_altrove, oggetto.nome);
    }
    return Esito::scrittura(oggetto, windows::errno_da(errore));
}

}  // namespace

void Libera::operator()(char* memoria) const {
    std::free(memoria);
}

namespace proprio {

Memoria memoria(std::size_t quanti) {
    return Memoria(static_cast<char*>(std::malloc(quanti)));
}

std::string identita(std::string_view nome) {
    const Maniglia h(::CreateFileW(largo(nome).c_str(), 0,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (h.h == INVALID_HANDLE_VALUE || ::GetFileInformationByHandle(h.h, &info) == 0) {
        return {};
    }
    return std::to_string(info.dwVolumeSerialNumber) + ":" + std::to_string(info.nFileIndexHigh) +
           ":" + std::to_string(info.nFileIndexLow);
}

// What a new file takes of the old one is what Explorer shows of it: its hidden, system,
// archive and indexing attributes.
Risultato<Destinazione> esamina(std::string_view nome) {
    const Oggetto oggetto = Oggetto::file(nome);
    Destinazione destinazione{.percorso = std::string(nome), .come = FILE_ATTRIBUTE_NORMAL};
    const DWORD attributi = ::GetFileAttributesW(largo(nome).c_str());
    if (attributi == INVALID_FILE_ATTRIBUTES) {
        const DWORD errore = ::GetLastError();
        return non_esiste(errore) ? Risultato(destinazione)
                                  : Esito::scrittura(oggetto, windows::errno_da(errore));
    }
    if ((attributi & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return Esito::scrittura(oggetto, EISDIR);
    }
    if ((attributi & FILE_ATTRIBUTE_READONLY) != 0) {
        return Esito::scrittura(oggetto, EACCES);
    }
    // Opening it for writing, without changing it, tells whether the user may write it and
    // whether another program (a spreadsheet that has it open) keeps it locked.
    const Maniglia prova(::CreateFileW(largo(nome).c_str(), GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
    if (prova.h == INVALID_HANDLE_VALUE) {
        return esito_scrittura(oggetto, ::GetLastError());
    }
    if (::GetFileType(prova.h) != FILE_TYPE_DISK) {
        return Esito{
            .tipo = Esito::Tipo::non_regolare, .oggetto = oggetto, .natura = Natura::dispositivo};
    }
    destinazione.identita = identita(nome);
    const DWORD visibili =
        attributi & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                     FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    destinazione.come = visibili != 0 ? visibili : FILE_ATTRIBUTE_NORMAL;
    return destinazione;
}

// Hidden, so that a run killed before it is put in place shows nothing in Explorer; shared
// for deleting, so that Ctrl-C's handler removes it while it is being written.
Esito scrivi_nascosto(const std::string& nascosto, const Destinazione& destinazione,
                      std::string_view contenuto, const Oggetto& oggetto) {
    const Maniglia file(::CreateFileW(largo(nascosto).c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                      destinazione.come | FILE_ATTRIBUTE_HIDDEN, nullptr));
    if (file.h == INVALID_HANDLE_VALUE) {
        const DWORD errore = ::GetLastError();
        return errore == ERROR_ACCESS_DENIED ? Esito{.tipo = Esito::Tipo::cartella_chiusa,
                                                     .oggetto = oggetto,
                                                     .causa = EACCES}
                                             : Esito::scrittura(oggetto, windows::errno_da(errore));
    }
    while (!contenuto.empty()) {
        DWORD scritti = 0;
        const auto pezzo = static_cast<DWORD>(std::min<std::size_t>(contenuto.size(), 1U << 30));
        if (::WriteFile(file.h, contenuto.data(), pezzo, &scritti, nullptr) == 0) {
            return esito_scrittura(oggetto, ::GetLastError());
        }
        contenuto.remove_prefix(scritti);
    }
    return ::CloseHandle(file.rilascia()) != 0 ? Esito()
                                               : esito_scrittura(oggetto, ::GetLastError());
}

// A file that exists is replaced with ReplaceFileW, which keeps its permissions (ACL),
// owner and creation time; a new one, or one gone meanwhile, is moved there.
Esito rinomina(const std::string& nascosto, const Destinazione& destinazione,
               const Oggetto& oggetto) {
    const std::wstring nuovo = completo(nascosto);
    const std::wstring vecchio = completo(destinazione.percorso);
    bool fatto = false;
    if (!destinazione.identita.empty()) {
        fatto = ::ReplaceFileW(vecchio.c_str(), nuovo.c_str(), nullptr,
                               REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS,
                               nullptr, nullptr) != 0;
        const DWORD errore = ::GetLastError();
        // With no file left to replace (ReplaceFileW has removed it and then could not
        // rename, or it was gone already), the new content is moved in its place.
        if (!fatto && errore != ERROR_UNABLE_TO_MOVE_REPLACEMENT && !non_esiste(errore)) {
            return esito_scrittura(oggetto, errore);
        }
    }
    if (!fatto && ::MoveFileExW(nuovo.c_str(), vecchio.c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        return esito_scrittura(oggetto, ::GetLastError());
    }
    ::SetFileAttributesW(vecchio.c_str(), destinazione.come);
    return {};
}

void rimuovi(const std::string& nascosto) {
    ::DeleteFileW(largo(nascosto).c_str());
}

unsigned long processo() {
    return ::GetCurrentProcessId();
}

}  // namespace proprio

Risultato<Lista> leggi_lista(std::string_view nome) {
    const Oggetto oggetto = Oggetto::file(nome);
    const Maniglia h(::CreateFileW(largo(nome).c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (h.h == INVALID_HANDLE_VALUE) {
        const DWORD errore = ::GetLastError();
        if (errore == ERROR_SHARING_VIOLATION || errore == ERROR_LOCK_VIOLATION) {
            return Esito::su_file(Esito::Tipo::aperto_altrove, nome, true);
        }
        // Windows refuses to open a folder as a file; say what it is, as elsewhere.
        const int causa = windows::errno_da(errore);
        const bool cartella = causa == EACCES && che_cosa_e(nome) == Voce::cartella;
        return Esito::lettura(oggetto, cartella ? EISDIR : causa);
    }
    LARGE_INTEGER dimensione{};
    if (::GetFileType(h.h) != FILE_TYPE_DISK) {
        return Esito{.tipo = Esito::Tipo::non_regolare,
                     .oggetto = oggetto,
                     .in_lettura = true,
                     .natura = Natura::dispositivo};
    }
    if (::GetFileSizeEx(h.h, &dimensione) == 0) {
        return Esito::lettura(oggetto, windows::errno_ultimo());
    }
    return proprio::leggi_tutta(
        static_cast<std::uint64_t>(dimensione.QuadPart), oggetto,
        [&](std::span<char> dove) -> Risultato<std::size_t> {
            DWORD n = 0;
            const auto al_piu = static_cast<DWORD>(std::min<std::size_t>(dove.size(), 1U << 30));
            if (::ReadFile(h.h, dove.data(), al_piu, &n, nullptr) == 0) {
                return Esito::lettura(oggetto, windows::errno_ultimo());
            }
            return std::size_t{n};
        });
}

FineRiga fine_riga_del_sistema() {
    return FineRiga::crlf;
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
    const DWORD attributi = ::GetFileAttributesW(largo(percorso).c_str());
    if (attributi == INVALID_FILE_ATTRIBUTES) {
        return Voce::nessuna;
    }
    return (attributi & FILE_ATTRIBUTE_DIRECTORY) != 0 ? Voce::cartella : Voce::file;
}

}  // namespace turnolista::sistema
