#pragma once
// The files a pass makes in the current folder, each put in place once. Names are UTF-8 on
// Windows, the system's bytes elsewhere.
//
// A pass's files are put in place in three steps, all or nothing up to the last:
//   checked   each destination is one the user may replace: a regular file or none, that
//             the user may write, and none of them the fixture list or another file of the
//             same pass, existing or not, under a second name (a link);
//   written   each file's whole content goes into a new hidden file beside it (".NAME.PID",
//             in the folder a symbolic link points into), made with the old file's
//             permission bits and nothing more, or as any new file is;
//   in place  each is renamed over its destination, in order (ReplaceFileW on Windows,
//             which keeps the old file's ACL, owner, attributes and creation time).
// A failure before the last step leaves every destination as it was; a signal that ends the
// program removes the hidden files not yet renamed (segnali.hpp). A file with other hard
// links keeps its old content under those, as with an editor that saves by rename.

#include <span>
#include <string>
#include <string_view>

#include "comune/codifica.hpp"
#include "comune/esito.hpp"

namespace turnolista::sistema {

// How this system's text files end their lines.
#ifdef _WIN32
inline constexpr FineRiga FINE_RIGA = FineRiga::crlf;
#else
inline constexpr FineRiga FINE_RIGA = FineRiga::lf;
#endif

struct FileNuovo {
    std::string_view nome;  // in the current folder
    std::string contenuto;
};

// Puts `file` in place, in that order; none of them may be `originale`.
Esito metti_al_posto(std::span<const FileNuovo> file, std::string_view originale);

}  // namespace turnolista::sistema
