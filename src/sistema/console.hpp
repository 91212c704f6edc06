#pragma once
// The process's standard streams as the program's console. A standard stream that was
// closed when the program started fails with "Bad file descriptor" at its first use, and
// its number is kept busy so that no file the program opens can take its place.

#include <istream>
#include <ostream>

#include "comune/console.hpp"
#include "sistema/flussi.hpp"

namespace turnolista {

class ConsoleStandard {
  public:
    ConsoleStandard();
    ConsoleStandard(const ConsoleStandard&) = delete;
    ConsoleStandard& operator=(const ConsoleStandard&) = delete;

    Console& console() { return console_; }

  private:
    BufferLettura tastiera_;
    BufferScrittura schermo_;
    BufferScrittura errori_;
    std::istream in_;
    std::ostream out_;
    std::ostream err_;
    Console console_;
};

}  // namespace turnolista
