// The run: opening the two files, the item loop and the dispatch by kind.
#pragma once

#include "driver/dump_state.h"

// Makes state ready for a run that uses the given part of each buffer, with
// no file open yet and the console list going to standard output.
void startRun(DumpState &state, const BufferSizes &sizes);

// Dumps the symbol file at path into "OutPut.txt" in the current directory.
// path is the name as the user typed it; on Windows, in UTF-8.
// A file that cannot be opened, read or written, and a symbol file that is
// the dump file itself, end the process with a message on standard error
// and status 1. The dump file is closed on return; the run's end is the
// caller's.
// state is as startRun left it.
void dumpSymbolFile(DumpState &state, const char *path);

// Dumps every item from the input's current position to its end.
void dumpItems(DumpState &state);
