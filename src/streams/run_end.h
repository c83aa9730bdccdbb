// Every end of a run, whole or failed, goes the same way: the dump buffer
// written out and the dump file closed, the kinds listed on standard output,
// then what there is to say on standard error, one line a failure, as
// "symtext: <what>: <reason>", and last the end of the process.
#pragma once

#include "driver/dump_state.h"

// Ends a run that went to its end, or stopped on purpose (a wrong command
// line), with status. A failure to finish the dump or the console list is
// reported and makes the status 1. Otherwise, if the symbol file fell short,
// a note says where.
[[noreturn]] void endRun(DumpState &state, int status);

// Ends a run that cannot go on: the failure is reported, what was dumped is
// kept, and the status is 1. what names the file or stream; reason is the
// program's own text.
[[noreturn]] void failRun(DumpState &state, const char *what, const char *reason);

// The same for a call that failed with error, as failedCallError gives it;
// the reason is the system's text for it.
[[noreturn]] void failRunOnError(DumpState &state, const char *what, int error);

// How the process ends once the run has: the one seam between the program
// and the tests' harness. Each program that links the run's code defines it
// once, beside its entry: symtext's ends the process with status; the
// harness's goes back to the test that started the run, with longjmp. Two
// rules follow for all code of the run:
// - no object with a destructor may live across a call that can end the run,
//   as the jump back passes it by;
// - nothing may be left to do after such a call: it never returns.
[[noreturn]] void endProcess(int status);
