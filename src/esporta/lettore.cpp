#include "esporta/lettore.hpp"

#include <algorithm>
#include <array>
#include <map>
#include <span>

#include "comune/codifica.hpp"
#include "ricerca/ricerca.hpp"

namespace turnolista {

namespace {

constexpr auto FINE = std::string_view::npos;
// Columns whose cells are counted: more only lengthen a line, they name no field.
constexpr std::size_t COLONNE_CONTATE = 32;
// A fixture line is far shorter: past this, a line's words are not read, so that a list of
// one endless line takes no more memory than its text.
constexpr std::size_t RIGA_LUNGA = 4096;

bool lettera(char c) {
    return (minuscola_ascii(c) >= 'a' && minuscola_ascii(c) <= 'z') ||
           static_cast<unsigned char>(c) >= 0x80;
}

// Emoji, their joiners and selectors, and the direction marks a phone puts in a chat.
bool figura(char32_t c) {
    return c >= 0x1F000 || (c >= 0x2600 && c <= 0x27BF) || (c >= 0x2B00 && c <= 0x2BFF) ||
           c == 0xFE0F || c == 0x200D || c == 0x200E || c == 0x200F || c == 0x2022 || c == 0x25BA ||
           c == 0x25AA;
}

// The text without the signs and dashes that stand between fields.
std::string_view senza_segni(std::string_view testo) {
    for (bool tolto = true; tolto;) {
        tolto = false;
        for (const std::string_view segno :
             {" ", "\t", ",", ";", ":", "-", "|", "\u2013", "\u2014"}) {
            while (testo.starts_with(segno) || testo.ends_with(segno)) {
                testo.remove_prefix(testo.starts_with(segno) ? segno.size() : 0);
                testo.remove_suffix(testo.ends_with(segno) ? segno.size() : 0);
                tolto = true;
            }
        }
    }
    return testo;
}

// What a chat puts before a message: "[12/09/26, 21:15] Mario: " or "12/09/26, 21:15 - Mario: ".
std::size_t mittente(std::string_view riga) {
    const std::size_t chiusa = riga.starts_with('[') ? riga.find("] ") : FINE;
    const std::size_t trattino = !riga.empty() && cifra(riga.front()) ? riga.find(" - ") : FINE;
    const std::size_t dopo = std::min(chiusa, trattino);
    if (dopo == FINE || dopo > 24 || riga.substr(0, dopo).find(':') == FINE) {
        return 0;
    }
    const std::size_t due_punti = riga.find(": ", dopo);
    return due_punti == FINE || due_punti > dopo + 40 ? 0 : due_punti + 2;
}

// The line without what is no content: a chat's sender, an e-mail's quote marks, a bullet,
// emoji and emphasis marks.
std::string pulita(std::string_view riga) {
    if (riga.starts_with("\u200E")) {
        riga.remove_prefix(3);
    }
    riga.remove_prefix(mittente(riga));
    while (!riga.empty() && (riga.front() == '>' || riga.front() == ' ')) {
        riga.remove_prefix(1);
    }
    if (riga.starts_with("- ") || riga.starts_with("* ")) {
        riga.remove_prefix(2);
    }
    std::string testo;
    testo.reserve(riga.size());
    for (std::size_t i = 0; i < riga.size();) {
        std::size_t n = 0;
        const char32_t c = carattere(riga.substr(i), n);
        n = std::max<std::size_t>(n, 1);
        if (c == '\t') {
            testo += "  ";
        } else if (c == 0xA0) {
            testo += ' ';
        } else if (!figura(c) && c != '*' && c != '_' && c != '~') {
            testo.append(riga.substr(i, n));
        }
        i += n;
    }
    return std::string(senza_spazi(testo));
}

// Where two teams meet in `testo`: the separator's start and length.
std::optional<std::pair<std::size_t, std::size_t>> incontro(std::string_view testo) {
    for (const std::string_view segno :
         {" vs. ", " vs ", " VS ", " - ", " \u2013 ", " \u2014 ", "\u2013", "\u2014"}) {
        const std::size_t dove = testo.find(segno);
        if (dove != FINE && !senza_segni(testo.substr(0, dove)).empty() &&
            !senza_segni(testo.substr(dove + segno.size())).empty()) {
            return std::pair(dove, segno.size());
        }
    }
    // "Lupi-Orsi": a dash between a name's end and a letter.
    for (std::size_t i = 1; i + 1 < testo.size(); ++i) {
        if (testo[i] == '-' && !cifra(testo[i - 1]) && testo[i - 1] != ' ' &&
            lettera(testo[i + 1])) {
            return std::pair(i, std::size_t{1});
        }
    }
    return std::nullopt;
}

// A result, "3-1" or "0 - 0", is no team and no date.
bool risultato(std::string_view testo) {
    const std::size_t trattino = testo.find('-');
    const auto numero = [](std::string_view t) {
        t = senza_spazi(t);
        return !t.empty() && t.size() <= 3 && std::all_of(t.begin(), t.end(), cifra);
    };
    return trattino != FINE && numero(testo.substr(0, trattino)) &&
           numero(testo.substr(trattino + 1));
}

bool e_data(std::string_view t) {
    return leggi_data(t) && !risultato(t);
}
bool e_ora(std::string_view t) {
    return leggi_ora(t).has_value();
}

// What is written as a date or a time, read or not: a digit on each side of a '/' or a ':'.
template <char SEGNO>
bool scritta_come(std::string_view parola) {
    const std::size_t dove = parola.find(SEGNO);
    return dove != FINE && dove > 0 && dove + 1 < parola.size() && cifra(parola[dove - 1]) &&
           cifra(parola[dove + 1]);
}

bool numero_di_gara(std::string_view cella) {
    return !cella.empty() && cella.size() <= 4 && std::all_of(cella.begin(), cella.end(), cifra);
}

// A mark of a match that is not played on its date, in any case.
std::string rinvio_di(std::string_view riga, bool datata) {
    for (const std::string_view segno :
         {"rinviat", "sospes", "annullat", "posticipat", "da recuperare", "non disputat",
          "da definire", "da stabilire", "da fissare", "data da"}) {
        const std::size_t dove = trova_ascii(riga, segno);
        // Under a firm date, a time still to be set is the whole day.
        const bool ora = segno.starts_with("da ") && datata &&
                         trova_ascii(riga.substr(0, dove), "data ") == FINE;
        if (dove != FINE && !ora) {
            const std::size_t fine =
                std::min(riga.find_first_of(" \t;,\")", dove + segno.size()), riga.size());
            return std::string(riga.substr(dove, fine - dove));
        }
    }
    return {};
}

// Words that only say what follows: a leg, a time.
bool di_passaggio(std::string_view parola) {
    const std::string p = minuscolo_ascii(parola);
    return p == "and." || p == "rit." || p == "andata" || p == "ritorno" || p == "ore" ||
           p == "alle" || p == "h" || p == "h." || p == "|" || p == "/";
}

bool di_giornata(std::string_view parola) {
    const std::string p = minuscolo_ascii(senza_segni(parola));
    return p == "giornata" || p == "turno" || p == "round" || p == "settimana" ||
           p.ends_with("\xC2\xAA") || p.ends_with("\xC2\xB0");
}

struct Parola {
    std::size_t da, a;
    bool distante;  // after a run of spaces
    bool usata = false;
};

std::vector<Parola> parole_di(std::string_view testo) {
    std::vector<Parola> parole;
    for (std::size_t i = testo.find_first_not_of(' '); i != FINE;
         i = testo.find_first_not_of(' ', i)) {
        const std::size_t fine = std::min(testo.find(' ', i), testo.size());
        parole.push_back({i, fine, i >= 2 && testo.substr(i - 2, 2) == "  "});
        i = fine;
    }
    return parole;
}

// The first field of `parole`, of up to `quante` words, that `leggi` reads, from word `da`.
template <typename Leggi>
std::string prendi(std::string_view testo, std::vector<Parola>& parole, std::size_t da,
                   std::size_t quante, Leggi leggi) {
    for (std::size_t i = da; i < parole.size(); ++i) {
        for (std::size_t k = std::min(quante, parole.size() - i); k > 0; --k) {
            const auto prese = std::span(parole).subspan(i, k);
            if (std::any_of(prese.begin(), prese.end(), [](const Parola& p) { return p.usata; })) {
                continue;
            }
            const std::string_view campo =
                senza_segni(testo.substr(parole[i].da, parole[i + k - 1].a - parole[i].da));
            if (leggi(campo)) {
                for (Parola& p : prese) {
                    p.usata = true;
                }
                return std::string(campo);
            }
        }
    }
    return {};
}

const std::map<std::string_view, int>& nomi_di_colonna() {
    // What a header's words may name, beyond what the cells show.
    static const std::map<std::string_view, int> NOMI{
        {"campo", 0},     {"luogo", 0},     {"impianto", 0}, {"palestra", 0}, {"sede", 0},
        {"stadio", 0},    {"struttura", 0}, {"location", 0}, {"venue", 0},    {"casa", 1},
        {"locali", 1},    {"ospitante", 1}, {"home", 1},     {"ospite", 2},   {"ospiti", 2},
        {"trasferta", 2}, {"ospitata", 2},  {"away", 2},     {"partita", 3},  {"incontro", 3},
        {"gara", 4},      {"n", 4},         {"num", 4},      {"numero", 4},   {"nr", 4}};
    return NOMI;
}

// What a header's cell names by the words it holds: 0 venue, 1 home, 2 away, 3 match,
// 4 number; "Squadra 1" and "Squadra 2" are the home and away teams.
std::optional<int> nome_di_colonna(std::string_view cella) {
    std::string parole = minuscolo_ascii(cella);
    std::replace_if(
        parole.begin(), parole.end(), [](char c) { return !lettera(c) && !cifra(c); }, ' ');
    std::optional<int> nome;
    for (const Parola& p : parole_di(parole)) {
        const std::string_view parola = std::string_view(parole).substr(p.da, p.a - p.da);
        if (const auto trovato = nomi_di_colonna().find(parola);
            trovato != nomi_di_colonna().end()) {
            nome = nome ? std::min(*nome, trovato->second) : trovato->second;
        }
        if (parola == "1" || parola == "2") {
            nome = parola == "1" ? 1 : 2;
        }
    }
    return nome;
}

std::vector<std::string> celle_pulite(std::string_view riga, Separatore separatore,
                                      bool allineata) {
    Celle celle;
    if (allineata) {
        std::string_view resto = senza_spazi(riga);
        while (!resto.empty()) {
            const std::size_t fine = std::min(resto.find("  "), resto.size());
            celle.testo.push_back(resto.substr(0, fine));
            resto = senza_spazi(resto.substr(fine));
        }
    } else {
        taglia_in_celle(riga, separatore, celle, false);
    }
    std::vector<std::string> pulite;
    for (std::size_t j = 0; j < celle.testo.size() && j < COLONNE_CONTATE * 2; ++j) {
        std::string cella(celle.testo[j]);
        std::replace(cella.begin(), cella.end(), '\n', ' ');
        pulite.push_back(pulita(cella));
    }
    return pulite;
}

}  // namespace

Lettore::Lettore(std::string_view testo) {
    // How its lines separate their cells, by most of them: a title line decides nothing.
    std::size_t righe = 0;
    std::array<std::size_t, 4> con{};  // tab, ";", ",", runs of spaces
    per_riga(testo, [&](std::string_view riga) {
        if (senza_spazi(riga).empty()) {
            return;
        }
        ++righe;
        con[0] += riga.find('\t') != FINE ? 1 : 0;
        con[1] += std::count(riga.begin(), riga.end(), ';') >= 2 ? 1 : 0;
        con[2] += std::count(riga.begin(), riga.end(), ',') >= 3 ? 1 : 0;
        // Three cells or more apart by runs of spaces.
        const std::string_view r = senza_spazi(riga);
        const std::size_t prima = r.find("  ");
        con[3] += prima != FINE && r.find("  ", r.find_first_not_of(' ', prima)) != FINE ? 1 : 0;
    });
    constexpr std::array SEPARATORI{Separatore::tab, Separatore::punto_e_virgola,
                                    Separatore::virgola};
    for (std::size_t k = 0; k < SEPARATORI.size(); ++k) {
        if (separatore_ == Separatore::spazio && 2 * con[k] > righe) {
            separatore_ = SEPARATORI[k];
        }
    }
    allineata_ = separatore_ == Separatore::spazio && 2 * con[3] > righe;
    const bool a_celle = separatore_ != Separatore::spazio || allineata_;
    const char virgolette =
        separatore_ == Separatore::spazio ? '\0' : static_cast<char>(separatore_);

    // What each column holds, and the header above the first date.
    struct Conto {
        std::size_t date = 0, ore = 0, numeri = 0, partite = 0, testi = 0;
        std::set<std::string, std::less<>> valori;
    };
    std::vector<Conto> colonne;
    std::vector<std::string> intestazione;
    bool datata = false;
    per_riga(
        testo,
        [&](std::string_view riga) {
            if (!a_celle) {
                Letta letta;
                leggi_libero(pulita(riga.substr(0, RIGA_LUNGA)), letta);
                if (letta.tipo == Letta::Tipo::partita && squadre_.size() < 4096) {
                    squadre_.insert(letta.ospite);
                }
                return;
            }
            const auto celle = celle_pulite(riga, separatore_, allineata_);
            const bool con_data = std::any_of(celle.begin(), celle.end(),
                                              [](const std::string& c) { return leggi_data(c); });
            if (!datata && !con_data && celle.size() >= 2) {
                intestazione = celle;
            }
            datata = datata || con_data;
            if (!con_data) {
                return;
            }
            colonne.resize(std::min(COLONNE_CONTATE, std::max(colonne.size(), celle.size())));
            for (std::size_t j = 0; j < colonne.size() && j < celle.size(); ++j) {
                Conto& c = colonne[j];
                const std::string& cella = celle[j];
                c.date += leggi_data(cella) ? 1 : 0;
                c.ore += leggi_ora(cella) ? 1 : 0;
                c.numeri += numero_di_gara(cella) ? 1 : 0;
                c.partite += incontro(cella) && !risultato(cella) ? 1 : 0;
                c.testi += std::any_of(cella.begin(), cella.end(), lettera) ? 1 : 0;
                if (c.valori.size() < 256 && !cella.empty()) {
                    c.valori.insert(cella);
                }
            }
        },
        virgolette);
    if (!a_celle) {
        return;
    }
    std::vector<bool> usata(colonne.size(), false);
    const auto prendi_colonna = [&](std::size_t Conto::*quanti, std::size_t almeno) {
        std::optional<std::size_t> migliore;
        for (std::size_t j = 0; j < colonne.size(); ++j) {
            if (!usata[j] && colonne[j].*quanti >= almeno &&
                (!migliore || colonne[j].*quanti > colonne[*migliore].*quanti)) {
                migliore = j;
            }
        }
        if (migliore) {
            usata[*migliore] = true;
        }
        return migliore;
    };
    col_data_ = prendi_colonna(&Conto::date, 1);
    col_ora_ = prendi_colonna(&Conto::ore, 1);
    // The header names what the cells leave open.
    for (std::size_t j = 0; j < intestazione.size() && j < colonne.size(); ++j) {
        const auto nome = usata[j] ? std::nullopt : nome_di_colonna(intestazione[j]);
        auto& colonna = !nome        ? col_n_
                        : *nome == 0 ? col_luogo_
                        : *nome == 1 ? col_casa_
                        : *nome == 2 ? col_ospite_
                        : *nome == 3 ? col_partita_
                                     : col_n_;
        if (nome && !colonna) {
            colonna = j;
            usata[j] = true;
        }
    }
    if (!col_casa_ && !col_partita_) {
        col_partita_ = prendi_colonna(&Conto::partite, 1);
    }
    // Two columns of names that meet each other are the home and away teams.
    std::size_t migliore = 0;
    for (std::size_t i = 0; i < colonne.size() && !col_casa_ && !col_partita_; ++i) {
        for (std::size_t j = i + 1; j < colonne.size(); ++j) {
            if (usata[i] || usata[j] || colonne[i].testi == 0 || colonne[j].testi == 0) {
                continue;
            }
            const auto comuni = static_cast<std::size_t>(
                std::count_if(colonne[i].valori.begin(), colonne[i].valori.end(),
                              [&](const std::string& v) { return colonne[j].valori.contains(v); }));
            if (comuni > migliore) {
                migliore = comuni;
                col_casa_ = i;
                col_ospite_ = j;
            }
        }
    }
    if (col_casa_ && col_ospite_) {
        usata[*col_casa_] = usata[*col_ospite_] = true;
    }
    if (!col_n_) {
        col_n_ = prendi_colonna(&Conto::numeri, 1);
    }
    if (!col_luogo_) {
        col_luogo_ = prendi_colonna(&Conto::testi, 1);
    }
    intestazione_ = intestazione.size();
    for (const auto colonna : {col_casa_, col_ospite_, col_partita_}) {
        for (const std::string& valore :
             colonna ? colonne[*colonna].valori : std::set<std::string, std::less<>>()) {
            const auto dove = colonna == col_partita_ ? incontro(valore) : std::nullopt;
            squadre_.insert(
                std::string(dove ? senza_segni(valore.substr(0, dove->first)) : valore));
            if (dove) {
                squadre_.insert(
                    std::string(senza_segni(valore.substr(dove->first + dove->second))));
            }
        }
    }
}

Letta Lettore::leggi(std::string_view riga) const {
    Letta letta;
    if (separatore_ != Separatore::spazio || allineata_) {
        auto celle = celle_pulite(riga, separatore_, allineata_);
        if (col_data_ && celle.size() > *col_data_ && celle.size() >= 3) {
            leggi_celle(celle, letta);
        } else {
            std::string testo;
            for (const std::string& cella : celle) {
                testo.append(testo.empty() ? "" : "  ").append(cella);
            }
            leggi_libero(std::string_view(testo).substr(0, RIGA_LUNGA), letta);
        }
    } else {
        leggi_libero(pulita(riga.substr(0, RIGA_LUNGA)), letta);
    }
    letta.rinvio = letta.tipo == Letta::Tipo::partita ? rinvio_di(riga, letta.giorno.has_value())
                                                      : std::string();
    return letta;
}

void Lettore::leggi_celle(std::vector<std::string>& celle, Letta& letta) const {
    const auto cella = [&](std::optional<std::size_t> j) {
        return j && *j < celle.size() ? celle[*j] : std::string();
    };
    letta.data = cella(col_data_);
    letta.giorno = leggi_data(letta.data);
    letta.ora = cella(col_ora_);
    if (!letta.giorno) {
        // A date and its time in one cell: "Sab 13/09/2026 15:30".
        const std::string cella_data = letta.data;
        std::vector<Parola> parole = parole_di(cella_data);
        const std::string data = prendi(cella_data, parole, 0, 4, e_data);
        if (!data.empty()) {
            letta.data = data;
            letta.giorno = leggi_data(data);
            letta.ora = letta.ora.empty() ? prendi(cella_data, parole, 0, 2, e_ora) : letta.ora;
        }
    }
    letta.n = cella(col_n_);
    letta.luogo = cella(col_luogo_);
    if (col_partita_) {
        letta.partita = cella(col_partita_);
        if (const auto dove = incontro(letta.partita)) {
            letta.casa = senza_segni(letta.partita.substr(0, dove->first));
            letta.ospite = senza_segni(letta.partita.substr(dove->first + dove->second));
        }
    } else {
        letta.casa = cella(col_casa_);
        letta.ospite = cella(col_ospite_);
        letta.partita =
            letta.casa + (letta.casa.empty() || letta.ospite.empty() ? "" : " - ") + letta.ospite;
    }
    // The further columns the header names, empty ones too, and any other cell.
    celle.resize(std::max(celle.size(), intestazione_.value_or(0)));
    for (std::size_t j = 0; j < celle.size(); ++j) {
        if (j != col_n_ && j != col_data_ && j != col_ora_ && j != col_luogo_ &&
            j != col_partita_ && j != col_casa_ && j != col_ospite_ &&
            (j < intestazione_.value_or(0) || !celle[j].empty())) {
            letta.altre.push_back(std::move(celle[j]));
        }
    }
    const bool riposo = trova_ascii(letta.partita, "ripos") != FINE;
    letta.tipo = !letta.casa.empty() && !letta.ospite.empty() && !riposo ? Letta::Tipo::partita
                 : riposo                                                ? Letta::Tipo::riposo
                 : letta.giorno                                          ? Letta::Tipo::intestazione
                                                                         : Letta::Tipo::altro;
}

void Lettore::leggi_libero(std::string_view testo, Letta& letta) const {
    std::vector<Parola> parole = parole_di(testo);
    letta.data = prendi(testo, parole, 0, 4, e_data);
    letta.giorno = leggi_data(letta.data);
    letta.ora = prendi(testo, parole, 0, 2, e_ora);
    std::string seconda = prendi(testo, parole, 0, 4, e_data);
    if (!seconda.empty()) {
        letta.ritorno = std::pair(seconda, prendi(testo, parole, 0, 2, e_ora));
    }
    // A date or a time not understood is told as written, not taken for a venue.
    if (letta.data.empty()) {
        letta.data = prendi(testo, parole, 0, 1, scritta_come<'/'>);
    }
    if (letta.ora.empty()) {
        letta.ora = prendi(testo, parole, 0, 1, scritta_come<':'>);
    }
    std::string risultati = prendi(testo, parole, 0, 3, risultato);
    if (!risultati.empty()) {
        letta.altre.push_back(std::move(risultati));
    }
    if (!parole.empty() && !parole[0].usata &&
        numero_di_gara(testo.substr(parole[0].da, parole[0].a - parole[0].da))) {
        letta.n = testo.substr(parole[0].da, parole[0].a - parole[0].da);
        parole[0].usata = true;
    }
    // What is left, in pieces between the fields and runs of spaces.
    std::vector<std::string_view> pezzi;
    for (std::size_t i = 0; i < parole.size(); ++i) {
        const std::string_view parola = testo.substr(parole[i].da, parole[i].a - parole[i].da);
        if (parole[i].usata || di_passaggio(parola)) {
            continue;
        }
        const bool segue =
            i > 0 && !parole[i - 1].usata && !parole[i].distante &&
            !di_passaggio(testo.substr(parole[i - 1].da, parole[i - 1].a - parole[i - 1].da));
        if (segue && !pezzi.empty()) {
            pezzi.back() = testo.substr(
                pezzi.back().data() - testo.data(),
                parole[i].a - static_cast<std::size_t>(pezzi.back().data() - testo.data()));
        } else {
            pezzi.push_back(parola);
        }
    }
    std::optional<std::size_t> squadre;
    std::pair<std::size_t, std::size_t> segno{};
    for (std::size_t k = 0; k < pezzi.size() && !squadre; ++k) {
        if (const auto dove = incontro(pezzi[k])) {
            squadre = k;
            segno = *dove;
        }
    }
    const bool spaziate = !squadre && pezzi.size() >= 2;
    if (spaziate) {
        // Two names apart by a run of spaces.
        squadre = pezzi.size() - 2;
        pezzi[*squadre] =
            testo.substr(pezzi[*squadre].data() - testo.data(),
                         pezzi.back().data() + pezzi.back().size() - pezzi[*squadre].data());
        segno = {pezzi[*squadre].size() - pezzi.back().size() - 2, 2};
        pezzi.pop_back();
    }
    const bool riposo = trova_ascii(testo, "ripos") != FINE;
    const bool giornata =
        std::any_of(parole.begin(), parole.begin() + std::min<std::ptrdiff_t>(2, parole.size()),
                    [&](const Parola& p) { return di_giornata(testo.substr(p.da, p.a - p.da)); });
    if (riposo || giornata || !squadre) {
        letta.tipo = riposo                     ? Letta::Tipo::riposo
                     : giornata || letta.giorno ? Letta::Tipo::intestazione
                                                : Letta::Tipo::altro;
        return;
    }
    letta.tipo = Letta::Tipo::partita;
    const std::string_view pezzo = pezzi[*squadre];
    std::string_view casa = senza_segni(pezzo.substr(0, segno.first));
    std::string_view ospite = senza_segni(pezzo.substr(segno.first + segno.second));
    std::string luogo;
    // "Campo Aquile: Aquile - Lupi", "Campo Aquile – Aquile vs Lupi"; else the words before
    // the home team the list knows, or one word, as a list of spaces has it.
    std::size_t campo = FINE;
    for (const std::string_view segno : {": ", " - ", " \u2013 ", " \u2014 ", " | "}) {
        const std::size_t dove = casa.rfind(segno);
        campo = dove != FINE && (campo == FINE || dove > campo) ? dove : campo;
    }
    if (campo != FINE) {
        luogo = senza_segni(casa.substr(0, campo));
        casa = senza_segni(casa.substr(campo + 1));
    } else if (casa.find(' ') != FINE && !spaziate && pezzo.data() != testo.data()) {
        std::size_t taglio = casa.find(' ');
        for (std::size_t s = casa.find(' '); s != FINE; s = casa.find(' ', s + 1)) {
            if (squadre_.contains(casa.substr(s + 1))) {
                taglio = s;
                break;
            }
        }
        const bool nota = squadre_.contains(casa);
        luogo = nota ? "" : casa.substr(0, taglio);
        casa = nota ? casa : casa.substr(taglio + 1);
    }
    if (const std::size_t aperta = ospite.find(" ("); aperta != FINE) {
        const std::string_view tra = ospite.substr(aperta + 2);
        luogo += (luogo.empty() ? "" : " ") + std::string(tra.substr(0, tra.find(')')));
        ospite = senza_segni(ospite.substr(0, aperta));
    }
    for (std::size_t k = 0; k < pezzi.size(); ++k) {
        if (k != *squadre && rinvio_di(pezzi[k], true).empty()) {
            luogo += (luogo.empty() ? "" : " ") + std::string(senza_segni(pezzi[k]));
        }
    }
    letta.casa = casa;
    letta.ospite = ospite;
    letta.partita = std::string(casa.data(), ospite.data() + ospite.size());
    letta.luogo = senza_segni(luogo);
}

void Giornata::segui(Letta& letta) {
    if (letta.tipo == Letta::Tipo::intestazione) {
        *this = {true, letta.data, letta.giorno};
    } else if (letta.tipo == Letta::Tipo::partita && letta.data.empty() && vista) {
        letta.data = data;
        letta.giorno = giorno;
    }
}

bool Lettore::della_squadra(const Letta& letta, std::string_view nome) const {
    const auto uguale = [&](std::string_view squadra) {
        return come_digitato(squadra, nome) == squadra.size();
    };
    const bool nella_lista = std::any_of(squadre_.begin(), squadre_.end(), uguale) ||
                             uguale(letta.casa) || uguale(letta.ospite);
    return nella_lista ? uguale(letta.casa) || uguale(letta.ospite)
                       : contiene(letta.casa, nome) || contiene(letta.ospite, nome);
}

}  // namespace turnolista
