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
            return "è una cartella";
        case ENOTDIR:
            return "una parte del percorso non è una cartella";
        case EROFS:
            return "il disco è di sola lettura";
        case ENOSPC:
            return "il disco è pieno";
#ifdef EDQUOT
        case EDQUOT:
            return "lo spazio concesso all'utente sul disco è esaurito";
#endif
#ifdef ELOOP
        case ELOOP:
            return "troppi collegamenti simbolici uno dentro l'altro";
#endif
        case EMLINK:
            return "troppi collegamenti";
        case ENAMETOOLONG:
            return "il nome è troppo lungo";
        case EFBIG:
            return "il file è troppo grande";
        case EIO:
            return "errore di lettura o scrittura sul dispositivo";
        case EBUSY:
            return "è occupato";
        case EAGAIN:
            return "risorsa momentaneamente non disponibile";
        case EPIPE:
            return "chi leggeva ha chiuso la comunicazione";
        case EBADF:
            return "non è aperto";
        case ENXIO:
            return "nessun dispositivo risponde a quel nome";
        default:
            return std::strerror(causa);
    }
}

}  // namespace turnolista::sistema
