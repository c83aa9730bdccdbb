// The frame shared by the dumpers of kinds with a layout: the length test,
// counted names, the bytes the layout leaves unexplained and the jump to the
// item's end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "driver/dump_state.h"
#include "streams/buffer_checks.h"
#include "streams/dump_writer.h"
#include "symfile/readers.h"
#include "text/name_text.h"

// What follows a name's characters: its closing quote, then, when it has a
// pad, two tabs and the pad's hex. The fast path puts the hex of three bytes
// and keeps the pad's.
constexpr char kNameClose[] = "\"\t\t";
constexpr std::size_t kNameCloseRoom = textRoom(kNameClose, kHexByteRoom, kHexByteRoom, kHexByteRoom);

// How many of those bytes count, by the number of pad bytes. Read from one
// constant, without a branch or a table in memory.
constexpr std::uint32_t closeSizeOf(int pad) {
    return pad == 0 ? 1 : sizeof kNameClose - 1 + kHexByteRoom.size * pad;
}
constexpr std::uint32_t kNameCloseSizes =
    closeSizeOf(0) | closeSizeOf(1) << 8 | closeSizeOf(2) << 16 | closeSizeOf(3) << 24;
inline std::size_t nameCloseSize(std::int32_t pad) { return kNameCloseSizes >> (8 * pad) & 0xFF; }

// The room a name of n characters takes in the dump buffer when the window
// holds it whole: its count text, its text with the copy's slack, and the
// bytes after it.
constexpr std::size_t nameRoom(std::size_t n) {
    return sizeof(CountText) + nameTextRoom(n) + kNameCopySlack + kNameCloseRoom;
}
static_assert(nameRoom(255) <= kLeastSizes.output, "the longest name must fit the smallest dump buffer");

// The rest of a counted name of n characters whose count byte has been read
// and charged, when the window does not hold it whole.
void dumpCountedNameSlow(DumpState &state, std::uint8_t n);

// Reads one counted name (count byte, characters, pad to a multiple of four)
// and writes it as [n]"chars" with any pad bytes in hex after two tabs. The
// whole name is charged to count before its characters are read.
inline void dumpCountedName(DumpState &state, std::int32_t &count) {
    std::uint8_t n = readByte(state);
    std::int32_t pad = 3 - n % 4;
    count -= n + pad + 1;
    InputStream &in = state.input;
    // The usual case needs the name and three bytes after it in the window,
    // and the copy's slack inside the window's room.
    if (in.len - in.pos < std::size_t{n} + 3 || in.pos + n + kNameCopySlack > in.capacity) {
        dumpCountedNameSlow(state, n);
        return;
    }
    // Written with one reservation and no branch on the pad: the hex of the
    // three bytes after the name is always put, and the pad's own are kept.
    const CountText &countText = kCountTexts.counts[n];
    const unsigned char *data = in.bytes + in.pos;
    in.pos += static_cast<std::size_t>(n + pad);
    char *out = reserveOutput(state, nameRoom(n));
    std::memcpy(out, countText.text, sizeof countText);
    char *p = putNameTextFast(out + countText.size, data, n);
    char *hex = putLiteral(p, kNameClose);
    putHexByte(putHexByte(putHexByte(hex, data[n]), data[n + 1]), data[n + 2]);
    commitOutput(state, p + nameCloseSize(pad));
}

// Writes the item's unexplained bytes after "\t?? pad ?? " in hex. Nothing is
// written or read when none are left, nor when the layout overran the item.
void dumpTrailingBytes(DumpState &state);

// Ends the run on an item whose length its kind cannot have: "?????" and
// exit status 1, after everything written so far has reached its file.
[[noreturn]] void abortItem(DumpState &state);

// The frame's start: aborts unless the item is at least minimumLength bytes
// long, and returns the offset of the item's end.
inline std::int64_t openItemFrame(DumpState &state, std::int32_t minimumLength) {
    if (state.remaining < minimumLength) {
        abortItem(state);
    }
    // The input stands just past the 4-byte header.
    return inputOffset(state) + state.remaining - 4;
}

// The frame's end: the trailing bytes, then the input moved to itemEnd. A
// name or entry may have run past the item, by kLongestSeekBack at most.
inline void closeItemFrame(DumpState &state, std::int64_t itemEnd) {
    if (state.remaining > 0) {
        dumpTrailingBytes(state);
    }
    SYMTEXT_CHECK(inputOffset(state) - itemEnd <= static_cast<std::int64_t>(kLongestSeekBack));
    seekInput(state, itemEnd);
}
