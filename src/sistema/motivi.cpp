#include "sistema/motivi.hpp"

#include <cerrno>
#include <cstring>

namespace turnolista::sistema {

// The system's reason in Italian, for those a user of the program meets; the system's own
// text for any other.
std::string motivo(int causa) {
    switch (causa) {
        case EACCES:
            return "permesso negato";
        case EPERM:
            return "operazione non permessa";
        case ENOENT:
            return "non esiste";
        case EISDIR:
            return "\xE8 una cartella";
        case ENOTDIR:
            return "una parte del percorso non \xE8 una cartella";
        case EROFS:
            return "il disco \xE8 di sola lettura";
        case ENOSPC:
            return "il disco \xE8 pieno";
#ifdef EDQUOT
        case EDQUOT:
            return "lo spazio concesso all'utente sul disco \xE8 esaurito";
#endif
#ifdef ELOOP
        case ELOOP:
            return "troppi collegamenti simbolici uno dentro l'altro";
#endif
        case EMLINK:
            return "troppi collegamenti";
        case ENAMETOOLONG:
            return "il nome \xE8 troppo lungo";
        case EFBIG:
            return "il file \xE8 troppo grande";
        case EIO:
            return "errore di lettura o scrittura sul dispositivo";
        case EBUSY:
            return "\xE8 occupato";
        case EAGAIN:
            return "risorsa momentaneamente non disponibile";
        case EPIPE:
            return "chi leggeva ha chiuso la comunicazione";
        case EBADF:
            return "non \xE8 aperto";
        case ENXIO:
            return "nessun dispositivo risponde a quel nome";
        default:
            return std::strerror(causa);
    }
}

}  // namespace turnolista::sistema
