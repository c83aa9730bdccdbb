// A run that ends whole: everything buffered written and checked first.
#pragma once

#include "driver/dump_state.h"

// Ends the run with the given status after everything buffered is written.
[[noreturn]] void endRun(DumpState &state, int status);
