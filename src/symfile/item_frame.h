// The frame shared by the dumpers of kinds with a layout: the length test,
// counted names, the bytes the layout leaves unexplained and the jump to the
// item's end.
#pragma once

#include <cstdint>

#include "driver/dump_state.h"
#include "symfile/readers.h"

// Reads one counted name (count byte, characters, pad to a multiple of four)
// and writes it as [n]"chars" with any pad bytes in hex after two tabs. The
// whole name is charged to count before its characters are read.
void dumpCountedName(DumpState &state, std::int32_t &count);

// Writes the item's unexplained bytes after "\t?? pad ?? " in hex. Nothing is
// written or read when none are left, nor when the layout overran the item.
void dumpTrailingBytes(DumpState &state);

// Ends the run on an item whose length its kind cannot have: "?????" and
// exit status 1, after everything written so far has reached its file.
[[noreturn]] void abortItem(DumpState &state);

// The frame's start: aborts unless the item is at least minimumLength bytes
// long, and returns the offset of the item's end.
inline std::int64_t openItemFrame(DumpState &state, std::int32_t minimumLength) {
    if (state.remaining < minimumLength) {
        abortItem(state);
    }
    // The input stands just past the 4-byte header.
    return inputOffset(state) + state.remaining - 4;
}

// The frame's end: the trailing bytes, then the input moved to itemEnd.
inline void closeItemFrame(DumpState &state, std::int64_t itemEnd) {
    if (state.remaining > 0) {
        dumpTrailingBytes(state);
    }
    seekInput(state, itemEnd);
}
