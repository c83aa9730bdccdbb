// The program's own run on in-memory input, for the tests and the fuzz
// target: the program's code from the first read to the end of the run, with
// buffers of the sizes given. Only the end of the process differs: it
// returns here, so that one process can dump many inputs.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "driver/dump_state.h"
#include "reference_dump.h"

DumpResult programDump(const std::string &input, const BufferSizes &sizes);

// The same over an open stream, which it closes, whose first byte stands at
// firstOffset in the file (so that offsets past 32 bits need no such file).
DumpResult programDumpOf(std::FILE *input, const BufferSizes &sizes, std::int64_t firstOffset = 0);

// Sizes a little over the least the program takes, varied by salt, so that
// refills and flushes fall in different places of the same input.
BufferSizes smallSizes(unsigned salt);

// Where got parts from want: the status, message, console and the first
// differing bytes of the dump; empty when they are the same.
std::string differenceFrom(const DumpResult &got, const DumpResult &want);
