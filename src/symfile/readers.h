// Big-endian field readers over the symbol file's window. Before each item
// the item loop makes the window hold everything the item can read (see
// holdInput), so no reader tests for the end of the window or of the file:
// past the end of the file the window holds bytes of 0xFF, and that is what
// a byte the file lacks reads as.
#pragma once

#include <cstddef>
#include <cstdint>

#include "driver/dump_state.h"
#include "streams/buffer_checks.h"

// Offset in the symbol file of the next byte to be read.
inline std::int64_t inputOffset(const DumpState &state) {
    return state.input.windowStart + static_cast<std::int64_t>(state.input.pos);
}

// The next n bytes, read where they lie in the window.
inline const unsigned char *readBytes(DumpState &state, std::size_t n) {
    InputStream &in = state.input;
    SYMTEXT_CHECK(n <= in.limit - in.pos);
    const unsigned char *data = in.bytes + in.pos;
    in.pos += n;
    return data;
}

inline std::uint8_t readByte(DumpState &state) { return *readBytes(state, 1); }

inline std::uint16_t readBe16(DumpState &state) {
    const unsigned char *b = readBytes(state, 2);
    return static_cast<std::uint16_t>(b[0] << 8 | b[1]);
}

// The big-endian word at b, written so that the compiler loads it whole.
inline std::uint32_t be32At(const unsigned char *b) {
    return std::uint32_t{b[0]} << 24 | std::uint32_t{b[1]} << 16 | std::uint32_t{b[2]} << 8 | b[3];
}

inline std::uint32_t readBe32(DumpState &state) { return be32At(readBytes(state, 4)); }

// Moves the unread bytes to the front of the window and reads on until it is
// full or the file ends, after which the rest of the window is laid with
// 0xFF. A failed read is kept: the run ends with it once the window cannot
// hold n bytes, so that everything read before it is dumped as far as whole
// items reach.
void refillInput(DumpState &state, std::size_t n);

// Makes the window hold the next n bytes (n at most its capacity). The
// checked build keeps the window past them off limits until the next call.
inline void holdInput(DumpState &state, std::size_t n) {
    InputStream &in = state.input;
    if (in.limit - in.pos < n) {
        refillInput(state, n);
    }
    markInLimits(in.bytes, in.pos + n);
    markOffLimits(in.bytes + in.pos + n, in.capacity - in.pos - n);
}

// Notes the item that starts at itemStart, and how it is odd, for the note
// at the end of the run, unless an earlier item was noted.
void noteOddItem(DumpState &state, std::int64_t itemStart, OddItem how);

// Reads the first window of the file, so that a file that cannot be read (a
// directory, say) is found before anything is written.
void primeInput(DumpState &state);
