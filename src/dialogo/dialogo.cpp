#include "dialogo/dialogo.hpp"

#include <ostream>
#include <string>
#include <string_view>
#include <utility>

#include "comune/codifica.hpp"
#include "comune/costanti.hpp"
#include "comune/lettore.hpp"
#include "comune/scrittura.hpp"
#include "dialogo/messaggi.hpp"
#include "dialogo/passata.hpp"
#include "dialogo/testo.hpp"

namespace turnolista {

namespace {

// The messages are written here in UTF-8. "Ecxel", "Voui" and the English line of the
// summary are the program's own words, kept as its users know them.
constexpr std::string_view DOMANDA_FORMATO =
    "In quale formato vuoi che venga salvato il calendario?(scrivi t per file di testo,w per "
    "Word,x per Ecxel,h per pagina web e poi premi invio)\n";
constexpr std::string_view VALORE_NON_CORRETTO = "Hai inserito un valore non corretto!\n";
constexpr std::string_view DOMANDA_NOME = "Inserisci il nome della tua squadra e poi premi invio\n";
constexpr std::string_view DOMANDA_ANCORA =
    "\nVoui ricominciare?(y/n)\nNB:Scegliendo lo stesso formato dell'esecuzione precedente, si "
    "sovrascrive il vecchio file\n";

std::string nome_troppo_lungo() {
    return "Hai inserito un nome troppo lungo! (massimo " + std::to_string(NOME_MASSIMO) +
           " caratteri)\n";
}

std::string riepilogo(int RIGHE) {
    return "\nL'espressione cercata è presente in " + std::to_string(RIGHE) +
           " righe\n- Turnolista successfully executed - Congratulations by Velmaro -\n";
}

// Where the file is, and for the calendar the season it assumed.
std::string messaggio_file(const VoceFormato& scelta, const RisultatoPassata& esito) {
    std::string testo(scelta.messaggio);
    if (scelta.ics) {
        testo += " (stagione " + std::to_string(esito.stagione) + "/" +
                 std::to_string(esito.stagione + 1) + ")";
    }
    return testo + "\n";
}

// Matching lines that are no event of the calendar, for want of a date.
std::string senza_data(const RisultatoPassata& esito) {
    const bool una = esito.senza_data == 1;
    return "Attenzione: " + std::to_string(esito.senza_data) +
           (una ? " riga trovata non ha" : " righe trovate non hanno") +
           " una data valida nella colonna DATA (giorno/mese, come 13/09) e " +
           (una ? "non è nel calendario: è" : "non sono nel calendario; la prima è") + " la riga " +
           std::to_string(esito.prima_senza_data) + " del file " + std::string(FILE_ORIGINALE) +
           "\n";
}

// A name found only in other capital letters or accents: how the list writes it, and where.
std::string altra_grafia(std::string_view nome, const RisultatoPassata& esito) {
    const Conteggio& conteggio = esito.conteggio;
    const std::string digitato = in_utf8(caratteri_digitati(nome));
    const std::string scritto = in_utf8(conteggio.come_scritto, esito.codifica);
    return "Nessuna riga contiene «" + citazione(digitato, true) + "» scritto così, ma «" +
           citazione(scritto, true) + "» si trova in " + std::to_string(conteggio.altra_grafia) +
           (conteggio.altra_grafia == 1 ? " riga" : " righe") +
           (conteggio.accenti ? ": gli accenti e le lettere maiuscole e minuscole devono essere"
                              : ": le lettere maiuscole e minuscole devono essere") +
           " come nel file " + std::string(FILE_ORIGINALE) + "\n";
}

class Dialogo {
  public:
    explicit Dialogo(Console& console)
        : console_(console),
          lettore_(console.in, Oggetto::standard_input(), RISPOSTA_MASSIMA,
                   LettoreRighe::Lunghe::tronca) {}

