// The frame shared by the dumpers of kinds with a layout: the length test,
// counted names, the bytes the layout leaves unexplained and the jump to the
// item's end; and how far any item reads, which the item loop makes ready.
#pragma once

#include <cstddef>
#include <cstdint>

#include "driver/dump_state.h"
#include "streams/dump_writer.h"
#include "symfile/readers.h"
#include "text/name_text.h"

constexpr std::size_t kItemHeaderSize = 4; // its length and kind, 16 bits each
constexpr std::size_t kLongestItem = 0xFFFF;

// The furthest an item reads past its end: a list entry that starts on the
// item's last byte, with two words and a counted name of 255 characters,
// whose copy and line-feed search load up to kNameCopySlack bytes past them.
// Every other read ends sooner, the next item's header among them.
constexpr std::size_t kReadPastItem = 2 * 4 + 1 + 255 + kNameCopySlack - 1;
static_assert(kReadPastItem >= 2 * kItemHeaderSize, "the next header lies in reach, whatever the length");

// The bytes an item of the given length can read from the end of its header.
constexpr std::size_t itemReach(std::size_t length) { return length + kReadPastItem - kItemHeaderSize; }

// Reads one counted name (count byte, characters, pad to a multiple of four)
// and writes it as [n]"chars" with any pad bytes in hex after two tabs. The
// whole name is charged to count. Characters past the end of the file are
// the byte 0xFF, written as it stands like any other.
inline void dumpCountedName(DumpState &state, std::int32_t &count) {
    std::uint8_t n = readByte(state);
    std::size_t pad = 3 - n % 4;
    count -= static_cast<std::int32_t>(1 + n + pad);
    const unsigned char *chars = readBytes(state, n + pad);
    char *out = reserveOutput(state, countedNameRoom(n));
    commitOutput(state, putCountedName(out, chars, n, pad));
}

// Writes the item's unexplained bytes after "\t?? pad ?? " in hex. Nothing is
// written or read when none are left, nor when the layout overran the item.
void dumpTrailingBytes(DumpState &state);

// Ends the run on an item whose length its kind cannot have: "?????" and
// exit status 1, after everything written so far has reached its file.
[[noreturn]] void abortItem(DumpState &state);

// The frame's start: aborts unless the item is at least minimumLength bytes
// long, and returns where in the window the item ends.
inline std::size_t openItemFrame(DumpState &state, std::int32_t minimumLength) {
    if (state.remaining < minimumLength) {
        abortItem(state);
    }
    // The input stands just past the header.
    return state.input.pos + static_cast<std::size_t>(state.remaining) - kItemHeaderSize;
}

// The frame's end: the trailing bytes, then the input moved to itemEnd. A
// name or entry may have run past the item, into the items after it or past
// the end of the file, which is noted first.
inline void closeItemFrame(DumpState &state, std::size_t itemEnd) {
    dumpTrailingBytes(state);
    InputStream &in = state.input;
    if (in.pos > in.len) {
        noteOddItem(state, state.itemStart, OddItem::bodyCut);
    } else if (in.pos > itemEnd) {
        noteOddItem(state, state.itemStart, OddItem::readsPastItsEnd);
    }
    in.pos = itemEnd;
}
