#include "dumpers/list_kinds.h"

#include <cstdint>

#include "driver/dump_output.h"
#include "symfile/item_frame.h"
#include "symfile/readers.h"

// The count M of both lists is never checked against the length, so a list
// ends as soon as nothing of its item is left, whatever M still promises: a
// hostile count costs no more than the item's own bytes.

// "\t#%08x =%08x" with M and W2, then M entries, each on a line of its own as
// "\t+%08x (%08x) " with E1 and E2 and a name.
void dumpKind6(DumpState &state) {
    std::int64_t itemEnd = openItemFrame(state, 12);
    std::uint32_t count = readBe32(state);
    std::uint32_t w2 = readBe32(state);
    state.remaining -= 12;
    writeBytes(state, "\t#", 2);
    writeHex8(state, count);
    writeBytes(state, " =", 2);
    writeHex8(state, w2);
    writeLineEnd(state);
    for (; count > 0 && state.remaining > 0; --count) {
        std::uint32_t e1 = readBe32(state);
        std::uint32_t e2 = readBe32(state);
        state.remaining -= 8;
        writeBytes(state, "\t+", 2);
        writeHex8(state, e1);
        writeBytes(state, " (", 2);
        writeHex8(state, e2);
        writeBytes(state, ") ", 2);
        dumpCountedName(state, state.remaining);
        writeLineEnd(state);
    }
    closeItemFrame(state, itemEnd);
}

// "\t%08x #%08x %08x" with W1, M and W3, then M names, each on a line of its
// own after two tabs. The shortest item taken is 20 bytes, although the words
// alone end at 16.
void dumpKind11(DumpState &state) {
    std::int64_t itemEnd = openItemFrame(state, 20);
    std::uint32_t w1 = readBe32(state);
    std::uint32_t count = readBe32(state);
    std::uint32_t w3 = readBe32(state);
    state.remaining -= 16;
    writeChar(state, '\t');
    writeHex8(state, w1);
    writeBytes(state, " #", 2);
    writeHex8(state, count);
    writeChar(state, ' ');
    writeHex8(state, w3);
    for (; count > 0 && state.remaining > 0; --count) {
        writeLineEnd(state);
        writeBytes(state, "\t\t", 2);
        dumpCountedName(state, state.remaining);
    }
    closeItemFrame(state, itemEnd);
}
