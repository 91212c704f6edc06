#include "dialogo/dialogo.hpp"

#include <algorithm>
#include <array>
#include <cerrno>
#include <new>
#include <utility>

#include "comune/codifica.hpp"

namespace turnolista {

namespace {

// "Ecxel" and "Voui" are the program's own words, kept as its users know them.
constexpr std::string_view DOMANDA_FORMATO =
    "In quale formato vuoi che venga salvato il calendario?(scrivi t per file di testo,w per "
    "Word,x per Ecxel,h per pagina web e poi premi invio)\n";
// The question keeps its words; on a terminal a person also learns of the calendar.
constexpr std::string_view NOTA_FORMATO =
    "Oppure c per mettere le partite nel calendario del telefono\n";
constexpr std::string_view DOMANDA_NOME = "Inserisci il nome della tua squadra e poi premi invio\n";
constexpr std::string_view DOMANDA_ANCORA =
    "\nVoui ricominciare?(y/n)\nNB:Scegliendo lo stesso formato dell'esecuzione precedente, si "
    "sovrascrive il vecchio file\n";

// The format an answer chooses by its first letter, in either case (minuscola_ascii's).
std::optional<Formato> formato_di(std::string_view risposta) {
    constexpr std::string_view LETTERE = "twxhc";  // in the order of Formato
    const std::size_t i = LETTERE.find(minuscola_ascii(risposta.empty() ? '\0' : risposta[0]));
    return i == LETTERE.npos ? std::nullopt : std::optional(static_cast<Formato>(i));
}

// The answers typed at the console, a line at a time, read in blocks.
struct Risposte {
    // The next line without its line end (nor the BOM a file of answers may start with), cut to
    // a byte past RISPOSTA_MASSIMA; nullopt at the input's end and after a failure, which ends it.
    Risultato<std::optional<std::string>> leggi() {
        std::optional<std::string> riga;
        for (std::size_t a_capo = FINE; a_capo == FINE && !finito;) {
            if (dati.empty()) {
                const auto n = in.leggi(blocco);
                finito = !n || *n == 0;
                if (!n) {
                    return n.errore();
                }
                dati = std::string_view(blocco.data(), *n);
                continue;
            }
            a_capo = dati.find('\n');
            std::string& parte = riga ? *riga : riga.emplace();
            parte.append(dati.substr(0, std::min(a_capo, RISPOSTA_MASSIMA + 1 - parte.size())));
            dati.remove_prefix(a_capo == FINE ? dati.size() : a_capo + 1);
        }
        if (riga && riga->ends_with('\r')) {
            riga->pop_back();
        }
        if (riga && std::exchange(prima, false) && riga->starts_with(BOM_UTF8)) {
            riga->erase(0, BOM_UTF8.size());
        }
        return riga;
    }

    Canale& in;
    std::array<char, RISPOSTA_MASSIMA> blocco{};
    std::string_view dati;  // what is read of blocco and not yet taken
    bool finito = false;    // the input has ended, or failed: nothing is left to take
    bool prima = true;
};

struct Dialogo {
    // One pass, up to the summary; false when the run must end before the pass can run.
    bool passata() {
        const auto corto = [](std::string_view n) { return caratteri(in_utf8(n)) <= NOME_MASSIMO; };
        const auto risposta = chiedi(DOMANDA_FORMATO, formato_di,
                                     "Hai inserito un valore non corretto!\n", NOTA_FORMATO);
        const auto nome = risposta ? chiedi(DOMANDA_NOME, corto,
                                            "Hai inserito un nome troppo lungo! (massimo " +
                                                std::to_string(NOME_MASSIMO) + " caratteri)\n")
                                   : std::nullopt;
        if (!nome) {
            return false;
        }
        const Formato formato = *formato_di(*risposta);
        // A list not read is told with its folder, a file there the user may have meant, its zip.
        auto lista = sistema::leggi_lista(origine.lista);
        if (Esito errore = lista ? solo_testo(origine.lista, *lista) : lista.errore();
            !errore.ok()) {
            errore.cartella = sistema::cartella_corrente();
            if (errore.tipo == Esito::Tipo::sistema && errore.causa == ENOENT &&
                origine.lista == FILE_ORIGINALE) {
                errore.altro = nome_simile(sistema::nomi_nella_cartella()).value_or("");
            }
            errore.zip = zip_aperto(errore.cartella).value_or("");
            return fallisce(errore);
        }
        Passata esito;
        try {
            const Testo testo = decodifica(std::move(*lista));
            esito = turnolista::passata(testo.utf8, testo.codifica, *nome, formato,
                                        sistema::adesso(), sistema::FINE_RIGA);
        } catch (const std::bad_alloc&) {
            // The list fitted in memory, the files made of it do not.
            return fallisce(Esito::del_sistema(Oggetto::file(origine.lista), ENOMEM, true));
        }
        if (Esito scritto = sistema::metti_al_posto(esito.file, origine.lista); !scritto.ok()) {
            return fallisce(scritto);
        }
        dici(riepilogo(formato, esito, origine.cartella));
        static_cast<void>(console.scrivi(console.err, avvertenze(esito, *nome, origine.lista)));
        return true;
    }

    bool ancora() {
        const auto risposta = chiedi(
            DOMANDA_ANCORA, [](std::string_view) { return true; }, "");
        return risposta && (risposta->starts_with('y') || risposta->starts_with('Y'));
    }

    // A pass that failed: the run goes on; a file is told with the list's folder, if any.
    bool fallisce(Esito errore) {
        fallita = true;
        if (errore.oggetto.tipo == Oggetto::Tipo::file && errore.cartella.empty()) {
            errore.cartella = origine.cartella;
        }
        static_cast<void>(console.scrivi(console.err, messaggio(errore)));
        return true;
    }

    // Asks, with a note for a person at a terminal, until `accetta` takes the typed line,
    // saying `rifiuto` after any other; nullopt when the input has ended or the console failed.
    std::optional<std::string> chiedi(std::string_view domanda, const auto& accetta,
                                      std::string_view rifiuto, std::string_view nota = {}) {
        for (;;) {
            dici(domanda);
            if (console.in_terminale && !nota.empty()) {
                static_cast<void>(console.scrivi(console.err, nota));
            }
            if (uscita_guasta) {
                return std::nullopt;
            }
            auto riga = risposte.leggi();
            if (!riga) {
                fallisce(riga.errore());
                return std::nullopt;
            }
            if (!*riga || accetta(**riga)) {
                return std::move(*riga);
            }
            dici(rifiuto);
        }
    }

    // Writes to the console's output; a failure is told once, on its error stream.
    void dici(std::string_view testo) {
        if (uscita_guasta) {
            return;
        }
        if (Esito esito = console.scrivi(console.out, testo); !esito.ok()) {
            uscita_guasta = true;
            fallisce(esito);
        }
    }

    Console& console;
    const Origine& origine;
    Risposte risposte{console.in};
    bool fallita = false;
    bool uscita_guasta = false;
};

}  // namespace

int dialogo(Console& console, const Origine& origine) {
    Dialogo dialogo{console, origine};
    while (dialogo.passata() && dialogo.ancora()) {
    }
    return dialogo.fallita ? 1 : 0;
}

int congedo(Console& console, int stato) {
    if (stato != 0 && console.finestra_propria) {
        static_cast<void>(console.scrivi(console.out, "Premi Invio per chiudere la finestra.\n"));
        // Whatever is typed up to Enter, or the end of the input; a line of any length.
        static_cast<void>(Risposte{console.in}.leggi());
    }
    return stato;
}

}  // namespace turnolista
