#include "esporta/lettore.hpp"

#include <algorithm>
#include <array>

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

// What a header's words may name, beyond what the cells show.
enum class Nome { luogo, casa, ospite, partita, n };

// What a header's cell names by the words it holds; "Squadra 1" and "Squadra 2" are the
// home and away teams.
std::optional<Nome> nome_di_colonna(std::string_view cella) {
    constexpr std::array<std::pair<std::string_view, Nome>, 27> NOMI{{
        {"campo", Nome::luogo},
        {"luogo", Nome::luogo},
        {"impianto", Nome::luogo},
        {"palestra", Nome::luogo},
        {"sede", Nome::luogo},
        {"stadio", Nome::luogo},
        {"struttura", Nome::luogo},
        {"location", Nome::luogo},
        {"venue", Nome::luogo},
        {"casa", Nome::casa},
        {"locali", Nome::casa},
        {"ospitante", Nome::casa},
        {"home", Nome::casa},
        {"1", Nome::casa},
        {"ospite", Nome::ospite},
        {"ospiti", Nome::ospite},
        {"trasferta", Nome::ospite},
        {"ospitata", Nome::ospite},
        {"away", Nome::ospite},
        {"2", Nome::ospite},
        {"partita", Nome::partita},
        {"incontro", Nome::partita},
        {"gara", Nome::n},
        {"n", Nome::n},
        {"num", Nome::n},
        {"numero", Nome::n},
        {"nr", Nome::n},
    }};
    std::string parole = minuscolo_ascii(cella);
    std::replace_if(
        parole.begin(), parole.end(), [](char c) { return !lettera(c) && !cifra(c); }, ' ');
    std::optional<Nome> nome;
    for (std::string_view resto = parole; !resto.empty();) {
        const std::string_view parola = resto.substr(0, resto.find(' '));
        resto.remove_prefix(std::min(parola.size() + 1, resto.size()));
        for (const auto& [scritto, suo] : NOMI) {
            // A team's number says which team; the first other word wins where two do.
            nome = parola == scritto && (!nome || cifra(scritto[0]) || suo < *nome) ? suo : nome;
        }
    }
    return nome;
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
                leggi_libero(pulita(riga.substr(0, RIGA_LUNGA)), squadre_, letta);
                if (letta.tipo == Letta::Tipo::partita && squadre_.size() < 4096) {
                    squadre_.insert(letta.ospite);
                }
                return;
            }
            const auto celle = celle_di(riga, separatore_);
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
        auto& colonna = !nome                    ? col_n_
                        : *nome == Nome::luogo   ? col_luogo_
                        : *nome == Nome::casa    ? col_casa_
                        : *nome == Nome::ospite  ? col_ospite_
                        : *nome == Nome::partita ? col_partita_
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
        auto celle = celle_di(riga, separatore_);
        if (col_data_ && celle.size() > *col_data_ && celle.size() >= 3) {
            leggi_celle(celle, letta);
        } else {
            std::string testo;
            for (const std::string& cella : celle) {
                testo.append(testo.empty() ? "" : "  ").append(cella);
            }
            leggi_libero(std::string_view(testo).substr(0, RIGA_LUNGA), squadre_, letta);
        }
    } else {
        leggi_libero(pulita(riga.substr(0, RIGA_LUNGA)), squadre_, letta);
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
        Letta in_una;
        leggi_libero(letta.data, squadre_, in_una);
        if (in_una.giorno) {
            letta.data = in_una.data;
            letta.giorno = in_una.giorno;
            letta.ora = letta.ora.empty() ? in_una.ora : letta.ora;
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
