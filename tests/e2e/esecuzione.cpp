#include "esecuzione.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "esecuzione_sistema.hpp"

namespace prova {

namespace fs = std::filesystem;

namespace {

void scrivi_file(const fs::path& percorso, const std::string& testo) {
    fs::create_directories(percorso.parent_path());
    std::ofstream out(percorso, std::ios::binary);
    out << testo;
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + percorso.string());
    }
}

// A text as this system's text files hold it.
std::string come_file(const std::string& testo, bool grezzo) {
    if (grezzo || !sistema::testo_crlf()) {
        return testo;
    }
    std::string crlf;
    for (const char c : testo) {
        if (c == '\n') {
            crlf += '\r';
        }
        crlf += c;
    }
    return crlf;
}

// A text the program wrote, with LF for each CR LF; a lone LF is a fault of the program.
std::string come_testo(const std::string& scritto, const std::string& cosa, bool grezzo) {
    if (grezzo || !sistema::testo_crlf()) {
        return scritto;
    }
    std::string testo;
    for (const char c : scritto) {
        if (c == '\n') {
            if (testo.empty() || testo.back() != '\r') {
                ADD_FAILURE() << cosa << " has a line that ends in LF alone";
            } else {
                testo.pop_back();
            }
        }
        testo += c;
    }
    return testo;
}

void raccogli(const fs::path& lavoro, const Avvio& avvio, Esecuzione& esito) {
    for (auto voce = fs::recursive_directory_iterator(lavoro);
         voce != fs::recursive_directory_iterator(); ++voce) {
        const std::string nome = voce->path().lexically_relative(lavoro).generic_string();
        if (voce->is_symlink()) {
            esito.file[nome + "@"] = fs::read_symlink(voce->path()).string();
            voce.disable_recursion_pending();
            continue;
        }
        if (voce->is_fifo()) {
            esito.file[nome + "|"] = "";
            continue;
        }
        if (voce->is_directory()) {
            esito.file[nome + "/"] = "";
            continue;
        }
        esito.file[nome] =
            come_testo(leggi(voce->path()), nome, avvio.grezzo || avvio.file_grezzi.contains(nome));
        sistema::descrivi(voce->path(), nome, esito);
    }
}

}  // namespace

std::string leggi(const fs::path& percorso) {
    std::ifstream in(percorso, std::ios::binary);
    std::ostringstream testo;
    testo << in.rdbuf();
    return testo.str();
}

bool aspetta(int programma, const std::function<bool()>& condizione) {
    const auto fino_a = std::chrono::steady_clock::now() + LIMITE;
    while (!condizione()) {
        if (!sistema::in_corso(programma) || std::chrono::steady_clock::now() > fino_a) {
            return condizione();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

Esecuzione esegui(const Avvio& avvio) {
    const fs::path radice = sistema::cartella_nuova();
    const fs::path lavoro = radice / "lavoro";
    const fs::path io = radice / "io";
    fs::create_directories(lavoro);
    fs::create_directories(io);
    for (const auto& [nome, testo] : avvio.file) {
        scrivi_file(lavoro / nome, come_file(testo, avvio.grezzo));
    }
    for (const auto& [nome, testo] : avvio.file_grezzi) {
        scrivi_file(lavoro / nome, testo);
    }
    for (const auto& cartella : avvio.cartelle) {
        fs::create_directories(lavoro / cartella);
    }
    sistema::prepara(avvio, lavoro);
    if (avvio.prima) {
        avvio.prima(lavoro);
    }
    scrivi_file(io / "in", come_file(avvio.input, avvio.grezzo));

    const fs::path partenza = lavoro / avvio.parte_da;
    fs::create_directories(partenza);
    Esecuzione esito;
    esito.cartella = (avvio.parte_da.empty() ? lavoro : partenza).string();
    esito.stato = sistema::lancia(avvio, esito.cartella, io);
    esito.out = come_testo(leggi(io / "out"), "standard output", avvio.grezzo);
    esito.err = come_testo(leggi(io / "err"), "standard error", avvio.grezzo);
    raccogli(lavoro, avvio, esito);
    sistema::rimuovi(radice);
    return esito;
}

}  // namespace prova
