#include "dialogo/dialogo.hpp"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "comune/codifica.hpp"
#include "comune/costanti.hpp"
#include "dialogo/messaggi.hpp"
#include "dialogo/originale.hpp"
#include "dialogo/passata.hpp"
#include "dialogo/testo.hpp"
#include "sistema/file.hpp"
#include "sistema/orologio.hpp"

namespace turnolista {

namespace {

// The messages are written here in UTF-8. "Ecxel", "Voui" and the English line of the
// summary are the program's own words, kept as its users know them.
constexpr std::string_view DOMANDA_FORMATO =
    "In quale formato vuoi che venga salvato il calendario?(scrivi t per file di testo,w per "
    "Word,x per Ecxel,h per pagina web e poi premi invio)\n";
// The question keeps its words; on a terminal a person also learns of the calendar.
constexpr std::string_view NOTA_FORMATO =
    "Oppure c per mettere le partite nel calendario del telefono\n";
constexpr std::string_view VALORE_NON_CORRETTO = "Hai inserito un valore non corretto!\n";
constexpr std::string_view DOMANDA_NOME = "Inserisci il nome della tua squadra e poi premi invio\n";
constexpr std::string_view DOMANDA_ANCORA =
    "\nVoui ricominciare?(y/n)\nNB:Scegliendo lo stesso formato dell'esecuzione precedente, si "
    "sovrascrive il vecchio file\n";

std::string riepilogo(std::uint64_t RIGHE) {
    return "\nL'espressione cercata è presente in " + std::to_string(RIGHE) +
           " righe\n- Turnolista successfully executed - Congratulations by Velmaro -\n";
}

// The answers typed at the console, a line at a time, in blocks as the console gives them.
class Risposte {
  public:
    explicit Risposte(Canale& in) : in_(in) {}

    // The next line without its line end (LF or CR LF, or the end of the input, a CR just
    // before it included), cut to one byte more than RISPOSTA_MASSIMA and the rest passed
    // over; nullopt at the end of the input. After a failure nothing more is read.
    Risultato<std::optional<std::string>> leggi() {
        std::string riga;
        bool letta = false;
        for (;;) {
            if (inizio_ == fine_) {
                if (finito_) {
                    break;
                }
                const auto n = in_.leggi(blocco_);
                finito_ = !n || *n == 0;
                if (!n) {
                    return n.errore();
                }
                inizio_ = 0;
                fine_ = *n;
                continue;
            }
            letta = true;
            const std::string_view dati(blocco_.data() + inizio_, fine_ - inizio_);
            const std::size_t a_capo = dati.find('\n');
            const std::string_view parte = dati.substr(0, a_capo);
            riga.append(parte.substr(
                0, RISPOSTA_MASSIMA + 1 - std::min(riga.size(), RISPOSTA_MASSIMA + 1)));
            inizio_ += a_capo == std::string_view::npos ? dati.size() : a_capo + 1;
            if (a_capo != std::string_view::npos) {
                break;
            }
        }
        if (!letta) {
            return std::optional<std::string>();
        }
        if (riga.ends_with('\r')) {
            riga.pop_back();
        }
        return std::optional(std::move(riga));
    }

  private:
    Canale& in_;
    std::array<char, RISPOSTA_MASSIMA> blocco_{};
    std::size_t inizio_ = 0;
    std::size_t fine_ = 0;
    bool finito_ = false;
};

class Dialogo {
  public:
    Dialogo(Console& console, const Origine& origine)
        : console_(console), origine_(origine), risposte_(console.in) {}

    // One pass, up to the summary; false when the run must end before the pass can run.
    bool passata() {
        const auto formato = chiedi_formato();
        if (!formato) {
            return false;
        }
        std::string nome;
        if (!chiedi_nome(nome)) {
            return false;
        }
        auto lista = leggi_originale(origine_.lista);
        if (!lista) {
            return fallisce(lista.errore());
        }
        Passata esito;
        try {
            const Testo testo = decodifica(std::move(*lista));
            esito = turnolista::passata(testo.utf8, testo.codifica, nome, *formato,
                                        sistema::adesso(), sistema::FINE_RIGA);
        } catch (const std::bad_alloc&) {
            // The list fitted in memory, the files made of it do not.
            return fallisce(Esito::lettura(Oggetto::file(origine_.lista), ENOMEM));
        }
        if (Esito scritto = sistema::metti_al_posto(esito.file, origine_.lista); !scritto.ok()) {
            return fallisce(scritto);
        }
        dici(riepilogo(esito.RIGHE));
        dici(messaggio_file(voce(*formato), esito, origine_.cartella));
        if (!esito.calendario.scartate.empty()) {
            avverti(console_, messaggio_scartate(esito.calendario.scartate, origine_.lista));
        }
        if (esito.altra_grafia) {
            avverti(console_, messaggio_altra_grafia(nome, *esito.altra_grafia));
        }
        return true;
    }

