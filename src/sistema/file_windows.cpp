#include <algorithm>
#include <cerrno>
#include <string>

#include "sistema/file.hpp"
#include "sistema/segnali.hpp"
#include "sistema/temporanei.hpp"
#include "sistema/windows.hpp"

namespace turnolista::sistema {

namespace {

using windows::errno_ultimo;
using windows::largo;

constexpr DWORD CONDIVISIONE = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool non_esiste(DWORD errore) {
    return errore == ERROR_FILE_NOT_FOUND || errore == ERROR_PATH_NOT_FOUND;
}

// The reason a file of these attributes cannot take new content, or 0: a folder, a
// read-only file.
int non_scrivibile(DWORD attributi) {
    if (attributi == INVALID_FILE_ATTRIBUTES) {
        return 0;
    }
    if ((attributi & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return EISDIR;
    }
    return (attributi & FILE_ATTRIBUTE_READONLY) != 0 ? EACCES : 0;
}

int non_scrivibile(const std::wstring& nome) {
    return non_scrivibile(::GetFileAttributesW(nome.c_str()));
}

}  // namespace

// Where the new content goes: a temporary file beside the destination, which ReplaceFileW
// puts in its place; the earlier file is kept under a second name until the whole pass is
// in place, so that it can be put back.
struct FileNuovo::Piano {
    std::wstring nome;
    std::wstring temporaneo;
    std::wstring vecchio;
    int posto = -1;  // its place among the files Ctrl-C removes
    bool esiste = false;
    bool in_posto = false;
};

Risultato<std::unique_ptr<FileLettura>> FileLettura::apri_il_nome(std::string_view nome) {
    const std::wstring largo_nome = largo(nome);
    const HANDLE h = ::CreateFileW(largo_nome.c_str(), GENERIC_READ, CONDIVISIONE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        int causa = errno_ultimo();
        // Windows refuses to open a folder as a file; say what it is, as elsewhere.
        if (causa == EACCES && non_scrivibile(largo_nome) == EISDIR) {
            causa = EISDIR;
        }
        return Esito::lettura(Oggetto::file(nome), causa);
    }
    return std::unique_ptr<FileLettura>(new FileLettura(Descrittore(h, Oggetto::file(nome))));
}

std::optional<std::string> trova(std::string_view nome) {
    WIN32_FIND_DATAW voce;
    const HANDLE ricerca = ::FindFirstFileW(largo(nome).c_str(), &voce);
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

FileNuovo::FileNuovo(Descrittore contenuto, std::string destinazione, std::unique_ptr<Piano> piano)
    : contenuto_(std::move(contenuto)),
      destinazione_(std::move(destinazione)),
      piano_(std::move(piano)),
      buffer_(contenuto_),
      flusso_(&buffer_) {}

FileNuovo::~FileNuovo() {
    contenuto_.chiudi();
    if (!piano_->in_posto) {
        ::DeleteFileW(piano_->temporaneo.c_str());
    }
    dimenticalo(piano_->posto);
}

FileNuovo::Modo FileNuovo::modo() const {
    return Modo::rinomina;
}

namespace {

// Whether two handles are the same file: the same volume, the same index on it.
bool stesso_file(HANDLE uno, HANDLE altro) {
    BY_HANDLE_FILE_INFORMATION a{};
    BY_HANDLE_FILE_INFORMATION b{};
    return ::GetFileInformationByHandle(uno, &a) != 0 &&
           ::GetFileInformationByHandle(altro, &b) != 0 &&
           a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

// Creates the temporary file beside the destination, with the destination's attributes.
Risultato<Descrittore> crea_temporaneo(const std::string& destinazione, FileNuovo::Piano& piano,
                                       DWORD attributi, const Oggetto& oggetto) {
    for (int tentativo = 0; tentativo < 100; ++tentativo) {
        const std::string nome = nome_temporaneo(destinazione, processo_corrente(), tentativo);
        DWORD errore = 0;
        {
            // Remembered and made while Ctrl-C waits, so that its handler finds every file made.
            const SegnaliTrattenuti trattenuti;
            const int posto = ricorda_temporaneo(nullptr, nome);
            // Shared for deleting, so that Ctrl-C's handler removes it while it is open.
            const HANDLE h = ::CreateFileW(largo(nome).c_str(), GENERIC_WRITE,
                                           FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                           attributi, nullptr);
            if (h != INVALID_HANDLE_VALUE) {
                piano.temporaneo = largo(nome);
                piano.posto = posto;
                return Descrittore(h, oggetto);
            }
            errore = ::GetLastError();
            dimenticalo(posto);
        }
        if (errore != ERROR_FILE_EXISTS && errore != ERROR_ALREADY_EXISTS) {
            return Esito::scrittura(oggetto, windows::errno_da(errore));
        }
    }
    return Esito::scrittura(oggetto, EEXIST);
}

}  // namespace

Risultato<std::unique_ptr<FileNuovo>> FileNuovo::crea(std::string_view destinazione,
                                                      const FileLettura& originale) {
    const Oggetto oggetto = Oggetto::file(destinazione);
    auto piano = std::make_unique<Piano>();
    piano->nome = largo(destinazione);
    DWORD attributi = ::GetFileAttributesW(piano->nome.c_str());
    if (attributi == INVALID_FILE_ATTRIBUTES) {
        if (const DWORD errore = ::GetLastError(); !non_esiste(errore)) {
            return Esito::scrittura(oggetto, windows::errno_da(errore));
        }
        attributi = FILE_ATTRIBUTE_NORMAL;
    } else {
        piano->esiste = true;
        if (const int causa = non_scrivibile(attributi); causa != 0) {
            return Esito::scrittura(oggetto, causa);
        }
        // Opening it for writing, without changing it, tells whether the user may write it
        // and whether another program (a spreadsheet that has it open) keeps it locked.
        const Descrittore prova(::CreateFileW(piano->nome.c_str(), GENERIC_WRITE, CONDIVISIONE,
                                              nullptr, OPEN_EXISTING, 0, nullptr),
                                oggetto);
        if (!prova.aperto()) {
            return windows::esito_scrittura(oggetto, ::GetLastError());
        }
        if (stesso_file(prova.nativo(), originale.descrittore().nativo())) {
            return Esito::su_file(Esito::Tipo::stesso_file, destinazione);
        }
        // The new file keeps what Explorer shows of the old one, hidden or archived.
        attributi &= FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                     FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
        if (attributi == 0) {
            attributi = FILE_ATTRIBUTE_NORMAL;
        }
    }
    const std::string nome(destinazione);
    auto contenuto = crea_temporaneo(nome, *piano, attributi, oggetto);
    if (!contenuto) {
        return contenuto.errore();
    }
    return std::unique_ptr<FileNuovo>(new FileNuovo(std::move(*contenuto), nome, std::move(piano)));
}

Esito FileNuovo::chiudi() {
    Esito esito = svuota();
    return esito.ok() ? contenuto_.chiudi() : esito;
}

Esito FileNuovo::verifica() const {
    const int causa = non_scrivibile(piano_->nome);
    return causa == 0 ? Esito() : Esito::scrittura(Oggetto::file(destinazione_), causa);
}

// A file that exists is replaced with ReplaceFileW, which keeps its permissions (ACL),
// owner, attributes and creation time; a new one, or one gone meanwhile, is moved there.
Esito FileNuovo::metti_al_posto() {
    const wchar_t* nuovo = piano_->temporaneo.c_str();
    const wchar_t* nome = piano_->nome.c_str();
    bool fatto = false;
    if (piano_->esiste) {
        // The earlier file stays under this name until the whole pass is in place.
        piano_->vecchio = piano_->temporaneo + L"~";
        fatto = ::ReplaceFileW(windows::completo(nome).c_str(), windows::completo(nuovo).c_str(),
                               windows::completo(piano_->vecchio.c_str()).c_str(),
                               REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS,
                               nullptr, nullptr) != 0;
        const DWORD errore = ::GetLastError();
        // With no file left to replace (ReplaceFileW has removed it and then could not
        // rename, or it was gone already), the new content is moved in its place.
        if (!fatto && errore != ERROR_UNABLE_TO_MOVE_REPLACEMENT && !non_esiste(errore)) {
            return windows::esito_scrittura(Oggetto::file(destinazione_), errore);
        }
    }
    if (!fatto &&
        ::MoveFileExW(nuovo, nome, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        return windows::esito_scrittura(Oggetto::file(destinazione_), ::GetLastError());
    }
    // From here the temporary name is gone: Ctrl-C must not remove what now stands there.
    piano_->in_posto = true;
    dimenticalo(piano_->posto);
    return {};
}

void FileNuovo::rimetti() {
    if (!piano_->in_posto) {
        return;
    }
    if (::GetFileAttributesW(piano_->vecchio.c_str()) != INVALID_FILE_ATTRIBUTES) {
        ::MoveFileExW(piano_->vecchio.c_str(), piano_->nome.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    } else if (!piano_->esiste) {
        ::DeleteFileW(piano_->nome.c_str());
    }
}

void FileNuovo::conferma() {
    if (!piano_->vecchio.empty()) {
        ::DeleteFileW(piano_->vecchio.c_str());
    }
}

}  // namespace turnolista::sistema
