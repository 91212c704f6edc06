#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "esecuzione_sistema.hpp"

namespace prova {

namespace fs = std::filesystem;

unsigned long questo_processo() {
    return static_cast<unsigned long>(::getpid());
}

bool da_root() {
    return ::geteuid() == 0;
}

bool cartelle_raggiungibili() {
    for (fs::path cartella = fs::temp_directory_path(); !cartella.empty();
         cartella = cartella.parent_path()) {
        struct stat info {};
        if (::stat(cartella.c_str(), &info) != 0 || (info.st_mode & S_IXOTH) == 0) {
            return false;
        }
        if (cartella == cartella.root_path()) {
            return true;
        }
    }
    return true;
}

unsigned utente_senza_privilegi() {
    const passwd* voce = ::getpwnam("nobody");
    return voce != nullptr ? voce->pw_uid : 65534;
}

namespace sistema {

namespace {

void limita(int risorsa, std::uint64_t quanto) {
    if (quanto != 0) {
        const rlimit limite{quanto, quanto};
        ::setrlimit(risorsa, &limite);
    }
}

// What the child runs: the program, or for a run without privileges its copy in the run's
// own folder, which that user can reach even when the build lies in a private folder.
std::string programma(const Avvio& avvio, const fs::path& io) {
    return avvio.senza_privilegi && da_root() ? (io / "turnolista").string() : eseguibile(avvio);
}

[[noreturn]] void avvia_figlio(const Avvio& avvio, int in, const fs::path& lavoro,
                               const fs::path& io) {
    // Chosen while the harness is still root, before the child gives that up.
    const std::string eseguibile = programma(avvio, io);
    const fs::path uscita = avvio.output_su.empty() ? io / "out" : fs::path(avvio.output_su);
    int out = ::open(uscita.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (std::array<int, 2> tubo{}; avvio.output_senza_lettore && ::pipe(tubo.data()) == 0) {
        ::close(tubo[0]);
        ::dup2(tubo[1], out);
        ::close(tubo[1]);
    }
    const int err = ::open((io / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0 || ::chdir(lavoro.c_str()) != 0) {
        ::_exit(125);
    }
    if (avvio.senza_input) {
        ::close(0);
    } else {
        ::dup2(in, 0);
        ::close(in);
    }
    ::dup2(err, 2);
    if (avvio.senza_output) {
        ::close(1);
    } else {
        ::dup2(out, 1);
    }
    ::close(out);
    ::close(err);
    ::umask(022);
    limita(RLIMIT_AS, avvio.limite_memoria);
    limita(RLIMIT_FSIZE, avvio.limite_file);
    for (const int segnale : avvio.segnali_ignorati) {
        ::signal(segnale, SIG_IGN);
    }
    // A blocked signal stays blocked, and pending, across exec.
    for (const int segnale : avvio.segnali_bloccati) {
        sigset_t insieme;
        sigemptyset(&insieme);
        sigaddset(&insieme, segnale);
        ::sigprocmask(SIG_BLOCK, &insieme, nullptr);
        ::raise(segnale);
    }
    if (avvio.senza_privilegi && da_root()) {
        const uid_t utente = utente_senza_privilegi();
        const passwd* voce = ::getpwuid(utente);
        if (voce == nullptr || ::setgroups(0, nullptr) != 0 || ::setgid(voce->pw_gid) != 0 ||
            ::setuid(utente) != 0) {
            ::_exit(124);
        }
    }
    // A group of its own, so that a run that hangs can be ended with whatever runs it.
    ::setpgid(0, 0);
    std::vector<std::string> argomenti = avvio.sotto;
    argomenti.push_back(eseguibile);
    argomenti.insert(argomenti.end(), avvio.argomenti.begin(), avvio.argomenti.end());
    std::vector<char*> argv;
    for (auto& a : argomenti) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    std::vector<std::string> ambiente = avvio.ambiente;
    if (!avvio.adesso.empty()) {
        ambiente.push_back("TURNOLISTA_ADESSO=" + avvio.adesso);
    }
    std::vector<char*> envp;
    for (auto& e : ambiente) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);
    if (avvio.sotto.empty()) {
        ::execve(argv[0], argv.data(), envp.data());
    } else {
        ::execvpe(argv[0], argv.data(), envp.data());
    }
    ::_exit(126);
}

}  // namespace

bool testo_crlf() {
    return false;
}

fs::path cartella_nuova() {
    std::string modello = (fs::temp_directory_path() / "turnolista-e2e-XXXXXX").string();
    if (::mkdtemp(modello.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    // An ordinary user must reach the folder.
    fs::permissions(modello, static_cast<fs::perms>(0755));
    return modello;
}

void prepara(const Avvio& avvio, const fs::path& lavoro) {
    // An ordinary user may create files in the folder.
    fs::permissions(lavoro, static_cast<fs::perms>(avvio.senza_privilegi ? 0777 : 0755));
    for (const auto& [nome, bersaglio] : avvio.link) {
        fs::create_symlink(bersaglio, lavoro / nome);
    }
    for (const auto& [nome, esistente] : avvio.hard) {
        fs::create_hard_link(lavoro / esistente, lavoro / nome);
    }
    for (const auto& nome : avvio.fifo) {
        ::mkfifo((lavoro / nome).c_str(), 0644);
    }
    for (const auto& nome : avvio.socket) {
        sockaddr_un indirizzo{.sun_family = AF_UNIX, .sun_path = {}};
        (lavoro / nome).string().copy(indirizzo.sun_path, sizeof indirizzo.sun_path - 1);
        const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the sockets API's own cast
        if (::bind(s, reinterpret_cast<const sockaddr*>(&indirizzo), sizeof indirizzo) != 0) {
            throw std::runtime_error("cannot bind a socket at " + nome);
        }
        ::close(s);
    }
    for (const auto& [nome, utente] : avvio.proprietari) {
        const passwd* voce = ::getpwuid(utente);
        const gid_t gruppo = voce != nullptr ? voce->pw_gid : static_cast<gid_t>(-1);
        if (::lchown((lavoro / nome).c_str(), utente, gruppo) != 0) {
            throw std::runtime_error("cannot chown " + nome);
        }
    }
    for (const auto& [nome, modo] : avvio.permessi) {
        if (::chmod((lavoro / nome).c_str(), modo) != 0) {
            throw std::runtime_error("cannot chmod " + nome);
        }
    }
}

int lancia(const Avvio& avvio, const fs::path& lavoro, const fs::path& io) {
    if (avvio.senza_privilegi && da_root()) {
        fs::copy_file(eseguibile(avvio), programma(avvio, io));
        fs::permissions(io, static_cast<fs::perms>(0755));
    }
    const int in = ::open((io / "in").c_str(), O_RDONLY | O_CLOEXEC);
    const pid_t figlio = ::fork();
    if (figlio == 0) {
        avvia_figlio(avvio, in, lavoro, io);
    }
    if (avvio.durante) {
        avvio.durante(figlio, lavoro);
    }
    // A program that hangs, even with every signal held, is ended, and the test fails on
    // its status; a harness's limit, not a test's decision.
    int stato = 0;
    const auto fino_a = std::chrono::steady_clock::now() + LIMITE;
    while (::waitpid(figlio, &stato, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > fino_a) {
            ::kill(-figlio, SIGKILL);
            ::waitpid(figlio, &stato, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ::close(in);
    ::chmod(lavoro.c_str(), 0755);
    return WIFEXITED(stato) ? WEXITSTATUS(stato) : 128 + WTERMSIG(stato);
}

bool in_corso(int programma) {
    siginfo_t info{};
    return ::waitid(P_PID, static_cast<id_t>(programma), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == 0;
}

void descrivi(const fs::path& percorso, const std::string& nome, Esecuzione& esito) {
    struct stat info {};
    ::stat(percorso.c_str(), &info);
    esito.permessi[nome] = info.st_mode & 07777;
    esito.proprietari[nome] = info.st_uid;
    std::string acl(256, '\0');
    const ssize_t n =
        ::getxattr(percorso.c_str(), "system.posix_acl_access", acl.data(), acl.size());
    if (n > 0) {
        esito.acl[nome] = acl.substr(0, static_cast<std::size_t>(n));
    }
}

void rimuovi(const fs::path& cartella) {
    fs::remove_all(cartella);
}

}  // namespace sistema
}  // namespace prova