    // Whether the user starts again.
    bool ancora() {
        std::string risposta;
        return chiedi(DOMANDA_ANCORA, risposta) && !risposta.empty() &&
               (risposta.front() == 'y' || risposta.front() == 'Y');
    }

    bool fallita() const { return fallita_; }

  private:
    // A pass that failed: the run goes on, and ends with status 1. A file in a folder other
    // than the one the user started in is told with its folder.
    bool fallisce(Esito errore) {
        fallita_ = true;
        if (errore.oggetto.tipo == Oggetto::Tipo::file && errore.cartella.empty()) {
            errore.cartella = origine_.cartella;
        }
        avverti(console_, messaggio(errore));
        return true;
    }

    // Asks until an accepted letter is typed; nullopt when the run must end.
    std::optional<Formato> chiedi_formato() {
        std::string risposta;
        while (chiedi(DOMANDA_FORMATO, risposta, NOTA_FORMATO)) {
            if (const auto formato = formato_da_lettera(risposta.empty() ? '\0' : risposta[0])) {
                return formato;
            }
            dici(VALORE_NON_CORRETTO);
        }
        return std::nullopt;
    }

    // Asks until a name of at most NOME_MASSIMO characters is typed; false when the run must
    // end.
    bool chiedi_nome(std::string& nome) {
        while (chiedi(DOMANDA_NOME, nome)) {
            if (caratteri(in_utf8(nome)) <= NOME_MASSIMO) {
                return true;
            }
            dici("Hai inserito un nome troppo lungo! (massimo " + std::to_string(NOME_MASSIMO) +
                 " caratteri)\n");
        }
        return false;
    }

    // Asks, with a note for a person at a terminal, and reads the typed line; false when the
    // input has ended or the console failed.
    bool chiedi(std::string_view domanda, std::string& risposta, std::string_view nota = {}) {
        dici(domanda);
        if (console_.in_terminale && !nota.empty()) {
            avverti(console_, nota);
        }
        if (uscita_guasta_) {
            return false;
        }
        auto riga = risposte_.leggi();
        if (!riga) {
            return !fallisce(riga.errore());
        }
        if (!*riga) {
            return false;
        }
        risposta = std::move(**riga);
        // A file of answers saved with a BOM: it is no part of the first answer.
        if (std::exchange(prima_risposta_, false) && risposta.starts_with(BOM_UTF8)) {
            risposta.erase(0, BOM_UTF8.size());
        }
        return true;
    }

    // Writes to the console's output; a failure is told once, on its error stream.
    void dici(std::string_view testo) {
        if (uscita_guasta_) {
            return;
        }
        if (Esito esito = scrivi_messaggio(console_, console_.out, testo); !esito.ok()) {
            uscita_guasta_ = true;
            fallisce(esito);
        }
    }

    Console& console_;
    const Origine& origine_;
    Risposte risposte_;
    bool fallita_ = false;
    bool prima_risposta_ = true;
    bool uscita_guasta_ = false;
};

}  // namespace

int dialogo(Console& console, const Origine& origine) {
    Dialogo dialogo(console, origine);
    while (dialogo.passata() && dialogo.ancora()) {
    }
    return dialogo.fallita() ? 1 : 0;
}

int congedo(Console& console, int stato) {
    if (stato == 0 || !console.finestra_propria) {
        return stato;
    }
    static_cast<void>(
        scrivi_messaggio(console, console.out, "Premi Invio per chiudere la finestra.\n"));
    // Whatever is typed up to Enter, or the end of the input; a line of any length.
    static_cast<void>(Risposte(console.in).leggi());
    return stato;
}

}  // namespace turnolista
