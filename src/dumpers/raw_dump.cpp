#include "dumpers/raw_dump.h"

#include <cstddef>

#include "driver/dump_output.h"
#include "symfile/readers.h"

namespace {

const char kHexDigits[] = "0123456789abcdef";

// Dumps a run of body bytes. Each byte writes at most four characters (a
// closing quote and tab, then two hex digits), so room is reserved once per
// block rather than per byte.
void dumpRawBytes(DumpState &state, const unsigned char *data, std::size_t n) {
    constexpr std::size_t kBlock = kOutputBufferSize / 4;
    bool inQuote = state.inQuote;
    while (n > 0) {
        std::size_t block = n < kBlock ? n : kBlock;
        char *out = reserveOutput(state, block * 4);
        char *p = out;
        for (std::size_t i = 0; i < block; ++i) {
            unsigned char b = data[i];
            if (isPrintable(b)) {
                if (!inQuote) {
                    inQuote = true;
                    *p++ = '\t';
                    *p++ = '"';
                }
                *p++ = static_cast<char>(b);
            } else {
                if (inQuote) {
                    inQuote = false;
                    *p++ = '"';
                    *p++ = '\t';
                }
                *p++ = kHexDigits[b >> 4];
                *p++ = kHexDigits[b & 0xF];
            }
        }
        state.output.len += static_cast<std::size_t>(p - out);
        data += block;
        n -= block;
    }
    state.inQuote = inQuote;
}

} // namespace

bool isPrintable(unsigned char b) { return b >= 0x20 && b <= 0x7E; }

void dumpRawItem(DumpState &state) {
    writeKindToConsole(state.kind);
    if (state.remaining < 4) {
        // The next header is read right after this one, whatever the length.
        writeText(state, "?????");
        return;
    }
    state.remaining -= 4;
    state.inQuote = false;
    while (state.remaining > 0) {
        const unsigned char *data = nullptr;
        std::size_t n = takeInput(state, &data, static_cast<std::size_t>(state.remaining));
        if (n == 0) {
            // The input ended inside the body: each missing byte reads as 0xFF.
            static const unsigned char kMissing = 0xFF;
            dumpRawBytes(state, &kMissing, 1);
            writeHexBytesRepeated(state, 0xFF, state.remaining - 1);
            state.remaining = 0;
            break;
        }
        dumpRawBytes(state, data, n);
        state.remaining -= static_cast<std::int32_t>(n);
    }
}
