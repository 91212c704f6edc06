#pragma once
// The one error type of the program. An Esito is made where the facts are known (which file
// or standard stream, reading or writing, the system's reason, the number of a line too
// long) and carried by value up to the dialogue, which alone turns it into a message.

#include <cassert>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace turnolista {

// What a failure is about: a file by its name, the folder where content waits on its way
// (by its path), or one of the process's standard streams.
struct Oggetto {
    enum class Tipo { file, cartella_temporanea, standard_input, standard_output, standard_error };
    Tipo tipo = Tipo::file;
    std::string nome;  // the file's name, or the folder's path

    static Oggetto file(std::string_view nome) { return {Tipo::file, std::string(nome)}; }
    static Oggetto cartella_temporanea(std::string_view percorso) {
        return {Tipo::cartella_temporanea, std::string(percorso)};
    }
    static Oggetto standard_input() { return {Tipo::standard_input, {}}; }
    static Oggetto standard_output() { return {Tipo::standard_output, {}}; }
    static Oggetto standard_error() { return {Tipo::standard_error, {}}; }
};

class [[nodiscard]] Esito {
  public:
    enum class Tipo {
        ok,
        lettura,            // reading failed, for the system's reason
        scrittura,          // writing failed, for the system's reason
        riga_troppo_lunga,  // a line longer than RIGA_MASSIMA, by its number
        stesso_file,        // the file to write is "originale.txt" itself, under another name
        aperto_altrove,     // another program holds the file open, and shares it with no one
    };

    Esito() = default;
    static Esito lettura(Oggetto oggetto, int causa) {
        return {Tipo::lettura, std::move(oggetto), causa, 0};
    }
    static Esito scrittura(Oggetto oggetto, int causa) {
        return {Tipo::scrittura, std::move(oggetto), causa, 0};
    }
    static Esito riga_troppo_lunga(Oggetto oggetto, long riga) {
        return {Tipo::riga_troppo_lunga, std::move(oggetto), 0, riga};
    }
    // The failures of a file to write that are not the system's: the file's name is known.
    static Esito su_file(Tipo tipo, std::string_view nome) {
        return {tipo, Oggetto::file(nome), 0, 0};
    }
    // Another program holds the file, to read or to write, and shares it with no one.
    static Esito aperto_altrove(std::string_view nome, bool in_lettura) {
        Esito esito{Tipo::aperto_altrove, Oggetto::file(nome), 0, 0};
        esito.in_lettura_ = in_lettura;
        return esito;
    }

    // A list that could not be opened: the folder it was looked for in...
    Esito con_cartella(std::string percorso) && {
        cartella_ = std::move(percorso);
        return std::move(*this);
    }
    // ...where a missing list may be under another name, as it is stored...
    Esito con_simile(std::string nome) && {
        simile_ = std::move(nome);
        return std::move(*this);
    }
    // ...or which is an opened zip's temporary folder, by the zip's name.
    Esito con_zip(std::string nome) && {
        zip_ = std::move(nome);
        return std::move(*this);
    }
    // A file of the same pass that was put in place before this one failed.
    Esito con_gia_scritto(std::string nome) && {
        gia_scritto_ = std::move(nome);
        return std::move(*this);
    }

    bool ok() const { return tipo_ == Tipo::ok; }
    Tipo tipo() const { return tipo_; }
    const Oggetto& oggetto() const { return oggetto_; }
    int causa() const { return causa_; }  // an errno value, with lettura and scrittura
    long riga() const { return riga_; }   // with riga_troppo_lunga
    bool in_lettura() const {
        return tipo_ == Tipo::lettura || tipo_ == Tipo::riga_troppo_lunga || in_lettura_;
    }
    const std::string& cartella() const { return cartella_; }
    const std::string& simile() const { return simile_; }
    const std::string& zip() const { return zip_; }
    const std::string& gia_scritto() const { return gia_scritto_; }

  private:
    Esito(Tipo tipo, Oggetto oggetto, int causa, long riga)
        : tipo_(tipo), oggetto_(std::move(oggetto)), causa_(causa), riga_(riga) {}

    Tipo tipo_ = Tipo::ok;
    Oggetto oggetto_;
    int causa_ = 0;
    long riga_ = 0;
    bool in_lettura_ = false;
    std::string cartella_;
    std::string simile_;
    std::string zip_;
    std::string gia_scritto_;
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

    bool ok() const { return std::holds_alternative<T>(stato_); }
    explicit operator bool() const { return ok(); }
    // The value, once ok() has said there is one; the error, once it has said there is not.
    // Read as it is, with no check of its own: a line of the fixture list is one of these.
    T& operator*() {
        assert(ok());
        return *std::get_if<T>(&stato_);
    }
    const T& operator*() const {
        assert(ok());
        return *std::get_if<T>(&stato_);
    }
    T* operator->() { return &**this; }
    const T* operator->() const { return &**this; }
    const Esito& errore() const {
        assert(!ok());
        return *std::get_if<Esito>(&stato_);
    }

  private:
    std::variant<T, Esito> stato_;
};

}  // namespace turnolista
