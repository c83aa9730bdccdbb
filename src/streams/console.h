// The list of opaque kinds on standard output, written through the console
// buffer of DumpState.
#pragma once

#include <cstddef>
#include <cstdint>

#include "driver/dump_state.h"
#include "text/line_text.h"

// Everything the console buffer holds, to standard output, unless writing
// there has already failed: then it is dropped.
void drainConsole(DumpState &state);

// Flushes standard output and keeps the error of its first failed write, if
// it has one, in the console's error.
void finishConsole(DumpState &state);

// The room of one kind on the console, "%d ".
constexpr std::size_t kConsoleKindRoom = textRoom(kDecimalRoom, " ");
static_assert(kConsoleKindRoom <= kLeastConsoleSize, "a kind's text must fit the smallest console buffer");

// Lists the kind of an opaque item on standard output as "%d ".
inline void writeKindToConsole(DumpState &state, std::uint16_t kind) {
    ConsoleBuffer &console = state.console;
    if (console.capacity - console.len < kConsoleKindRoom) {
        drainConsole(state);
    }
    char *out = console.bytes + console.len;
    char *end = putLiteral(putDecimal(out, kind), " ");
    console.len += static_cast<std::size_t>(end - out);
}
