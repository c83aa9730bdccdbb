// The run: opening the two files, the item loop and the dispatch by kind.
#pragma once

#include "driver/dump_state.h"

// Dumps the symbol file at path into "OutPut.txt" in the current directory.
// path is the name as the user typed it; on Windows, in UTF-8.
// A file that cannot be opened, read or written ends the process with a
// message on standard error and status 1.
void dumpSymbolFile(DumpState &state, const char *path);

// Dumps every item from the input's current position to its end.
void dumpItems(DumpState &state);
