#include "sistema/file.hpp"

#include <array>
#include <cerrno>
#include <charconv>
#include <deque>
#include <optional>

#include "sistema/file_proprio.hpp"

#ifdef _WIN32
#include "sistema/windows.hpp"
#else
#include <unistd.h>
#endif

namespace turnolista::sistema {

namespace fs = std::filesystem;

namespace {

// A path the system gave, in UTF-8; on Windows a name that is no valid UTF-16 keeps U+FFFD
// where it is not.
std::string in_utf8(const fs::path& percorso) {
#ifdef _WIN32
    return windows::stretto(percorso.native());
#else
    return percorso.native();
#endif
}

// The name a new file is written under beside `destinazione`: hidden, in the same folder so
// that a rename puts it in place, with this process's id in hexadecimal and "-1", "-2" after
// it should that name be taken; of a long name only its start, so that a name that fits
// fits with what is added.
fs::path nome_nascosto(const fs::path& destinazione, int tentativo) {
#ifdef _WIN32
    const unsigned long processo = ::GetCurrentProcessId();
#else
    const auto processo = static_cast<unsigned long>(::getpid());
#endif
    std::array<char, 2 * sizeof processo> cifre{};
    char* const fine = std::to_chars(cifre.data(), cifre.data() + cifre.size(), processo, 16).ptr;
    std::string aggiunta = ".";
    aggiunta.append(cifre.data(), fine);
    if (tentativo > 0) {
        aggiunta.append("-").append(std::to_string(tentativo));
    }
    auto nome = destinazione.filename().native();
    nome.resize(std::min<std::size_t>(nome.size(), 200));
    fs::path nascosto = destinazione.parent_path() / ".";
    nascosto += nome;
    return nascosto += aggiunta;
}

// Where the content of `nome` goes: the file a chain of symbolic links ends at, which may
// not exist yet, with its kind; a chain that is too long or cannot be read is refused.
Risultato<proprio::Destinazione> dove_va(std::string_view nome, const Oggetto& oggetto) {
    proprio::Destinazione destinazione{.percorso = percorso(nome)};
    std::error_code errore;
    for (int salti = 0; fs::is_symlink(fs::symlink_status(destinazione.percorso, errore));
         ++salti) {
        const fs::path bersaglio = fs::read_symlink(destinazione.percorso, errore);
        if (errore || salti == 40) {
            return Esito::scrittura(oggetto, errore ? errore.value() : ELOOP);
        }
        destinazione.percorso = destinazione.percorso.parent_path() / bersaglio;
    }
    const fs::file_status stato = fs::status(destinazione.percorso, errore);
    if (stato.type() == fs::file_type::not_found) {
        return destinazione;
    }
    if (errore) {
        return Esito::scrittura(oggetto, errore.value());
    }
    if (fs::is_directory(stato)) {
        return Esito::scrittura(oggetto, EISDIR);
    }
    if (!fs::is_regular_file(stato)) {
        const fs::file_type tipo = stato.type();
        return Esito{.tipo = Esito::Tipo::non_regolare,
                     .oggetto = oggetto,
                     .natura = tipo == fs::file_type::fifo     ? Natura::fifo
                               : tipo == fs::file_type::socket ? Natura::socket
                                                               : Natura::dispositivo};
    }
    destinazione.esiste = true;
    return destinazione;
}

// Where `percorso` leads, whether a file is there yet or not; empty where it cannot be told.
fs::path luogo(const fs::path& percorso) {
    std::error_code errore;
    fs::path assoluto = fs::absolute(percorso, errore);
    if (!errore) {
        assoluto = fs::weakly_canonical(assoluto, errore);
    }
    return errore ? fs::path() : assoluto;
}

// Whether two paths lead to one file: two names of an existing one, hard links included,
// or one place, a file there or not.
bool stesso_file(const fs::path& uno, const fs::path& altro) {
    std::error_code errore;
    const fs::path dove = luogo(uno);
    return fs::equivalent(uno, altro, errore) || (!dove.empty() && dove == luogo(altro));
}

// The file of the pass, or the list, that `destinazione` is under another name: replacing
// one name of a file would take it from the other, or the first file of the pass from the
// second.
std::optional<std::string_view> altro_nome(const proprio::Destinazione& destinazione,
                                           std::span<const FileNuovo> file,
                                           std::span<const proprio::Destinazione> prima,
                                           std::string_view originale) {
    if (stesso_file(destinazione.percorso, percorso(originale))) {
        return originale;
    }
    for (std::size_t i = 0; i < prima.size(); ++i) {
        if (stesso_file(destinazione.percorso, prima[i].percorso)) {
            return file[i].nome;
        }
    }
    return std::nullopt;
}

Esito scrivi(const FileNuovo& file, const proprio::Destinazione& destinazione,
             std::deque<Nascosto>& nascosti) {
    const Oggetto oggetto = Oggetto::file(file.nome);
    for (int tentativo = 0; tentativo < 100; ++tentativo) {
        Nascosto& nascosto = nascosti.emplace_back(nome_nascosto(destinazione.percorso, tentativo));
        Esito esito = proprio::scrivi(nascosto, destinazione, file.contenuto, oggetto);
        if (esito.tipo != Esito::Tipo::scrittura || esito.causa != EEXIST) {
            return esito;
        }
        nascosti.pop_back();
    }
    return Esito::scrittura(oggetto, EEXIST);
}

}  // namespace

fs::path percorso(std::string_view nome) {
    return std::u8string(nome.begin(), nome.end());
}

Esito troppo_grande(const Oggetto& oggetto, std::uint64_t byte) {
    return {
        .tipo = Esito::Tipo::troppo_grande, .oggetto = oggetto, .in_lettura = true, .byte = byte};
}

Esito metti_al_posto(std::span<const FileNuovo> file, std::string_view originale) {
    std::vector<proprio::Destinazione> destinazioni;
    for (const FileNuovo& uno : file) {
        const Oggetto oggetto = Oggetto::file(uno.nome);
        auto destinazione = dove_va(uno.nome, oggetto);
        if (!destinazione) {
            return destinazione.errore();
        }
        if ((*destinazione).esiste) {
            if (Esito esito = proprio::esamina(*destinazione, oggetto); !esito.ok()) {
                return esito;
            }
        }
        if (const auto altro = altro_nome(*destinazione, file, destinazioni, originale)) {
            return {
                .tipo = Esito::Tipo::stesso_file, .oggetto = oggetto, .altro = std::string(*altro)};
        }
        destinazioni.push_back(std::move(*destinazione));
    }
    std::deque<Nascosto> nascosti;
    for (std::size_t i = 0; i < file.size(); ++i) {
        if (Esito esito = scrivi(file[i], destinazioni[i], nascosti); !esito.ok()) {
            return esito;
        }
    }
    for (std::size_t i = 0; i < file.size(); ++i) {
        const Indivisibile passo;
        Esito esito = proprio::rinomina(nascosti[i], destinazioni[i], Oggetto::file(file[i].nome));
        if (!esito.ok()) {
            esito.gia_scritto = i > 0 ? file[0].nome : "";
            return esito;
        }
        nascosti[i].rinominato();
    }
    return {};
}

std::string cartella_corrente() {
    std::error_code errore;
    return in_utf8(fs::current_path(errore));
}

std::vector<std::string> nomi_nella_cartella() {
    std::vector<std::string> nomi;
    std::error_code errore;
    for (fs::directory_iterator voce(".", errore), fine; !errore && voce != fine;
         voce.increment(errore)) {
        nomi.push_back(in_utf8(voce->path().filename()));
    }
    return nomi;
}

Voce che_cosa_e(std::string_view percorso_utf8) {
    std::error_code errore;
    const fs::file_status stato = fs::status(percorso(percorso_utf8), errore);
    return fs::is_directory(stato) ? Voce::cartella
           : fs::exists(stato)     ? Voce::file
                                   : Voce::nessuna;
}

}  // namespace turnolista::sistema
