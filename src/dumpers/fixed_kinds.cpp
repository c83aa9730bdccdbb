#include "dumpers/fixed_kinds.h"

#include <cstdint>

#include "streams/dump_writer.h"
#include "symfile/item_frame.h"
#include "symfile/readers.h"
#include "text/line_text.h"

// The room of each kind's words, as they are put below.
constexpr std::size_t kKind4WordsRoom =
    textRoom("\t(", kHex8Room, ") ", kHex8Room, " ^", kHexRoom, ":@", kHex8Room, " ");
constexpr std::size_t kKind5WordsRoom = textRoom("\t(", kHex8Room, ") ");
constexpr std::size_t kKind7WordsRoom =
    textRoom("\t", kHexRoom, " ", kHexRoom, " (", kHex8Room, ") ", kHexRoom, " ", kHexRoom);

// Four words and a name: "\t(%08x) %08x ^%x:@%08x " then the name. The
// shortest item taken is 16 bytes, although the words alone end at 20.
void dumpKind4(DumpState &state) {
    std::size_t itemEnd = openItemFrame(state, 16);
    std::uint32_t w1 = readBe32(state);
    std::uint32_t w2 = readBe32(state);
    std::uint32_t w3 = readBe32(state);
    std::uint32_t w4 = readBe32(state);
    state.remaining -= 20;
    char *out = reserveOutput(state, kKind4WordsRoom);
    char *p = putHex8(putLiteral(out, "\t("), w1);
    p = putHex8(putLiteral(p, ") "), w2);
    p = putHexBare(putLiteral(p, " ^"), w3);
    p = putHex8(putLiteral(p, ":@"), w4);
    commitOutput(state, putLiteral(p, " "));
    dumpCountedName(state, state.remaining);
    closeItemFrame(state, itemEnd);
}

// One word and a name: "\t(%08x) " then the name.
void dumpKind5(DumpState &state) {
    std::size_t itemEnd = openItemFrame(state, 8);
    std::uint32_t w1 = readBe32(state);
    state.remaining -= 8;
    char *out = reserveOutput(state, kKind5WordsRoom);
    commitOutput(state, putLiteral(putHex8(putLiteral(out, "\t("), w1), ") "));
    dumpCountedName(state, state.remaining);
    closeItemFrame(state, itemEnd);
}

// Exactly five words, "\t%0x %8x (%08x) %0x %0x". Reading them leaves the
// input at the item's end, so this kind needs no frame.
void dumpKind7(DumpState &state) {
    if (state.remaining != 24) {
        abortItem(state);
    }
    std::uint32_t w1 = readBe32(state);
    std::uint32_t w2 = readBe32(state);
    std::uint32_t w3 = readBe32(state);
    std::uint32_t w4 = readBe32(state);
    std::uint32_t w5 = readBe32(state);
    char *out = reserveOutput(state, kKind7WordsRoom);
    char *p = putHexBare(putLiteral(out, "\t"), w1);
    p = putHexRight8(putLiteral(p, " "), w2);
    p = putHex8(putLiteral(p, " ("), w3);
    p = putHexBare(putLiteral(p, ") "), w4);
    p = putHexBare(putLiteral(p, " "), w5);
    commitOutput(state, p);
}
