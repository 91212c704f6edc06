#include <algorithm>
#include <array>
#include <cerrno>
#include <memory>
#include <new>

#include "comune/costanti.hpp"
#include "sistema/file.hpp"
#include "sistema/file_proprio.hpp"
#include "sistema/windows.hpp"

namespace turnolista::sistema {

namespace {

// A handle, closed when it goes; null for none.
struct Chiudi {
    void operator()(HANDLE h) const { ::CloseHandle(h); }
};
using Maniglia = std::unique_ptr<void, Chiudi>;

Maniglia apri(const std::filesystem::path& percorso, DWORD accesso, DWORD creazione,
              DWORD attributi = 0) {
    const HANDLE h = ::CreateFileW(percorso.c_str(), accesso,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   creazione, attributi, nullptr);
    return Maniglia(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

// A failure with a file: another program holding it open (Excel, Word) is said so, since
// the user can close it; any other reason as the system gives it.
Esito esito_file(const Oggetto& oggetto, DWORD errore, bool in_lettura = false) {
    if (errore == ERROR_SHARING_VIOLATION || errore == ERROR_LOCK_VIOLATION ||
        errore == ERROR_UNABLE_TO_REMOVE_REPLACED || errore == ERROR_USER_MAPPED_FILE) {
        return Esito::su_file(Esito::Tipo::aperto_altrove, oggetto.nome, in_lettura);
    }
    const int causa = windows::errno_da(errore);
    return in_lettura ? Esito::lettura(oggetto, causa) : Esito::scrittura(oggetto, causa);
}

}  // namespace

Risultato<std::string> leggi_lista(std::string_view nome) {
    const Oggetto oggetto = Oggetto::file(nome);
    const Maniglia file =
        apri(percorso(nome), GENERIC_READ, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN);
    if (!file) {
        // Windows refuses to open a folder as a file; say what it is, as elsewhere.
        const DWORD errore = ::GetLastError();
        return errore == ERROR_ACCESS_DENIED && che_cosa_e(nome) == Voce::cartella
                   ? Esito::lettura(oggetto, EISDIR)
                   : esito_file(oggetto, errore, true);
    }
    if (::GetFileType(file.get()) != FILE_TYPE_DISK) {
        return Esito{.tipo = Esito::Tipo::non_regolare,
                     .oggetto = oggetto,
                     .in_lettura = true,
                     .natura = Natura::dispositivo};
    }
    LARGE_INTEGER dimensione{};
    if (::GetFileSizeEx(file.get(), &dimensione) == 0) {
        return esito_file(oggetto, ::GetLastError(), true);
    }
    if (static_cast<std::uint64_t>(dimensione.QuadPart) > LISTA_MASSIMA) {
        return troppo_grande(oggetto, static_cast<std::uint64_t>(dimensione.QuadPart));
    }
    std::string testo;
    try {
        testo.reserve(static_cast<std::size_t>(dimensione.QuadPart));
        std::array<char, std::size_t{64} * 1024> pezzo{};
        for (DWORD letti = 1; letti > 0;) {
            if (::ReadFile(file.get(), pezzo.data(), static_cast<DWORD>(pezzo.size()), &letti,
                           nullptr) == 0) {
                return esito_file(oggetto, ::GetLastError(), true);
            }
            testo.append(pezzo.data(), letti);
            if (testo.size() > LISTA_MASSIMA) {
                return troppo_grande(oggetto, testo.size());
            }
        }
    } catch (const std::bad_alloc&) {
        return Esito::lettura(oggetto, ENOMEM);
    }
    return testo;
}

namespace proprio {

// What a new file takes of the old one is what Explorer shows of it: its hidden, system,
// archive and indexing attributes. Opening it for writing, without changing it, tells
// whether the user may write it and whether another program (a spreadsheet that has it
// open) keeps it locked.
Esito esamina(Destinazione& destinazione, const Oggetto& oggetto) {
    const DWORD attributi = ::GetFileAttributesW(destinazione.percorso.c_str());
    if (attributi != INVALID_FILE_ATTRIBUTES && (attributi & FILE_ATTRIBUTE_READONLY) != 0) {
        return Esito::scrittura(oggetto, EACCES);
    }
    if (!apri(destinazione.percorso, GENERIC_WRITE, OPEN_EXISTING)) {
        return esito_file(oggetto, ::GetLastError());
    }
    const DWORD visibili =
        attributi & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                     FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    destinazione.come = visibili != 0 ? visibili : FILE_ATTRIBUTE_NORMAL;
    return {};
}

// Hidden, so that a run killed before it is put in place shows nothing in Explorer; shared
// for deleting, so that Ctrl-C's handler removes it while it is being written.
Esito scrivi(Nascosto& nascosto, const Destinazione& destinazione, std::string_view contenuto,
             const Oggetto& oggetto) {
    Maniglia file;
    {
        const Indivisibile passo;
        file = apri(nascosto.nome(), GENERIC_WRITE, CREATE_NEW,
                    (destinazione.esiste ? destinazione.come : 0) | FILE_ATTRIBUTE_HIDDEN);
        nascosto.creato = file != nullptr;
    }
    if (!file) {
        const DWORD errore = ::GetLastError();
        return errore == ERROR_ACCESS_DENIED ? Esito{.tipo = Esito::Tipo::cartella_chiusa,
                                                     .oggetto = oggetto,
                                                     .causa = EACCES}
                                             : esito_file(oggetto, errore);
    }
    while (!contenuto.empty()) {
        DWORD scritti = 0;
        const auto pezzo = static_cast<DWORD>(std::min<std::size_t>(contenuto.size(), 1U << 30));
        if (::WriteFile(file.get(), contenuto.data(), pezzo, &scritti, nullptr) == 0) {
            return esito_file(oggetto, ::GetLastError());
        }
        contenuto.remove_prefix(scritti);
    }
    return ::CloseHandle(file.release()) != 0 ? Esito() : esito_file(oggetto, ::GetLastError());
}

// A file that exists is replaced with ReplaceFileW, which keeps its permissions (ACL),
// owner and creation time; a new one, or one gone meanwhile, is moved there.
Esito rinomina(const Nascosto& nascosto, const Destinazione& destinazione, const Oggetto& oggetto) {
    std::error_code errore;
    const std::filesystem::path nuovo = std::filesystem::absolute(nascosto.nome(), errore);
    const std::filesystem::path vecchio = std::filesystem::absolute(destinazione.percorso, errore);
    bool fatto = false;
    if (destinazione.esiste) {
        fatto = ::ReplaceFileW(vecchio.c_str(), nuovo.c_str(), nullptr,
                               REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS,
                               nullptr, nullptr) != 0;
        const DWORD motivo = ::GetLastError();
        // With no file left to replace (ReplaceFileW has removed it and then could not
        // rename, or it was gone already), the new content is moved in its place.
        if (!fatto && motivo != ERROR_UNABLE_TO_MOVE_REPLACEMENT &&
            motivo != ERROR_FILE_NOT_FOUND && motivo != ERROR_PATH_NOT_FOUND) {
            return esito_file(oggetto, motivo);
        }
    }
    if (!fatto && ::MoveFileExW(nuovo.c_str(), vecchio.c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        return esito_file(oggetto, ::GetLastError());
    }
    ::SetFileAttributesW(vecchio.c_str(),
                         destinazione.esiste ? destinazione.come : FILE_ATTRIBUTE_NORMAL);
    return {};
}

}  // namespace proprio

}  // namespace turnolista::sistema
