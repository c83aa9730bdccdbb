#include "symfile/readers.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "driver/dump_output.h"

// The refill keeps the last kInputKeepBack bytes of the window, so that a
// short seek backwards stays inside it.
bool refillInput(DumpState &state) {
    InputStream &in = state.input;
    if (in.pos < in.len) {
        return true;
    }
    if (in.atEnd) {
        return false;
    }
    std::size_t keep = in.len < kInputKeepBack ? in.len : kInputKeepBack;
    std::memmove(in.bytes, in.bytes + in.len - keep, keep);
    in.windowStart += static_cast<std::int64_t>(in.len - keep);
    in.pos = keep;
    in.len = keep;
    std::size_t got = std::fread(in.bytes + keep, 1, in.capacity - keep, in.file);
    if (got == 0) {
        if (std::ferror(in.file)) {
            failRun(state, in.path, errno);
        }
        in.atEnd = true;
        return false;
    }
    in.len += got;
    return true;
}

// Reads up to width bytes, most significant first; each byte the input lacks
// counts as 0xFF.
std::uint32_t readBigEndianSlow(DumpState &state, int width) {
    InputStream &in = state.input;
    unsigned char field[4];
    int have = 0;
    while (have < width && refillInput(state)) {
        std::size_t step = in.len - in.pos;
        if (step > static_cast<std::size_t>(width - have)) {
            step = static_cast<std::size_t>(width - have);
        }
        std::memcpy(field + have, in.bytes + in.pos, step);
        in.pos += step;
        have += static_cast<int>(step);
    }
    std::uint32_t value = 0;
    for (int i = 0; i < width; ++i) {
        value = (value << 8) | (i < have ? field[i] : 0xFFu);
    }
    return value;
}

void seekInputSlow(DumpState &state, std::int64_t target) {
    InputStream &in = state.input;
    if (target < in.windowStart) {
        // The kept bytes cover the longest seek back, so this cannot happen;
        // should it, the run ends rather than dump from the wrong place.
        failRun(state, in.path, EINVAL);
    }
    // Read forward up to the target; the input need not be seekable.
    while (target > in.windowStart + static_cast<std::int64_t>(in.len)) {
        in.pos = in.len;
        if (!refillInput(state)) {
            // Past the end: every later read meets the end of the input.
            in.windowStart = target;
            in.pos = 0;
            in.len = 0;
            return;
        }
    }
    in.pos = static_cast<std::size_t>(target - in.windowStart);
}

void primeInput(DumpState &state) { refillInput(state); }
