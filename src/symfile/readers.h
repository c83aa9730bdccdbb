// Big-endian field readers over the symbol file. Reads past the end of the
// input are not errors: every missing byte reads as 0xFF and nothing moves.
// readBytes alone applies that rule; every other reader goes through it
// whenever the window does not hold what it reads.
#pragma once

#include <cstddef>
#include <cstdint>

#include "driver/dump_state.h"

// Offset in the symbol file of the next byte to be read.
inline std::int64_t inputOffset(const DumpState &state) {
    return state.input.windowStart + static_cast<std::int64_t>(state.input.pos);
}

// Refills the window once every byte of it has been read; false at the end of
// the input. Callers check the window first, so that this call is rare.
bool refillInput(DumpState &state);

// What a read gets once the input has ended: up to max bytes of 0xFF. The
// input notes that it was read past its end.
std::size_t readMissingBytes(DumpState &state, const unsigned char **data, std::size_t max);

// Points *data at the next bytes, at least one and at most max (max > 0),
// and returns how many. They are the input's own, and the read moves past
// them; or, once the input has ended, bytes of 0xFF, and nothing moves.
inline std::size_t readBytes(DumpState &state, const unsigned char **data, std::size_t max) {
    InputStream &in = state.input;
    if (in.pos >= in.len && !refillInput(state)) {
        return readMissingBytes(state, data, max);
    }
    std::size_t n = in.len - in.pos;
    if (n > max) {
        n = max;
    }
    *data = in.bytes + in.pos;
    in.pos += n;
    return n;
}

inline std::uint8_t readByte(DumpState &state) {
    InputStream &in = state.input;
    if (in.pos < in.len) {
        return in.bytes[in.pos++];
    }
    const unsigned char *data = nullptr;
    readBytes(state, &data, 1);
    return *data;
}

// Reads a field of width bytes (1 to 4) that the window does not hold whole.
std::uint32_t readBigEndianSlow(DumpState &state, int width);

// The big-endian word at b, written so that the compiler loads it whole.
inline std::uint32_t be32At(const unsigned char *b) {
    return std::uint32_t{b[0]} << 24 | std::uint32_t{b[1]} << 16 | std::uint32_t{b[2]} << 8 | b[3];
}

// Reads count big-endian words in a row: straight from the window when it
// holds them all, which is nearly always, with the read position moved once.
inline void readBe32s(DumpState &state, std::uint32_t *words, int count) {
    InputStream &in = state.input;
    if (in.len - in.pos < 4 * static_cast<std::size_t>(count)) {
        for (int i = 0; i < count; ++i) {
            words[i] = readBigEndianSlow(state, 4);
        }
        return;
    }
    const unsigned char *b = in.bytes + in.pos;
    in.pos += 4 * static_cast<std::size_t>(count);
    for (int i = 0; i < count; ++i, b += 4) {
        words[i] = be32At(b);
    }
}

inline std::uint32_t readBe32(DumpState &state) {
    std::uint32_t word = 0;
    readBe32s(state, &word, 1);
    return word;
}

// Moves to an absolute offset outside the window.
void seekInputSlow(DumpState &state, std::int64_t target);

// Moves to an absolute offset, which may lie past the end of the input, or
// back by up to kInputKeepBack bytes.
inline void seekInput(DumpState &state, std::int64_t target) {
    InputStream &in = state.input;
    std::int64_t at = target - in.windowStart;
    if (at >= 0 && at <= static_cast<std::int64_t>(in.len)) {
        in.pos = static_cast<std::size_t>(at);
        return;
    }
    seekInputSlow(state, target);
}

// Notes the item that starts at itemStart as the place where the file fell
// short, unless an earlier one was: it read bytes the file lacks, or, with
// inHeader, the file ended inside its header. Clears readPastEnd.
void noteShortInput(DumpState &state, std::int64_t itemStart, bool inHeader);

// Reads the first bytes of the file, so that a file that cannot be read (a
// directory, say) is found before anything is written.
void primeInput(DumpState &state);
