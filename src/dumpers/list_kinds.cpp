#include "dumpers/list_kinds.h"

#include <cstdint>

#include "streams/dump_writer.h"
#include "symfile/item_frame.h"
#include "symfile/readers.h"
#include "text/line_text.h"

// The count M of both lists is never checked against the length, so a list
// ends as soon as nothing of its item is left, whatever M still promises: a
// hostile count costs no more than the item's own bytes.

// The room of each line's words of kind 6, as they are put below.
constexpr std::size_t kKind6HeadRoom = textRoom("\t#", kHex8Room, " =", kHex8Room, kLineEnd);
constexpr std::size_t kKind6EntryRoom = textRoom("\t+", kHex8Room, " (", kHex8Room, ") ");

// "\t#%08x =%08x" with M and W2, then M entries, each on a line of its own as
// "\t+%08x (%08x) " with E1 and E2 and a name.
void dumpKind6(DumpState &state) {
    std::size_t itemEnd = openItemFrame(state, 12);
    std::uint32_t m = readBe32(state);
    std::uint32_t w2 = readBe32(state);
    state.remaining -= 12;
    char *out = reserveOutput(state, kKind6HeadRoom);
    char *p = putHex8(putLiteral(out, "\t#"), m);
    commitOutput(state, putLineEnd(putHex8(putLiteral(p, " ="), w2)));
    for (std::uint32_t count = m; count > 0 && state.remaining > 0; --count) {
        std::uint32_t e1 = readBe32(state);
        std::uint32_t e2 = readBe32(state);
        state.remaining -= 8;
        out = reserveOutput(state, kKind6EntryRoom);
        p = putHex8(putLiteral(out, "\t+"), e1);
        commitOutput(state, putLiteral(putHex8(putLiteral(p, " ("), e2), ") "));
        dumpCountedName(state, state.remaining);
        writeLineEnd(state);
    }
    closeItemFrame(state, itemEnd);
}

// "\t%08x #%08x %08x" with W1, M and W3, then M names, each on a line of its
// own after two tabs. The shortest item taken is 20 bytes, although the words
// alone end at 16.
void dumpKind11(DumpState &state) {
    std::size_t itemEnd = openItemFrame(state, 20);
    std::uint32_t w1 = readBe32(state);
    std::uint32_t m = readBe32(state);
    std::uint32_t w3 = readBe32(state);
    state.remaining -= 16;
    char *out = reserveOutput(state, kKind11HeadRoom);
    char *p = putHex8(putLiteral(out, "\t"), w1);
    p = putHex8(putLiteral(p, " #"), m);
    commitOutput(state, putHex8(putLiteral(p, " "), w3));
    for (std::uint32_t count = m; count > 0 && state.remaining > 0; --count) {
        writeLiteral(state, kKind11NameBreak);
        dumpCountedName(state, state.remaining);
    }
    closeItemFrame(state, itemEnd);
}
