#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <numeric>
#include <string>

#include "sistema/file.hpp"
#include "sistema/segnali.hpp"
#include "sistema/serratura.hpp"
#include "sistema/windows.hpp"

namespace turnolista {

namespace {

using windows::errno_ultimo;
using windows::largo;

// How long a pass waits for another run in the same folder to put its files in place.
constexpr DWORD ATTESA_MASSIMA_MS = 10'000;
constexpr DWORD CONDIVISIONE = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool non_esiste(DWORD errore) {
    return errore == ERROR_FILE_NOT_FOUND || errore == ERROR_PATH_NOT_FOUND;
}

// A C runtime descriptor for the handle, which then owns it; -1 on failure, with the
// handle closed.
int descrittore(HANDLE h, int modo) {
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), modo | _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(h);
    }
    return fd;
}

// The full path of a name in the current folder (the name itself if it has none), which
// ReplaceFileW needs under Wine.
std::wstring completo(const wchar_t* nome) {
    std::wstring percorso(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            ::GetFullPathNameW(nome, static_cast<DWORD>(percorso.size()), percorso.data(), nullptr);
        if (n == 0) {
            return nome;
        }
        if (n < percorso.size()) {
            percorso.resize(n);
            return percorso;
        }
        percorso.resize(n);
    }
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

// Where the new content goes: a temporary file beside the destination.
struct FileNuovo::Piano {
    std::wstring nome;
    std::wstring temporaneo;
    int posto = -1;  // its place among the files Ctrl-C removes
    bool esiste = false;
    bool in_posto = false;
};

FileLettura::FileLettura(int fd) : fd_(fd), buffer_(fd), flusso_(&buffer_) {}

FileLettura::~FileLettura() {
    ::_close(fd_);
}

std::unique_ptr<FileLettura> FileLettura::apri(const std::string& percorso, int& causa) {
    const std::wstring nome = largo(percorso);
    const HANDLE h = ::CreateFileW(nome.c_str(), GENERIC_READ, CONDIVISIONE, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        causa = errno_ultimo();
        // Windows refuses to open a folder as a file; say what it is, as elsewhere.
        if (causa == EACCES && non_scrivibile(nome) == EISDIR) {
            causa = EISDIR;
        }
        return nullptr;
    }
    const int fd = descrittore(h, _O_RDONLY);
    if (fd < 0) {
        causa = errno;
        return nullptr;
    }
    return std::unique_ptr<FileLettura>(new FileLettura(fd));
}

FileNuovo::FileNuovo(int fd, std::string destinazione, std::unique_ptr<Piano> piano)
    : fd_(fd),
      destinazione_(std::move(destinazione)),
      piano_(std::move(piano)),
      buffer_(fd),
      flusso_(&buffer_) {}

FileNuovo::~FileNuovo() {
    if (fd_ >= 0) {
        ::_close(fd_);
    }
    if (!piano_->in_posto) {
        ::DeleteFileW(piano_->temporaneo.c_str());
    }
    dimenticalo(piano_->posto);
}

namespace {

// Creates the temporary file beside the destination, with the destination's attributes;
// returns its handle, or INVALID_HANDLE_VALUE with the reason in `causa`.
HANDLE crea_temporaneo(const std::string& destinazione, FileNuovo::Piano& piano, DWORD attributi,
                       int& causa) {
    const std::string base =
        "." + destinazione + "." + std::to_string(::GetCurrentProcessId()) + "-";
    for (int tentativo = 0; tentativo < 100; ++tentativo) {
        const std::string nome = base + std::to_string(tentativo);
        // Remembered and made while Ctrl-C waits, so that its handler finds every file made.
        trattieni_segnali();
        const int posto = ricorda_temporaneo(-1, nome);
        const HANDLE h = ::CreateFileW(largo(nome).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                       CREATE_NEW, attributi, nullptr);
        const DWORD errore = ::GetLastError();
        if (h == INVALID_HANDLE_VALUE) {
            dimenticalo(posto);
        }
        rilascia_segnali();
        if (h != INVALID_HANDLE_VALUE) {
            piano.temporaneo = largo(nome);
            piano.posto = posto;
            return h;
        }
        if (errore != ERROR_FILE_EXISTS && errore != ERROR_ALREADY_EXISTS) {
            causa = windows::errno_da(errore);
            return INVALID_HANDLE_VALUE;
        }
    }
    causa = EEXIST;
    return INVALID_HANDLE_VALUE;
}

}  // namespace

std::unique_ptr<FileNuovo> FileNuovo::crea(const std::string& destinazione, int& causa) {
    auto piano = std::make_unique<Piano>();
    piano->nome = largo(destinazione);
    DWORD attributi = ::GetFileAttributesW(piano->nome.c_str());
    if (attributi == INVALID_FILE_ATTRIBUTES) {
        if (const DWORD errore = ::GetLastError(); !non_esiste(errore)) {
            causa = windows::errno_da(errore);
            return nullptr;
        }
        attributi = FILE_ATTRIBUTE_NORMAL;
    } else {
        piano->esiste = true;
        if ((causa = non_scrivibile(attributi)) != 0) {
            return nullptr;
        }
        // Opening it for writing, without changing it, tells whether the user may write it
        // and whether another program (a spreadsheet that has it open) keeps it locked.
        const HANDLE prova = ::CreateFileW(piano->nome.c_str(), GENERIC_WRITE, CONDIVISIONE,
                                           nullptr, OPEN_EXISTING, 0, nullptr);
        if (prova == INVALID_HANDLE_VALUE) {
            causa = errno_ultimo();
            return nullptr;
        }
        ::CloseHandle(prova);
        // The new file keeps what Explorer shows of the old one, hidden or archived.
        attributi &= FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                     FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
        if (attributi == 0) {
            attributi = FILE_ATTRIBUTE_NORMAL;
        }
    }
    const HANDLE h = crea_temporaneo(destinazione, *piano, attributi, causa);
    if (h == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    const int fd = descrittore(h, _O_WRONLY);
    if (fd < 0) {
        causa = errno;
        ::DeleteFileW(piano->temporaneo.c_str());
        dimenticalo(piano->posto);
        return nullptr;
    }
    return std::unique_ptr<FileNuovo>(new FileNuovo(fd, destinazione, std::move(piano)));
}

int FileNuovo::chiudi() {
    flusso_.flush();
    int causa = buffer_.errore();
    if (causa == 0 && !flusso_) {
        causa = EIO;
    }
    if (causa != 0) {
        return causa;
    }
    const int fd = fd_;
    fd_ = -1;
    return ::_close(fd) != 0 ? errno : 0;
}

int FileNuovo::verifica() const {
    return non_scrivibile(piano_->nome);
}

// A file that exists is replaced with ReplaceFileW, which keeps its permissions (ACL),
// owner, attributes and creation time; a new one, or one gone meanwhile, is moved there.
int FileNuovo::metti_al_posto() {
    const wchar_t* nuovo = piano_->temporaneo.c_str();
    const wchar_t* nome = piano_->nome.c_str();
    bool fatto = false;
    if (piano_->esiste) {
        fatto = ::ReplaceFileW(completo(nome).c_str(), completo(nuovo).c_str(), nullptr,
                               REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS,
                               nullptr, nullptr) != 0;
        const DWORD errore = ::GetLastError();
        // With no file left to replace (ReplaceFileW has removed it and then could not
        // rename, or it was gone already), the new content is moved in its place.
        if (!fatto && errore != ERROR_UNABLE_TO_MOVE_REPLACEMENT && !non_esiste(errore)) {
            return windows::errno_da(errore);
        }
    }
    if (!fatto &&
        ::MoveFileExW(nuovo, nome, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        return errno_ultimo();
    }
    // From here the temporary name is gone: Ctrl-C must not remove what now stands there.
    piano_->in_posto = true;
    dimenticalo(piano_->posto);
    return 0;
}

// A mutex named after the folder's full path.
SerraturaCartella::SerraturaCartella() {
    std::wstring cartella = completo(L".");
    ::CharLowerBuffW(cartella.data(), static_cast<DWORD>(cartella.size()));
    // A name may not hold a backslash, nor be longer than a path.
    const std::uint64_t impronta =
        std::accumulate(cartella.begin(), cartella.end(), 14695981039346656037ULL,
                        [](std::uint64_t h, wchar_t c) { return (h ^ c) * 1099511628211ULL; });
    const std::wstring nome = L"Local\\turnolista-" + std::to_wstring(impronta);
    const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, nome.c_str());
    if (mutex == nullptr) {
        return;
    }
    const DWORD esito = ::WaitForSingleObject(mutex, ATTESA_MASSIMA_MS);
    if (esito != WAIT_OBJECT_0 && esito != WAIT_ABANDONED) {
        causa_ = esito == WAIT_TIMEOUT ? EAGAIN : 0;
        ::CloseHandle(mutex);
        return;
    }
    maniglia_ = reinterpret_cast<std::intptr_t>(mutex);
}

SerraturaCartella::~SerraturaCartella() {
    if (maniglia_ != -1) {
        // NOLINTNEXTLINE(performance-no-int-to-ptr): the lock keeps its handle as an integer
        auto* const mutex = reinterpret_cast<HANDLE>(maniglia_);
        ::ReleaseMutex(mutex);
        ::CloseHandle(mutex);
    }
}

}  // namespace turnolista
