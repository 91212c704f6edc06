#pragma once
// The program's one error type, made where the facts are known (which file or stream, reading
// or writing, the system's reason) and carried by value to the dialogue, which alone words it.

#include <cassert>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace turnolista {

// What a failure is about: a file by its name, or one of the process's standard streams.
struct Oggetto {
    enum class Tipo { file, standard_input, standard_output, standard_error };
    Tipo tipo = Tipo::file;
    std::string nome;  // the file's name

    static Oggetto file(std::string_view nome) { return {Tipo::file, std::string(nome)}; }
};

// What a list that is no text is, as its first bytes tell: each program saves text its way.
enum class Documento { excel, word, pdf, opendocument, zip, immagine };

struct [[nodiscard]] Esito {
    enum class Tipo {
        ok,
        sistema,          // reading or writing failed, for the system's reason
        cartella_chiusa,  // the file's folder takes no new file, for the system's reason
        non_regolare,     // a pipe, a device or a socket where a file should be
        troppo_grande,    // a list larger than LISTA_MASSIMA, by its size
        stesso_file,      // two of the files of a pass are one file under two names
        aperto_altrove,   // another program holds the file open, and shares it with no one
        non_testo,        // a list that is a document of another program, not text
    };

    Tipo tipo = Tipo::ok;
    Oggetto oggetto;
    bool in_lettura = false;  // the failure is the list's, or the console input's
    int causa = 0;            // an errno value, where the system gave the reason
    std::filesystem::file_type natura = std::filesystem::file_type::none;  // what stands there
    Documento documento = Documento::excel;
    std::uint64_t byte = 0;  // a list's size, too large
    // The file of the pass that the one to write is, or a name like a missing list's; the
    // folder where a list that could not be read was looked for, and the zip that holds it.
    std::string altro;
    std::string cartella;
    std::string zip;
    std::string gia_scritto;  // a file of the same pass put in place before this one failed

    bool ok() const { return tipo == Tipo::ok; }
    static Esito del_sistema(Oggetto oggetto, int causa, bool in_lettura) {
        return {.tipo = Tipo::sistema,
                .oggetto = std::move(oggetto),
                .in_lettura = in_lettura,
                .causa = causa};
    }
};

// A value, or the Esito that says why there is none.
template <typename T>
class [[nodiscard]] Risultato {
  public:
    // Implicit, so that a function returns either as it is.
    // cppcheck-suppress noExplicitConstructor
    Risultato(T valore) : stato_(std::move(valore)) {}
    // cppcheck-suppress noExplicitConstructor
    Risultato(Esito errore) : stato_(std::move(errore)) { assert(!std::get<Esito>(stato_).ok()); }

    explicit operator bool() const { return std::holds_alternative<T>(stato_); }
    // The value or the error, once the Risultato has said which (std::get throws otherwise).
    T& operator*() { return std::get<T>(stato_); }
    const T& operator*() const { return std::get<T>(stato_); }
    const Esito& errore() const { return std::get<Esito>(stato_); }

  private:
    std::variant<T, Esito> stato_;
};

}  // namespace turnolista
