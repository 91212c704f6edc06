#include <cerrno>
#include <string>

#include "sistema/file.hpp"
#include "sistema/segnali.hpp"
#include "sistema/windows.hpp"

namespace turnolista::sistema {

namespace {

using windows::largo;

bool non_esiste(DWORD errore) {
    return errore == ERROR_FILE_NOT_FOUND || errore == ERROR_PATH_NOT_FOUND;
}

// Whether two handles are the same file: the same volume, the same index on it.
bool stesso_file(HANDLE uno, HANDLE altro) {
    BY_HANDLE_FILE_INFORMATION a{};
    BY_HANDLE_FILE_INFORMATION b{};
    return ::GetFileInformationByHandle(uno, &a) != 0 &&
           ::GetFileInformationByHandle(altro, &b) != 0 &&
           a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

}  // namespace

// Every destination is replaced: the new content goes to a hidden file beside it, which
// ReplaceFileW puts in the place of the file there, or MoveFileExW where there is none. The
// hidden file is removed unless it was put in place.
struct FileNuovo::Piano {
    Piano() = default;
    Piano(const Piano&) = delete;
    Piano& operator=(const Piano&) = delete;
    ~Piano() {
        if (!in_posto) {
            ::DeleteFileW(temporaneo.c_str());
        }
        dimenticalo(posto);
    }

    std::wstring nome;
    std::wstring temporaneo;
    int posto = -1;  // among the files Ctrl-C removes
    bool esiste = false;
    // What Explorer shows of the file once in place: the old one's hidden, system, archive
    // and indexing attributes.
    DWORD attributi = FILE_ATTRIBUTE_NORMAL;
    bool in_posto = false;
};

void FileNuovo::FinePiano::operator()(Piano* piano) const {
    delete piano;
}

namespace {

// Creates the hidden file beside the destination, open for writing and shared for deleting,
// so that Ctrl-C's handler removes it while it is being written.
Risultato<Descrittore> crea_temporaneo(std::string_view destinazione, FileNuovo::Piano& piano,
                                       const Oggetto& oggetto) {
    for (int tentativo = 0; tentativo < 100; ++tentativo) {
        const std::string nome = nome_temporaneo(destinazione, ::GetCurrentProcessId(), tentativo);
        const HANDLE h =
            ::CreateFileW(largo(nome).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                          nullptr, CREATE_NEW, piano.attributi | FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            piano.temporaneo = largo(nome);
            piano.posto = ricorda_temporaneo(nome);
            return Descrittore(h, oggetto);
        }
        const DWORD errore = ::GetLastError();
        if (errore != ERROR_FILE_EXISTS && errore != ERROR_ALREADY_EXISTS) {
            return Esito::scrittura(oggetto, windows::errno_da(errore));
        }
    }
    return Esito::scrittura(oggetto, EEXIST);
}

}  // namespace

Risultato<std::unique_ptr<FileNuovo>> FileNuovo::crea(std::string_view destinazione,
                                                      const FileLettura& originale,
                                                      FineRiga fine_riga) {
    const Oggetto oggetto = Oggetto::file(destinazione);
    PianoProprio piano(new Piano());
    piano->nome = largo(destinazione);
    const DWORD attributi = ::GetFileAttributesW(piano->nome.c_str());
    if (attributi == INVALID_FILE_ATTRIBUTES) {
        if (const DWORD errore = ::GetLastError(); !non_esiste(errore)) {
            return Esito::scrittura(oggetto, windows::errno_da(errore));
        }
    } else {
        if ((attributi & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return Esito::scrittura(oggetto, EISDIR);
        }
        if ((attributi & FILE_ATTRIBUTE_READONLY) != 0) {
            return Esito::scrittura(oggetto, EACCES);
        }
        // Opening it for writing, without changing it, tells whether the user may write it
        // and whether another program (a spreadsheet that has it open) keeps it locked.
        const Descrittore prova(
            ::CreateFileW(piano->nome.c_str(), GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, 0, nullptr),
            oggetto);
        if (!prova.aperto()) {
            return windows::esito_scrittura(oggetto, ::GetLastError());
        }
        if (stesso_file(prova.nativo(), originale.descrittore().nativo())) {
            return Esito::su_file(Esito::Tipo::stesso_file, destinazione);
        }
        piano->esiste = true;
        const DWORD visibili =
            attributi & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                         FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
        piano->attributi = visibili != 0 ? visibili : FILE_ATTRIBUTE_NORMAL;
    }
    auto contenuto = crea_temporaneo(destinazione, *piano, oggetto);
    if (!contenuto) {
        return contenuto.errore();
    }
    return std::unique_ptr<FileNuovo>(new FileNuovo(
        std::move(*contenuto), std::string(destinazione), std::move(piano), fine_riga));
}

// A file that exists is replaced with ReplaceFileW, which keeps its permissions (ACL),
// owner and creation time; a new one, or one gone meanwhile, is moved there.
Esito FileNuovo::metti_al_posto() {
    Esito esito = svuota();
    if (esito.ok()) {
        esito = contenuto_.chiudi();
    }
    if (!esito.ok()) {
        return esito;
    }
    Piano& piano = *piano_;
    const std::wstring nuovo = windows::completo(piano.temporaneo.c_str());
    const std::wstring nome = windows::completo(piano.nome.c_str());
    bool fatto = false;
    if (piano.esiste) {
        fatto = ::ReplaceFileW(nome.c_str(), nuovo.c_str(), nullptr,
                               REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS,
                               nullptr, nullptr) != 0;
        const DWORD errore = ::GetLastError();
        // With no file left to replace (ReplaceFileW has removed it and then could not
        // rename, or it was gone already), the new content is moved in its place.
        if (!fatto && errore != ERROR_UNABLE_TO_MOVE_REPLACEMENT && !non_esiste(errore)) {
            return windows::esito_scrittura(Oggetto::file(destinazione_), errore);
        }
    }
    if (!fatto && ::MoveFileExW(nuovo.c_str(), nome.c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        return windows::esito_scrittura(Oggetto::file(destinazione_), ::GetLastError());
    }
    piano.in_posto = true;
    // It was made hidden, so that a run killed before this shows nothing in Explorer.
    ::SetFileAttributesW(nome.c_str(), piano.attributi);
    return {};
}

}  // namespace turnolista::sistema
