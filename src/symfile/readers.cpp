#include "symfile/readers.h"

#include <cstdio>
#include <cstring>

#include "streams/run_end.h"
#include "system/system_calls.h"

void refillInput(DumpState &state, std::size_t n) {
    InputStream &in = state.input;
    SYMTEXT_CHECK(n <= in.capacity && in.pos <= in.len);
    markInLimits(in.bytes, in.capacity);
    std::memmove(in.bytes, in.bytes + in.pos, in.limit - in.pos);
    in.windowStart += static_cast<std::int64_t>(in.pos);
    in.len -= in.pos;
    in.limit -= in.pos;
    in.pos = 0;
    if (!in.atEnd && in.error == 0) {
        std::size_t want = in.capacity - in.len;
        std::size_t got = std::fread(in.bytes + in.len, 1, want, in.file);
        if (got < want && std::ferror(in.file)) {
            in.error = failedCallError();
        } else if (got < want) {
            in.atEnd = true;
        }
        in.len += got;
        in.limit = in.len;
    }
    if (in.atEnd) {
        std::memset(in.bytes + in.limit, 0xFF, in.capacity - in.limit);
        in.limit = in.capacity;
    }
    // Only a failed read, now or before, leaves the window short.
    if (in.limit < n) {
        SYMTEXT_CHECK(in.error != 0);
        failRunOnError(state, in.path, in.error);
    }
}

void noteOddItem(DumpState &state, std::int64_t itemStart, OddItem how) {
    if (state.oddItem == OddItem::none) {
        state.oddItem = how;
        state.oddItemStart = itemStart;
    }
}

void primeInput(DumpState &state) { refillInput(state, 1); }
