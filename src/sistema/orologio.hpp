#pragma once
// The time now, the one place the program asks for it: a calendar file says when it was
// written, and today's date decides which season a list is for. The program reads the
// system's clock (orologio.cpp); the build the tests start reads a time they choose
// (tests/orologio_finto.cpp).

#include <chrono>

namespace turnolista::sistema {

std::chrono::sys_seconds adesso();

}  // namespace turnolista::sistema
