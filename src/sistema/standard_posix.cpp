#include <fcntl.h>
#include <langinfo.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "sistema/standard.hpp"

namespace turnolista::sistema {

// A closed descriptor gets /dev/null in its place, so that no file the program opens can
// take its number; the lowest closed one is taken first.
std::unique_ptr<Canale> canale_standard(int quale) {
    if (::fcntl(quale, F_GETFD) != -1 || errno != EBADF) {
        return std::make_unique<Descrittore>(quale, oggetto_standard(quale));
    }
    ::open("/dev/null", quale == 0 ? O_RDONLY : O_WRONLY);
    return std::make_unique<Descrittore>(oggetto_standard(quale));
}

namespace {
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

// The same for every stream: asked of the locale once.
bool console_utf8(int /*quale*/) {
    static const bool utf8 = utf8_dal_locale();
    return utf8;
}

std::vector<std::string> argomenti(int argc, char** argv) {
    return {argv + std::min(argc, 1), argv + argc};
}

bool abitudini_windows() {
    return false;
}

// A terminal outlives the program that runs in it.
bool finestra_propria() {
    return false;
}

}  // namespace turnolista::sistema
