// The dump file, written through the output buffer of DumpState.
#pragma once

#include <cstddef>
#include <cstring>

#include "driver/dump_state.h"
#include "streams/buffer_checks.h"
#include "text/line_text.h"

constexpr const char *kDumpFileName = "OutPut.txt";

// Creates the dump file, or empties the one there, and keeps other runs from
// writing it until the run's end closes it. A failure ends the run, and so
// does a dump file that is also standard output or standard error, or that
// another run is writing: both are left as they were.
void openDumpFile(DumpState &state);

// Writes the buffer out; a failed write ends the run. The run's end closes
// the file.
void flushOutput(DumpState &state);

// Hands everything the buffer holds to the file's stream, with no judgement
// of the result: a failed write shows in the stream's error flag, which the
// run's end checks.
void drainOutput(DumpState &state);

// Makes room for n bytes in the buffer, flushing it first when less is left.
// The item loop asks, before each item, for the longest text one item can
// write, so that no text inside the item tests for room. The checked build
// then holds every reservation to that room.
inline void holdOutput(DumpState &state, std::size_t n) {
    OutputBuffer &out = state.output;
    SYMTEXT_CHECK(n <= out.capacity);
    if (out.capacity - out.len < n) {
        flushOutput(state);
    }
#if defined(SYMTEXT_CHECKED)
    out.itemEnd = out.len + n;
#endif
}

// Every text reaches the dump buffer the same way: room for its longest form
// is reserved, its parts are put through a local pointer, and then the
// buffer is extended to where the pointer ended. Stores through the pointer
// leave the buffer's length alone, so that it is read and written once a
// line, not once a part. Parts may store a few bytes past their text (the
// fill of putHex, the fixed copies of names and numbers), always inside the
// reservation; the checked build holds every store to it.

// Returns room for n bytes at the end of the buffer, inside the room that
// holdOutput made.
inline char *reserveOutput(DumpState &state, std::size_t n) {
    OutputBuffer &out = state.output;
#if defined(SYMTEXT_CHECKED)
    SYMTEXT_CHECK(out.len + n <= out.itemEnd);
    out.reservedEnd = out.len + n;
    markInLimits(out.bytes + out.len, n);
#else
    static_cast<void>(n);
#endif
    return out.bytes + out.len;
}

// Extends the buffer to end, which lies inside the last reservation.
inline void commitOutput(DumpState &state, const char *end) {
    OutputBuffer &out = state.output;
    auto len = static_cast<std::size_t>(end - out.bytes);
#if defined(SYMTEXT_CHECKED)
    SYMTEXT_CHECK(len >= out.len && len <= out.reservedEnd);
    markOffLimits(end, out.reservedEnd - len);
#endif
    out.len = len;
}

// A short text as it stands.
inline void writeBytes(DumpState &state, const char *text, std::size_t n) {
    char *out = reserveOutput(state, n);
    std::memcpy(out, text, n);
    commitOutput(state, out + n);
}

template <std::size_t N> inline void writeLiteral(DumpState &state, const char (&text)[N]) {
    writeBytes(state, text, N - 1);
}

inline void writeLineEnd(DumpState &state) { writeLiteral(state, kLineEnd); }
