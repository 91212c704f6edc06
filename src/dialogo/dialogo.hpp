#pragma once
// The dialogue with the user: the format, the team name, the summary, and the question
// whether to start again, pass after pass.

#include "comune/console.hpp"

namespace turnolista {

// Runs passes until the user declines to start again or the input ends. Returns the exit
// status: 0 when every pass succeeded, 1 when one failed or the console itself failed.
int dialogo(Console& console);

// The end of a run: a console window opened for this run alone stays, after a failure,
// until the user has read it and pressed Enter. Returns `stato`.
int congedo(Console& console, int stato);

}  // namespace turnolista
