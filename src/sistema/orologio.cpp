#include "sistema/sistema.hpp"

namespace turnolista::sistema {

std::chrono::sys_seconds adesso() {
    return std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
}

}  // namespace turnolista::sistema
