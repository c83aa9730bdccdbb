#include "dumpers/fixed_kinds.h"

#include <cstdint>

#include "driver/dump_output.h"
#include "symfile/item_frame.h"
#include "symfile/readers.h"

// Four words and a name: "\t(%08x) %08x ^%x:@%08x " then the name. The
// shortest item taken is 16 bytes, although the words alone end at 20.
void dumpKind4(DumpState &state) {
    std::int64_t itemEnd = openItemFrame(state, 16);
    std::uint32_t w1 = readBe32(state);
    std::uint32_t w2 = readBe32(state);
    std::uint32_t w3 = readBe32(state);
    std::uint32_t w4 = readBe32(state);
    writeBytes(state, "\t(", 2);
    writeHex8(state, w1);
    writeBytes(state, ") ", 2);
    writeHex8(state, w2);
    writeBytes(state, " ^", 2);
    writeHex(state, w3, 1);
    writeBytes(state, ":@", 2);
    writeHex8(state, w4);
    writeChar(state, ' ');
    state.remaining -= 20;
    dumpCountedName(state, state.remaining);
    closeItemFrame(state, itemEnd);
}

// One word and a name: "\t(%08x) " then the name.
void dumpKind5(DumpState &state) {
    std::int64_t itemEnd = openItemFrame(state, 8);
    std::uint32_t w1 = readBe32(state);
    writeBytes(state, "\t(", 2);
    writeHex8(state, w1);
    writeBytes(state, ") ", 2);
    state.remaining -= 8;
    dumpCountedName(state, state.remaining);
    closeItemFrame(state, itemEnd);
}

// Exactly five words, "\t%0x %8x (%08x) %0x %0x". Reading them leaves the
// input at the item's end, so this kind needs no frame.
void dumpKind7(DumpState &state) {
    if (state.remaining != 24) {
        abortItem(state);
    }
    std::uint32_t w[5];
    for (std::uint32_t &word : w) {
        word = readBe32(state);
    }
    writeChar(state, '\t');
    writeHex(state, w[0], 1);
    writeChar(state, ' ');
    writeHexPadded(state, w[1], 8);
    writeBytes(state, " (", 2);
    writeHex8(state, w[2]);
    writeBytes(state, ") ", 2);
    writeHex(state, w[3], 1);
    writeChar(state, ' ');
    writeHex(state, w[4], 1);
}
