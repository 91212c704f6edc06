#pragma once
// A lock on the current folder that two runs share while they put files in place; a folder
// that cannot be locked is used without it. The lock ends with the object. One
// implementation per system, beside its file layer; nothing outside src/sistema/ uses it.

#include <cstdint>

namespace turnolista {

class SerraturaCartella {
  public:
    // Waits for another run that holds the lock, for a while.
    SerraturaCartella();
    ~SerraturaCartella();
    SerraturaCartella(const SerraturaCartella&) = delete;
    SerraturaCartella& operator=(const SerraturaCartella&) = delete;

    // Non-zero (an errno value) when another run kept the lock for too long.
    int causa() const { return causa_; }

  private:
    std::intptr_t maniglia_ = -1;  // what the system holds the lock by, while it is held
    int causa_ = 0;
};

}  // namespace turnolista
