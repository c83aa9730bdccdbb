#include "dumpers/fixed_kinds.h"

#include <cstdint>

#include "driver/dump_output.h"
#include "symfile/item_frame.h"
#include "symfile/readers.h"

// The longest fixed part of any line here, with room for the fill that
// putHex lays down before its digits.
constexpr std::size_t kFixedLineRoom = 64;

// Four words and a name: "\t(%08x) %08x ^%x:@%08x " then the name. The
// shortest item taken is 16 bytes, although the words alone end at 20.
void dumpKind4(DumpState &state) {
    std::int64_t itemEnd = openItemFrame(state, 16);
    std::uint32_t w[4];
    readBe32s(state, w, 4);
    char *out = reserveOutput(state, kFixedLineRoom);
    char *p = putHex8(putLiteral(out, "\t("), w[0]);
    p = putHex8(putLiteral(p, ") "), w[1]);
    p = putHex(putLiteral(p, " ^"), w[2], 1, '0', kHexPairs);
    p = putHex8(putLiteral(p, ":@"), w[3]);
    *p++ = ' ';
    commitOutput(state, p);
    state.remaining -= 20;
    dumpCountedName(state, state.remaining);
    closeItemFrame(state, itemEnd);
}

// One word and a name: "\t(%08x) " then the name.
void dumpKind5(DumpState &state) {
    std::int64_t itemEnd = openItemFrame(state, 8);
    std::uint32_t w1 = readBe32(state);
    char *out = reserveOutput(state, kFixedLineRoom);
    commitOutput(state, putLiteral(putHex8(putLiteral(out, "\t("), w1), ") "));
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
    readBe32s(state, w, 5);
    char *out = reserveOutput(state, kFixedLineRoom);
    char *p = putHex(putLiteral(out, "\t"), w[0], 1, '0', kHexPairs);
    p = putHex(putLiteral(p, " "), w[1], 8, ' ', kHexPairs);
    p = putHex8(putLiteral(p, " ("), w[2]);
    p = putHex(putLiteral(p, ") "), w[3], 1, '0', kHexPairs);
    p = putHex(putLiteral(p, " "), w[4], 1, '0', kHexPairs);
    commitOutput(state, p);
}
