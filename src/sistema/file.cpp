#include "sistema/sistema.hpp"

#include <atomic>
#include <charconv>
#include <cstdint>
#include <optional>

#include "sistema/proprio.hpp"

namespace turnolista::sistema {

namespace {

// This run's hidden files not yet in place, one for each file of a pass (which has two), for
// the signal handlers, which may read nothing but lock-free atomics.
std::array<std::atomic<const fs::path::value_type*>, 2> da_togliere{};

// A destination: its name, where its content goes and where that leads, what a new file takes
// of one there (permission bits, or attributes), and the hidden file it is written to.
struct Destinazione {
    std::string_view nome;
    fs::path percorso;
    fs::path luogo;
    std::optional<std::uint32_t> come;
    fs::path nascosto;
};

// Where the content of `nome` goes: the file a chain of symbolic links ends at, which may
// not exist yet; a chain too long or unreadable is refused.
Risultato<Destinazione> dove_va(std::string_view nome) {
    const Oggetto oggetto = Oggetto::file(nome);
    Destinazione destinazione{.nome = nome, .percorso = percorso(nome)};
    std::error_code errore;
    for (int salti = 0; fs::is_symlink(fs::symlink_status(destinazione.percorso, errore));
         ++salti) {
        const fs::path bersaglio = fs::read_symlink(destinazione.percorso, errore);
        if (errore || salti == 40) {
            return Esito::del_sistema(oggetto, errore ? errore.value() : ELOOP, false);
        }
        destinazione.percorso = destinazione.percorso.parent_path() / bersaglio;
    }
    const fs::file_status stato = fs::status(destinazione.percorso, errore);
    if (stato.type() == fs::file_type::not_found) {
        return destinazione;
    }
    if (errore) {
        return Esito::del_sistema(oggetto, errore.value(), false);
    }
    if (!fs::is_regular_file(stato)) {
        return non_regolare(oggetto, stato.type(), false);
    }
#ifdef _WIN32
    // A new file takes what Explorer shows of the old one: its hidden, system, archive and
    // indexing attributes. Opening it for writing, without changing it, tells whether the user
    // may write it and whether another program (a spreadsheet that has it open) locks it.
    const DWORD attributi = ::GetFileAttributesW(destinazione.percorso.c_str());
    if (attributi != INVALID_FILE_ATTRIBUTES && (attributi & FILE_ATTRIBUTE_READONLY) != 0) {
        return Esito::del_sistema(oggetto, EACCES, false);
    }
    if (!Aperto(::CreateFileW(destinazione.percorso.c_str(), GENERIC_WRITE, CONDIVISO, nullptr,
                              OPEN_EXISTING, 0, nullptr))) {
        return fallito(oggetto);
    }
    const DWORD visibili =
        attributi & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                     FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    destinazione.come = visibili != 0 ? visibili : FILE_ATTRIBUTE_NORMAL;
#else
    if (::faccessat(AT_FDCWD, destinazione.percorso.c_str(), W_OK, AT_EACCESS) != 0) {
        return fallito(oggetto);
    }
    destinazione.come = static_cast<std::uint32_t>(stato.permissions() & fs::perms::all);
#endif
    return destinazione;
}

struct Nascosti {
    ~Nascosti() {
        const std::lock_guard passo(serratura);
        togli_nascosti();
    }
};

// Makes the i-th hidden file, holding `contenuto`, under the first of its names not taken (a
// taken one is someone else's). On Windows it is hidden, so that a run killed before the rename
// shows nothing in Explorer, and shared for deleting, so that Ctrl-C's handler removes it.
Esito crea(std::size_t i, Destinazione& destinazione, std::string_view contenuto) {
    const Oggetto oggetto = Oggetto::file(destinazione.nome);
    std::array<char, 9> numero{'.'};  // a dot, then the process's number in hex
    const char* fine = std::to_chars(&numero[1], numero.data() + numero.size(), ::getpid(), 16).ptr;
    fs::path primo = destinazione.percorso.parent_path() / ".";
    // Of a long name only the start, so that what is added fits.
    primo += destinazione.percorso.filename().native().substr(0, 200);
    primo += std::string_view(numero.data(), fine);
    fs::path& nome = destinazione.nascosto;
    for (int tentativo = 0;; ++tentativo) {
        Aperto file([&] {
            // The handlers know the name from before the file exists.
            const std::lock_guard passo(serratura);
            nome = primo;
            nome += tentativo > 0 ? std::string("-").append(std::to_string(tentativo)) : "";
            da_togliere.at(i) = nome.c_str();
#ifdef _WIN32
            return ::CreateFileW(nome.c_str(), GENERIC_WRITE, CONDIVISO, nullptr, CREATE_NEW,
                                 destinazione.come.value_or(0) | FILE_ATTRIBUTE_HIDDEN, nullptr);
#else
            return ::open(nome.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY,
                          destinazione.come ? 0600 : 0666);
#endif
        }());
        if (!file) {
            Esito esito = fallito(oggetto);
            da_togliere.at(i) = nullptr;
            if (esito.causa == EEXIST && tentativo < 99) {
                continue;
            }
            if (esito.causa == EACCES || esito.causa == EPERM) {
                esito.tipo = Esito::Tipo::cartella_chiusa;  // the folder takes no new file
            }
            return esito;
        }
#ifndef _WIN32
        // One that replaces another starts private, then takes the old file's permission bits
        // and none of the access that the folder's default ACL gives a new file.
        if (destinazione.come) {
            ::fremovexattr(file.h, "system.posix_acl_access");
            if (::fchmod(file.h, *destinazione.come) != 0) {
                return fallito(oggetto);
            }
        }
#endif
        return scrivi_tutto(file.h, contenuto) && file.chiudi() ? Esito() : fallito(oggetto);
    }
}

// Puts the hidden file in place, or gives false. Windows' ReplaceFileW keeps the old file's
// ACL, owner, attributes and creation time; a new file, or one gone meanwhile, is moved there.
bool rinomina(const Destinazione& destinazione) {
#ifdef _WIN32
    std::error_code errore;
    const fs::path nuovo = fs::absolute(destinazione.nascosto, errore);
    const fs::path vecchio = fs::absolute(destinazione.percorso, errore);
    bool fatto = false;
    if (destinazione.come) {
        fatto = ::ReplaceFileW(vecchio.c_str(), nuovo.c_str(), nullptr,
                               REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS,
                               nullptr, nullptr) != 0;
        const DWORD motivo = ::GetLastError();
        // With no file left to replace (ReplaceFileW has removed it and then could not
        // rename, or it was gone already), the new content is moved in its place.
        if (!fatto && motivo != ERROR_UNABLE_TO_MOVE_REPLACEMENT &&
            motivo != ERROR_FILE_NOT_FOUND && motivo != ERROR_PATH_NOT_FOUND) {
            return false;
        }
    }
    if (!fatto && ::MoveFileExW(nuovo.c_str(), vecchio.c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        return false;
    }
    ::SetFileAttributesW(vecchio.c_str(), destinazione.come.value_or(FILE_ATTRIBUTE_NORMAL));
    return true;
#else
    return ::rename(destinazione.nascosto.c_str(), destinazione.percorso.c_str()) == 0;
#endif
}

}  // namespace

std::mutex serratura;

void togli_nascosti() {
    for (auto& nome : da_togliere) {
        if (const auto* uno = nome.load(); uno != nullptr) {
#ifdef _WIN32
            ::DeleteFileW(uno);
#else
            ::unlink(uno);
#endif
            nome = nullptr;
        }
    }
}

Esito metti_al_posto(std::span<const FileNuovo> file, std::string_view originale) {
    // Two names are one file where they name one that exists, hard links too, or lead to one
    // place, every link followed (empty where that cannot be told).
    const auto dove_porta = [](const fs::path& via) {
        std::error_code errore;
        return fs::weakly_canonical(fs::absolute(via, errore), errore);
    };
    std::vector<Destinazione> destinazioni{{.nome = originale,
                                            .percorso = percorso(originale),
                                            .luogo = dove_porta(percorso(originale))}};
    for (const FileNuovo& uno : file) {
        auto destinazione = dove_va(uno.nome);
        if (!destinazione) {
            return destinazione.errore();
        }
        Destinazione& questa = *destinazione;
        questa.luogo = dove_porta(questa.percorso);
        const auto prima = std::ranges::find_if(destinazioni, [&](const Destinazione& una) {
            std::error_code errore;
            return fs::equivalent(questa.percorso, una.percorso, errore) ||
                   (!questa.luogo.empty() && questa.luogo == una.luogo);
        });
        if (prima != destinazioni.end()) {
            return {.tipo = Esito::Tipo::stesso_file,
                    .oggetto = Oggetto::file(uno.nome),
                    .altro = std::string(prima->nome)};
        }
        destinazioni.push_back(std::move(*destinazione));
    }
    destinazioni.erase(destinazioni.begin());
    const Nascosti nascosti;  // after the destinations, which hold the names: it goes first
    for (std::size_t i = 0; i < file.size(); ++i) {
        if (Esito esito = crea(i, destinazioni[i], file[i].contenuto); !esito.ok()) {
            return esito;
        }
    }
    for (std::size_t i = 0; i < file.size(); ++i) {
        const std::lock_guard passo(serratura);
        if (!rinomina(destinazioni[i])) {
            Esito esito = fallito(Oggetto::file(file[i].nome));
            esito.gia_scritto = i > 0 ? file[0].nome : "";
            return esito;
        }
        da_togliere.at(i) = nullptr;
    }
    return {};
}

}  // namespace turnolista::sistema
