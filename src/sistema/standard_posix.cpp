#include <fcntl.h>
#include <langinfo.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "sistema/standard.hpp"

namespace turnolista::sistema {

namespace {

// A standard stream by its descriptor; -1 for one the program was started without, which
// the system refuses as it is.
class Descrittore final : public Canale {
  public:
    Descrittore(int fd, Oggetto oggetto) : fd_(fd), oggetto_(std::move(oggetto)) {}

    // No handler of the program returns (segnali.hpp), so no call is interrupted.
    Risultato<std::size_t> leggi(std::span<char> dove) override {
        const ssize_t letti = ::read(fd_, dove.data(), dove.size());
        return letti >= 0 ? Risultato(static_cast<std::size_t>(letti))
                          : Esito::lettura(oggetto_, errno);
    }

    Esito scrivi(std::string_view testo) override {
        while (!testo.empty()) {
            const ssize_t scritti = ::write(fd_, testo.data(), testo.size());
            if (scritti <= 0) {
                return Esito::scrittura(oggetto_, scritti < 0 ? errno : EIO);
            }
            testo.remove_prefix(static_cast<std::size_t>(scritti));
        }
        return {};
    }

  private:
    int fd_;
    Oggetto oggetto_;
};

// A closed descriptor gets /dev/null in its place; the streams are looked at in order, so
// that the lowest closed one is taken first.
Descrittore standard(int quale, Oggetto::Tipo tipo) {
    if (::fcntl(quale, F_GETFD) != -1 || errno != EBADF) {
        return {quale, Oggetto::standard(tipo)};
    }
    ::open("/dev/null", quale == 0 ? O_RDONLY : O_WRONLY);
    return {-1, Oggetto::standard(tipo)};
}

// Whether a locale's name, such as "it_IT.UTF-8" or "C.utf8@euro", names the UTF-8 codeset.
bool nomina_utf8(std::string_view locale) {
    const auto punto = locale.find('.');
    if (punto == std::string_view::npos) {
        return false;
    }
    std::string codeset(locale.substr(punto + 1, locale.find('@', punto) - punto - 1));
    std::erase(codeset, '-');
    std::transform(codeset.begin(), codeset.end(), codeset.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return codeset == "utf8";
}

// Only the character set matters, to show the accented letters of the messages. A locale
// that names UTF-8 means a UTF-8 terminal even where that locale is not installed, as on
// many minimal systems and over ssh.
bool utf8_dal_locale() {
    for (const char* variabile : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        if (const char* valore = std::getenv(variabile); valore != nullptr && *valore != '\0') {
            if (nomina_utf8(valore)) {
                return true;
            }
            break;
        }
    }
    std::setlocale(LC_CTYPE, "");
    return std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
}

}  // namespace

// A terminal outlives the program that runs in it, and its command line has no Windows habits.
Console& console_standard() {
    static std::array<Descrittore, 3> tre{standard(0, Oggetto::Tipo::standard_input),
                                          standard(1, Oggetto::Tipo::standard_output),
                                          standard(2, Oggetto::Tipo::standard_error)};
    static const bool utf8 = utf8_dal_locale();
    static Console console{.in = tre[0],
                           .out = tre[1],
                           .err = tre[2],
                           .utf8 = utf8,
                           .utf8_err = utf8,
                           .in_terminale = ::isatty(0) != 0};
    return console;
}

std::vector<std::string> argomenti(int argc, char** argv) {
    return {argv + std::min(argc, 1), argv + argc};
}

}  // namespace turnolista::sistema
