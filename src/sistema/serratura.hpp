#pragma once
// A lock on the current folder that two runs share while they put files in place, so that
// the files of one pass stand together. A folder that cannot be locked is used without it,
// and the caller is told why. The lock ends with the object.

#include "sistema/descrittore.hpp"

namespace turnolista::sistema {

class SerraturaCartella {
  public:
    // Waits for another run that holds the lock, for a while.
    SerraturaCartella();
    ~SerraturaCartella();
    SerraturaCartella(const SerraturaCartella&) = delete;
    SerraturaCartella& operator=(const SerraturaCartella&) = delete;

    // Another run kept the lock for longer than this run waits.
    bool occupata() const { return occupata_; }
    // Why the folder could not be locked at all (an errno value), or 0.
    int non_bloccabile() const { return non_bloccabile_; }

  private:
    Descrittore maniglia_;  // what the system holds the lock by, while it is held
    bool occupata_ = false;
    int non_bloccabile_ = 0;
};

}  // namespace turnolista::sistema
