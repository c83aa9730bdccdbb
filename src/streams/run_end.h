// A run that ends whole: everything buffered written and checked first.
#pragma once

#include "driver/dump_state.h"

// Ends the run after everything buffered is written: the dump file closed,
// the console list written out, then, on standard error, message about the
// symbol file if there is one, or else the note on where the file fell short
// if it did, and last a failure to write the console, which makes the status
// 1. message may be null.
[[noreturn]] void endRun(DumpState &state, int status, const char *message = nullptr);
