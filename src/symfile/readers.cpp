#include "symfile/readers.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "streams/run_failure.h"

namespace {

// Where missing bytes are read from. A long run of them, a body cut off by
// the end of the input, takes a read per block.
struct MissingBytes {
    unsigned char bytes[512];
};
constexpr MissingBytes makeMissingBytes() {
    MissingBytes missing{};
    for (unsigned char &b : missing.bytes) {
        b = 0xFF;
    }
    return missing;
}
constexpr MissingBytes kMissing = makeMissingBytes();

} // namespace

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

std::size_t readMissingBytes(DumpState &state, const unsigned char **data, std::size_t max) {
    state.input.readPastEnd = true;
    *data = kMissing.bytes;
    return max < sizeof kMissing.bytes ? max : sizeof kMissing.bytes;
}

// Reads up to width bytes, most significant first.
std::uint32_t readBigEndianSlow(DumpState &state, int width) {
    std::uint32_t value = 0;
    for (int have = 0; have < width;) {
        const unsigned char *data = nullptr;
        std::size_t n = readBytes(state, &data, static_cast<std::size_t>(width - have));
        for (std::size_t i = 0; i < n; ++i) {
            value = value << 8 | data[i];
        }
        have += static_cast<int>(n);
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

void noteShortInput(DumpState &state, std::int64_t itemStart, bool inHeader) {
    InputStream &in = state.input;
    in.readPastEnd = false;
    if (in.shortItemStart < 0) {
        in.shortItemStart = itemStart;
        in.shortInHeader = inHeader;
    }
}

void primeInput(DumpState &state) { refillInput(state); }
