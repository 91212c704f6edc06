#pragma once
// The files of the current folder: the fixture list, read whole and never written, and the
// files a pass makes, each put in place once. Names and paths are UTF-8 on Windows, the
// system's bytes elsewhere.
//
// A pass's files are put in place in three steps, all or nothing up to the last:
//   checked   each destination is one the user may replace: a regular file or none, that
//             the user may write, and none of them the fixture list or another file of the
//             same pass under a second name (a link);
//   written   each file's whole content goes into a new hidden file beside it (".NAME.PID",
//             in the folder a symbolic link points into), made with the old file's
//             permission bits and nothing more, or as any new file is;
//   in place  each is renamed over its destination, in order (ReplaceFileW on Windows,
//             which keeps the old file's ACL and attributes).
// A failure before the last step leaves every destination as it was; a signal that ends the
// program removes the hidden files (segnali.hpp). A file with other hard links keeps its old
// content under those, as with an editor that saves by rename.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "comune/codifica.hpp"
#include "comune/esito.hpp"

namespace turnolista::sistema {

// Frees a list's memory: a mapping of the system, where `mappati` gives its length.
struct Libera {
    std::size_t mappati = 0;
    void operator()(char* memoria) const;
};
using Memoria = std::unique_ptr<char[], Libera>;

// The bytes of a list, read whole into memory that nothing filled before.
struct Lista {
    Memoria byte;
    std::size_t quanti = 0;
    std::string_view testo() const { return {byte.get(), quanti}; }
};

// The whole of `nome`, a regular file of at most LISTA_MASSIMA bytes; anything else is
// refused before it is read.
Risultato<Lista> leggi_lista(std::string_view nome);

struct FileNuovo {
    std::string_view nome;  // in the current folder
    std::string contenuto;
};

// Puts `file` in place, in that order; none of them may be `originale`.
Esito metti_al_posto(std::span<const FileNuovo> file, std::string_view originale);

// How this system's text files end their lines.
FineRiga fine_riga_del_sistema();

// The current folder's full path, as the system shows it; empty where it cannot be told.
std::string cartella_corrente();

// The names in the current folder, as they are stored; none where it cannot be read.
std::vector<std::string> nomi_nella_cartella();

enum class Voce { nessuna, file, cartella };
// What `percorso` names: a file, a folder, or nothing that can be seen.
Voce che_cosa_e(std::string_view percorso);

// Each system's part of metti_al_posto().
namespace proprio {

// A destination as it stands: where its content goes (on POSIX systems the file a chain of
// symbolic links leads to), and the file there if there is one.
struct Destinazione {
    std::string percorso;
    std::string identita;    // the same for two names of one file; empty where there is none
    std::uint32_t come = 0;  // what a new file takes of it: permission bits, or attributes
};

// Refuses a destination the user may not replace: a folder, no regular file, one the user
// may not write or another program holds.
Risultato<Destinazione> esamina(std::string_view nome);
// The whole of an open list that said it has `dimensione` bytes, by `leggi`, which reads
// what it can into its span and says how much (0 at the end).
Risultato<Lista> leggi_tutta(std::uint64_t dimensione, const Oggetto& oggetto,
                             const std::function<Risultato<std::size_t>(std::span<char>)>& leggi);
// Room for `quanti` bytes that nothing has filled, or none.
Memoria memoria(std::size_t quanti);
// The identity of the file `nome`; empty where there is none.
std::string identita(std::string_view nome);
// Makes the new file `nascosto` beside the destination, holding `contenuto`; EEXIST where
// the name is taken.
Esito scrivi_nascosto(const std::string& nascosto, const Destinazione& destinazione,
                      std::string_view contenuto, const Oggetto& oggetto);
Esito rinomina(const std::string& nascosto, const Destinazione& destinazione,
               const Oggetto& oggetto);
void rimuovi(const std::string& nascosto);
unsigned long processo();

}  // namespace proprio

}  // namespace turnolista::sistema