    int esegui() {
        while (passata() && ancora()) {
        }
        console_.out.flush();
        if (!uscita_rotta_ && uscita_guasta(console_)) {
            fallita_ = true;
        }
        return fallita_ ? 1 : 0;
    }

  private:
    // One pass, up to the summary; false when the run must end before the pass can run.
    bool passata() {
        const auto formato = chiedi_formato();
        if (!formato) {
            return false;
        }
        std::string_view nome;
        if (!chiedi_nome(nome)) {
            return false;
        }
        const RisultatoPassata esito = esegui_passata(*formato, nome);
        if (!esito.esito.ok()) {
            fallita_ = true;
            avverti(messaggio(esito.esito));
            return true;
        }
        dici(riepilogo(esito.conteggio.RIGHE));
        dici(messaggio_file(voce(*formato), esito));
        if (esito.senza_data > 0) {
            avverti(senza_data(esito));
        }
        if (esito.conteggio.altra_grafia > 0) {
            avverti(altra_grafia(nome, esito));
        }
        return true;
    }

    // Asks until an accepted letter is typed; nullopt when the run must end.
    std::optional<Formato> chiedi_formato() {
        std::string_view risposta;
        while (chiedi(DOMANDA_FORMATO, risposta)) {
            if (!risposta.empty()) {
                if (const auto formato = formato_da_lettera(risposta.front())) {
                    return formato;
                }
            }
            dici(VALORE_NON_CORRETTO);
        }
        return std::nullopt;
    }

    // Asks until a name of at most NOME_MASSIMO characters is typed; false when the run must
    // end.
    bool chiedi_nome(std::string_view& nome) {
        while (chiedi(DOMANDA_NOME, nome)) {
            if (caratteri_digitati(nome).size() <= NOME_MASSIMO) {
                return true;
            }
            dici(nome_troppo_lungo());
        }
        return false;
    }

    bool ancora() {
        std::string_view risposta;
        return chiedi(DOMANDA_ANCORA, risposta) && !risposta.empty() &&
               (risposta.front() == 'y' || risposta.front() == 'Y');
    }

    // Asks and reads the typed line; false when the input has ended or the console failed.
    bool chiedi(std::string_view domanda, std::string_view& risposta) {
        dici(domanda);
        console_.out.flush();
        if (uscita_guasta(console_)) {
            fallita_ = uscita_rotta_ = true;
            return false;
        }
        const auto riga = lettore_.leggi();
        if (!riga) {
            fallita_ = true;
            avverti(messaggio(riga.errore()));
            return false;
        }
        if (!*riga) {
            return false;
        }
        risposta = **riga;
        // A file of answers saved with a BOM: it is no part of the first answer.
        if (std::exchange(prima_risposta_, false) && risposta.starts_with(BOM_UTF8)) {
            risposta.remove_prefix(BOM_UTF8.size());
        }
        return true;
    }

    void dici(std::string_view testo) { scrivi_messaggio(console_, console_.out, testo); }

    // Problems go to standard error, after whatever the console has been told so far.
    void avverti(std::string_view testo) {
        console_.out.flush();
        scrivi_messaggio(console_, console_.err, testo);
        console_.err.flush();
    }

    Console& console_;
    LettoreRighe lettore_;
    bool fallita_ = false;
    bool prima_risposta_ = true;
    bool uscita_rotta_ = false;  // already reported
};

}  // namespace

int dialogo(Console& console) {
    return Dialogo(console).esegui();
}

int congedo(Console& console, int stato) {
    if (stato == 0 || !console.finestra_propria) {
        return stato;
    }
    scrivi_messaggio(console, console.out, "Premi Invio per chiudere la finestra.\n");
    console.out.flush();
    // Whatever is typed up to Enter, or the end of the input; a line of any length.
    LettoreRighe attesa(console.in, Oggetto::standard_input(), RISPOSTA_MASSIMA,
                        LettoreRighe::Lunghe::tronca);
    static_cast<void>(attesa.leggi());
    return stato;
}

}  // namespace turnolista
