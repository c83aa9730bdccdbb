#include "symfile/item_frame.h"

#include <cstddef>
#include <cstring>

#include "driver/dump_output.h"
#include "symfile/readers.h"

namespace {

// Reads count bytes and writes each as two hex digits; a byte the input lacks
// reads as 0xFF.
void dumpHexBytes(DumpState &state, std::int32_t count) {
    while (count > 0) {
        const unsigned char *data = nullptr;
        std::size_t n = takeInput(state, &data, static_cast<std::size_t>(count));
        if (n == 0) {
            writeHexBytesRepeated(state, 0xFF, count);
            return;
        }
        writeHexBytes(state, data, n);
        count -= static_cast<std::int32_t>(n);
    }
}

} // namespace

void dumpCountedNameSlowly(DumpState &state, std::uint8_t n) {
    const CountText &countText = kCountTexts.counts[n];
    std::int32_t pad = 3 - n % 4;
    const unsigned char *data = nullptr;
    writeBytes(state, countText.text, countText.size);
    std::int32_t left = n;
    while (left > 0) {
        std::size_t got = takeInput(state, &data, static_cast<std::size_t>(left));
        if (got == 0) {
            // Characters past the end of the input read as the byte 0xFF,
            // written as it stands like any other character.
            for (; left > 0; --left) {
                writeChar(state, '\xFF');
            }
            break;
        }
        writeNameBytes(state, data, got);
        left -= static_cast<std::int32_t>(got);
    }
    writeChar(state, '"');
    if (pad != 0) {
        writeBytes(state, "\t\t", 2);
        dumpHexBytes(state, pad);
    }
}

void dumpTrailingBytes(DumpState &state) {
    if (state.remaining <= 0) {
        return;
    }
    writeText(state, "\t?? pad ?? ");
    dumpHexBytes(state, state.remaining);
    state.remaining = 0;
}

void abortItem(DumpState &state) {
    writeText(state, "?????");
    endRun(state, 1);
}
