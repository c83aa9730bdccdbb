// Handing buffered bytes to their streams, with no judgement of the result:
// a failed write shows in the stream's error flag, which whoever needs the
// bytes to have arrived checks.
#pragma once

#include "driver/dump_state.h"

// Everything the dump buffer holds, to the dump file's stream.
void drainOutput(DumpState &state);

// Everything the console buffer holds, to standard output, unless writing
// there has already failed: then it is dropped.
void drainConsole(DumpState &state);

// Keeps the reason of the console's first failed write, if standard output
// has one, in its error.
void noteConsoleFailure(DumpState &state);
