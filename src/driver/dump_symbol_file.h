// The run: opening the two files, the item loop and the dispatch by kind.
#pragma once

#include <cstddef>

#include "driver/dump_state.h"
#include "dumpers/list_kinds.h"
#include "dumpers/raw_dump.h"
#include "symfile/item_frame.h"
#include "text/line_text.h"

// "%06X: (%d) [%04x] ": the offset of the kind field, the length, the kind.
// The offset takes up to 16 digits, 64 bits in hex.
constexpr std::size_t kHeaderLineRoom =
    textRoom(kHexRoom, ": (", kDecimalRoom, ") [", kHexByteRoom, kHexByteRoom, "] ");

// The longest text of one item: its header line, the longest body, which a
// kind-11 item writes, and its line end.
constexpr std::size_t kLongestItemText = kHeaderLineRoom + kLongestKind11Text + kLineEndSize;
static_assert((kLongestItem - kItemHeaderSize) * kRawByteRoom < kLongestKind11Text,
              "no raw body writes more than the longest kind-11 body");

// The least of each buffer a run may use: a window that holds the furthest
// one item reads, a dump buffer for the longest text one item writes, a
// console buffer for a few kinds.
constexpr BufferSizes kLeastSizes = {itemReach(kLongestItem), kLongestItemText, kLeastConsoleSize};
static_assert(kLeastSizes.input <= kInputBufferSize && kLeastSizes.output <= kOutputBufferSize,
              "the shipped buffers hold one item");

// Makes state ready for a run that uses the given part of each buffer, with
// no file open yet.
void startRun(DumpState &state, const BufferSizes &sizes);

// Dumps the symbol file at path into "OutPut.txt" in the current directory
// and ends the run. path is the name as the user typed it, in UTF-8. A file
// that cannot be opened, read or written, and a symbol file that is the dump
// file itself, fail the run. state is as startRun left it.
[[noreturn]] void dumpSymbolFile(DumpState &state, const char *path);

// The run over the symbol file open in state, from its first read to its
// end, with the dump file opened by openDump once the first read went well.
// dumpSymbolFile passes openDumpFile; the tests' harness a stream of its own.
[[noreturn]] void dumpOpenFile(DumpState &state, void (*openDump)(DumpState &));
