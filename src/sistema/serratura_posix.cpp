#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "sistema/serratura.hpp"

namespace turnolista::sistema {

namespace {
// How long a pass waits for another run in the same folder to put its files in place.
constexpr auto ATTESA_MASSIMA = std::chrono::seconds(10);
}  // namespace

SerraturaCartella::SerraturaCartella() {
    Descrittore cartella(::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC), {});
    if (!cartella.aperto()) {
        non_bloccabile_ = errno;
        return;
    }
    const auto fino_a = std::chrono::steady_clock::now() + ATTESA_MASSIMA;
    while (::flock(cartella.nativo(), LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            non_bloccabile_ = errno;
            return;
        }
        if (std::chrono::steady_clock::now() > fino_a) {
            occupata_ = true;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    maniglia_ = std::move(cartella);
}

// The lock ends with the descriptor.
SerraturaCartella::~SerraturaCartella() = default;

}  // namespace turnolista::sistema
