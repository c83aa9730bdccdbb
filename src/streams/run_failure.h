// A run cut short by a failure: the failure named on standard error, what
// is buffered written first, and the end of the process.
#pragma once

#include "driver/dump_state.h"

// One line on standard error: "symtext: <what>: <reason>". reason may be null.
void reportFailure(const char *what, const char *reason);

// Ends a run that cannot go on: the message, whatever of the dump can still be
// written, and exit status 1.
[[noreturn]] void failRun(DumpState &state, const char *what, int err);

// The end of the process. It stands alone so that a test harness can put its
// own in place and keep running.
[[noreturn]] void endProcess(int status);
