#include "symfile/item_frame.h"

#include <cstddef>

#include "streams/run_end.h"
#include "text/line_text.h"
#include "text/number_text.h"

void dumpTrailingBytes(DumpState &state) {
    if (state.remaining <= 0) {
        return;
    }
    constexpr char kTrailing[] = "\t?? pad ?? ";
    auto n = static_cast<std::size_t>(state.remaining);
    const unsigned char *data = readBytes(state, n);
    char *out = reserveOutput(state, textRoom(kTrailing) + n * kHexByteRoom.size);
    char *p = putLiteral(out, kTrailing);
    for (std::size_t i = 0; i < n; ++i) {
        p = putHexByte(p, data[i]);
    }
    commitOutput(state, p);
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
    p = putDecimal(putLiteral(p, " cannot be "), static_cast<std::uint16_t>(state.remaining));
    *putLiteral(p, " bytes long") = '\0';
    failRun(state, state.input.path, reason);
}
