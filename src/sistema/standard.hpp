#pragma once
// The process's standard streams as the program's console. A standard stream that was
// closed when the program started fails with "Bad file descriptor" at its first use, and
// its number is kept busy so that no file the program opens can take its place.

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "comune/console.hpp"
#include "sistema/descrittore.hpp"
#include "sistema/flussi.hpp"

namespace turnolista::sistema {

class FlussiStandard {
  public:
    FlussiStandard();
    FlussiStandard(const FlussiStandard&) = delete;
    FlussiStandard& operator=(const FlussiStandard&) = delete;

    Console& console() { return console_; }

  private:
    std::unique_ptr<Canale> tastiera_;
    std::unique_ptr<Canale> schermo_;
    std::unique_ptr<Canale> errori_;
    BufferScrittura buffer_out_;
    BufferScrittura buffer_err_;
    std::ostream out_;
    std::ostream err_;
    Console console_;
};

// What standard stream `quale` is, for the errors of its channel.
Oggetto oggetto_standard(int quale);

// The program's arguments after its name: on Windows read as the system holds them, in
// UTF-16, and made UTF-8, whatever the ANSI code page could show; elsewhere as given.
std::vector<std::string> argomenti(int argc, char** argv);

// Each system's part.
// The channel of standard stream `quale` (0, 1 or 2), asked for in that order.
std::unique_ptr<Canale> canale_standard(int quale);
// Whether standard stream `quale` shows UTF-8, rather than ISO-8859-1 bytes.
bool console_utf8(int quale);
// Whether the command line follows Windows habits.
bool abitudini_windows();
// Whether the console was opened for this run alone.
bool finestra_propria();

}  // namespace turnolista::sistema
