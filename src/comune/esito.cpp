#include "comune/esito.hpp"

#include <cerrno>
#include <cstring>
#include <map>

namespace turnolista {

std::string Esito::testo_della_causa() const {
    static const std::map<int, std::string_view> MOTIVI{
        {EACCES, "permesso negato"},
        {EPERM, "operazione non permessa"},
        {ENOENT, "non esiste"},
        {EISDIR, "è una cartella"},
        {ENOTDIR, "una parte del percorso non è una cartella"},
        {EROFS, "il disco è di sola lettura"},
        {ENOSPC, "il disco è pieno"},
#ifdef EDQUOT
        {EDQUOT, "lo spazio concesso all'utente sul disco è esaurito"},
#endif
        {ELOOP, "troppi collegamenti simbolici uno dentro l'altro"},
        {EMLINK, "troppi collegamenti"},
        {ENAMETOOLONG, "il nome è troppo lungo"},
        {EFBIG, "il file è troppo grande"},
        {EIO, "errore di lettura o scrittura sul dispositivo"},
        {EBUSY, "è occupato"},
        {EAGAIN, "risorsa momentaneamente non disponibile"},
        {EPIPE, "chi leggeva ha chiuso la comunicazione"},
        {EBADF, "non è aperto"},
        {ENXIO, "nessun dispositivo risponde a quel nome"},
        {ENOMEM, "la memoria non basta"},
    };
    const auto trovato = MOTIVI.find(causa);
    return trovato != MOTIVI.end() ? std::string(trovato->second) : std::strerror(causa);
}

}  // namespace turnolista
