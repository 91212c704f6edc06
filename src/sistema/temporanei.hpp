#pragma once
// The names a pass writes its files under before they are put in place: beside
// "calendario.txt", ".calendario.txt.4d2", with the id of the process that writes it in
// hexadecimal (and "-1", "-2" after it should that name be taken), a few characters longer
// than the file's own name, so that a path that fits fits with them. A
// run that is killed outright (SIGKILL, a crash, a power cut) leaves its files behind; the
// id lets a later pass tell them from those of a run still going, and remove them.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace turnolista::sistema {

std::string nome_temporaneo(std::string_view destinazione, unsigned long processo, int tentativo);

// The process that wrote `nome`, if it is a temporary name of `destinazione` (the name of
// an earlier file kept for putting back, with "~" after it, included).
std::optional<unsigned long> processo_di(std::string_view nome, std::string_view destinazione);

// Each system's part.
unsigned long processo_corrente();
// Removes from the current folder the temporary files of `destinazioni` whose process no
// longer exists, reading the folder once. Returns why the folder cannot be read (an errno
// value), or 0; a folder that cannot be read cannot be locked either.
int rimuovi_abbandonati(std::span<const std::string_view> destinazioni);

}  // namespace turnolista::sistema
