#include "symfile/item_frame.h"

#include <cstddef>

#include "streams/run_end.h"
#include "text/line_text.h"
#include "text/number_text.h"

namespace {

// Reads count bytes and writes each as two hex digits.
void dumpHexBytes(DumpState &state, std::int32_t count) {
    while (count > 0) {
        const unsigned char *data = nullptr;
        std::size_t n = readBytes(state, &data, static_cast<std::size_t>(count));
        writeHexBytes(state, data, n);
        count -= static_cast<std::int32_t>(n);
    }
}

} // namespace

void dumpCountedNameSlow(DumpState &state, std::uint8_t n) {
    const CountText &countText = kCountTexts.counts[n];
    writeBytes(state, countText.text, countText.size);
    for (std::size_t left = n; left > 0;) {
        // Characters past the end of the input read as the byte 0xFF, written
        // as it stands like any other character.
        const unsigned char *data = nullptr;
        std::size_t got = readBytes(state, &data, left);
        char *out = reserveOutput(state, nameTextRoom(got));
        commitOutput(state, putNameText(out, data, got));
        left -= got;
    }
    if (std::int32_t pad = 3 - n % 4; pad == 0) {
        writeBytes(state, kNameClose, 1); // the closing quote alone
    } else {
        writeLiteral(state, kNameClose);
        dumpHexBytes(state, pad);
    }
}

void dumpTrailingBytes(DumpState &state) {
    if (state.remaining <= 0) {
        return;
    }
    writeLiteral(state, "\t?? pad ?? ");
    dumpHexBytes(state, state.remaining);
    state.remaining = 0;
}

void abortItem(DumpState &state) {
    writeLiteral(state, "?????");
    // "item at 00000E: kind 7 cannot be 20 bytes long": the item named by its
    // offset as its header line shows it. Nothing of it has been charged yet,
    // so remaining is still its length.
    char reason[textRoom("item at ", kHexRoom, ": kind ", kDecimalRoom, " cannot be ", kDecimalRoom,
                         " bytes long") +
                1];
    char *p = putOffset(putLiteral(reason, "item at "), static_cast<std::uint64_t>(state.itemStart + 2));
    p = putDecimal(putLiteral(p, ": kind "), state.kind);
    p = putDecimal(putLiteral(p, " cannot be "), static_cast<std::uint32_t>(state.remaining));
    *putLiteral(p, " bytes long") = '\0';
    endRun(state, 1, reason);
}
