// The program's own dump of in-memory input, for the tests and the fuzz
// target: the same code as the program from the first read to the end of the
// run, with buffers of the sizes given. Only the end of the process differs:
// it returns here, so that one process can dump many inputs.
#pragma once

#include <string>

#include "driver/dump_state.h"
#include "reference_dump.h"

DumpResult programDump(const std::string &input, const BufferSizes &sizes);

// Sizes a little over the least the program takes, varied by salt, so that
// refills and flushes fall in different places of the same input.
BufferSizes smallSizes(unsigned salt);
