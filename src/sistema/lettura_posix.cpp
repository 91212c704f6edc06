#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "sistema/lettura.hpp"
#include "sistema/posix.hpp"

namespace turnolista::sistema {

Risultato<std::unique_ptr<FileLettura>> FileLettura::apri(std::string_view nome) {
    const std::string percorso(nome);
    const int fd =
        posix::senza_interruzioni([&] { return ::open(percorso.c_str(), O_RDONLY | O_CLOEXEC); });
    if (fd < 0) {
        return Esito::lettura(Oggetto::file(nome), errno);
    }
    return std::unique_ptr<FileLettura>(new FileLettura(Descrittore(fd, Oggetto::file(nome))));
}

std::string cartella_corrente() {
    const std::unique_ptr<char, decltype(&std::free)> percorso(::getcwd(nullptr, 0), &std::free);
    return percorso ? std::string(percorso.get()) : std::string();
}

namespace {
struct ChiudiCartella {
    void operator()(DIR* cartella) const { ::closedir(cartella); }
};
}  // namespace

std::vector<std::string> nomi_nella_cartella() {
    std::vector<std::string> nomi;
    const std::unique_ptr<DIR, ChiudiCartella> cartella(::opendir("."));
    while (cartella) {
        const dirent* voce = ::readdir(cartella.get());
        if (voce == nullptr) {
            break;
        }
        nomi.emplace_back(voce->d_name);
    }
    return nomi;
}

Voce che_cosa_e(std::string_view percorso) {
    struct stat info {};
    if (::stat(std::string(percorso).c_str(), &info) != 0) {
        return Voce::nessuna;
    }
    return S_ISDIR(info.st_mode) ? Voce::cartella : Voce::file;
}

}  // namespace turnolista::sistema
