#include "esecuzione.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace prova {

namespace fs = std::filesystem;

namespace {

void scrivi_file(const fs::path& percorso, const std::string& testo) {
    std::ofstream out(percorso, std::ios::binary);
    out << testo;
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + percorso.string());
    }
}

std::string leggi_file(const fs::path& percorso) {
    std::ifstream in(percorso, std::ios::binary);
    std::ostringstream testo;
    testo << in.rdbuf();
    return testo.str();
}

[[noreturn]] void avvia_figlio(const Avvio& avvio, const fs::path& lavoro, const fs::path& io) {
    const int in = avvio.senza_input ? -1 : ::open((io / "in").c_str(), O_RDONLY);
    const int out = ::open((io / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = ::open((io / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0 || ::chdir(lavoro.c_str()) != 0) {
        ::_exit(125);
    }
    if (avvio.senza_input) {
        ::close(0);
    } else {
        ::dup2(in, 0);
    }
    ::dup2(out, 1);
    ::dup2(err, 2);
    ::umask(022);
    // A program that hangs is ended, and the test fails on its status.
    ::alarm(20);
    std::vector<std::string> argomenti{TURNOLISTA};
    argomenti.insert(argomenti.end(), avvio.argomenti.begin(), avvio.argomenti.end());
    std::vector<char*> argv;
    for (auto& a : argomenti) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    std::vector<std::string> ambiente = avvio.ambiente;
    std::vector<char*> envp;
    for (auto& e : ambiente) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);
    ::execve(TURNOLISTA, argv.data(), envp.data());
    ::_exit(126);
}

}  // namespace

Esecuzione esegui(const Avvio& avvio) {
    std::string modello = (fs::temp_directory_path() / "turnolista-e2e-XXXXXX").string();
    if (::mkdtemp(modello.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    const fs::path radice = modello;
    const fs::path lavoro = radice / "lavoro";
    const fs::path io = radice / "io";
    fs::create_directories(lavoro);
    fs::create_directories(io);
    for (const auto& [nome, testo] : avvio.file) {
        scrivi_file(lavoro / nome, testo);
    }
    for (const auto& cartella : avvio.cartelle) {
        fs::create_directories(lavoro / cartella);
    }
    for (const auto& [nome, modo] : avvio.permessi) {
        fs::permissions(lavoro / nome, static_cast<fs::perms>(modo));
    }
    for (const auto& nome : avvio.fifo) {
        ::mkfifo((lavoro / nome).c_str(), 0644);
    }
    scrivi_file(io / "in", avvio.input);

    const pid_t figlio = ::fork();
    if (figlio == 0) {
        avvia_figlio(avvio, lavoro, io);
    }
    if (avvio.durante) {
        avvio.durante(figlio, lavoro);
    }
    int stato = 0;
    ::waitpid(figlio, &stato, 0);

    Esecuzione esito;
    esito.stato = WIFEXITED(stato) ? WEXITSTATUS(stato) : 128 + WTERMSIG(stato);
    esito.out = leggi_file(io / "out");
    esito.err = leggi_file(io / "err");
    for (const auto& voce : fs::directory_iterator(lavoro)) {
        const std::string nome = voce.path().filename().string();
        if (voce.is_fifo()) {
            esito.file[nome + "|"] = "";
        } else if (voce.is_directory()) {
            esito.file[nome + "/"] = "";
        } else {
            esito.file[nome] = leggi_file(voce.path());
            struct stat info {};
            ::stat(voce.path().c_str(), &info);
            esito.permessi[nome] = info.st_mode & 07777;
        }
    }
    fs::remove_all(radice);
    return esito;
}

}  // namespace prova
