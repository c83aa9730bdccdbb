// The frame shared by the dumpers of kinds with a layout: the length test,
// counted names, the bytes the layout leaves unexplained and the jump to the
// item's end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "driver/dump_output.h"
#include "driver/dump_state.h"
#include "symfile/readers.h"

// The text that opens a counted name, "[%2d]\"", for every count. Eight bytes
// an entry, so that one fixed copy takes any of them.
struct CountText {
    char text[7];
    unsigned char size;
};
struct CountTextTable {
    CountText counts[256];
};
constexpr CountTextTable makeCountTextTable() {
    CountTextTable table{};
    for (int n = 0; n < 256; ++n) {
        CountText &entry = table.counts[n];
        unsigned char i = 0;
        entry.text[i++] = '[';
        if (n >= 100) {
            entry.text[i++] = static_cast<char>('0' + n / 100);
        }
        entry.text[i++] = n >= 10 ? static_cast<char>('0' + n / 10 % 10) : ' ';
        entry.text[i++] = static_cast<char>('0' + n % 10);
        entry.text[i++] = ']';
        entry.text[i++] = '"';
        entry.size = i;
    }
    return table;
}
inline constexpr CountTextTable kCountTexts = makeCountTextTable();
static_assert(sizeof(CountText) == 8, "a count text is put with one fixed copy of 8 bytes");

// Puts name bytes at p as they stand, except that each line feed becomes
// CR LF, and returns the place after them: up to two characters a byte.
//
// Without a line feed the bytes are copied in fixed steps of 32 and 16 bytes,
// which may carry up to 31 bytes past the name on both sides: the caller
// leaves that room in the window and in the output. A copy of the exact
// length costs more for names this short than the bytes it saves.
constexpr std::size_t kNameCopySlack = 32;

// The room a name of n characters takes in the dump buffer when the window
// holds it whole: its count text, two characters for each byte and the
// copy's slack, then "\"\t\t" and the hex of the three bytes after it.
constexpr std::size_t nameRoom(std::size_t n) { return sizeof(CountText) + 2 * n + kNameCopySlack + 3 + 6; }
static_assert(nameRoom(255) <= kLeastSizes.output, "the longest name must fit the smallest dump buffer");

// Whether a line feed is among the first n of the bytes at data. With SSE2,
// as on every x86-64 machine, names of up to 32 bytes are searched in two
// comparisons of 16 bytes, in the 32 bytes the caller leaves readable; the C
// library's search, the way on every other machine, costs a call.
inline bool holdsLineFeed(const unsigned char *data, std::size_t n) {
#if defined(__SSE2__)
    if (n <= 32) {
        const __m128i lineFeeds = _mm_set1_epi8('\n');
        __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data));
        __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + 16));
        auto found = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(low, lineFeeds))) |
                     static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(high, lineFeeds))) << 16;
        std::uint32_t inName = n == 32 ? ~std::uint32_t{0} : (std::uint32_t{1} << n) - 1;
        return (found & inName) != 0;
    }
#endif
    return std::memchr(data, '\n', n) != nullptr;
}

inline char *putNameBytes(char *p, const unsigned char *data, std::size_t n) {
    if (!holdsLineFeed(data, n)) {
        if (n <= 32) {
            std::memcpy(p, data, 32);
        } else {
            for (std::size_t i = 0; i < n; i += 16) {
                std::memcpy(p + i, data + i, 16);
            }
        }
        return p + n;
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (data[i] == '\n') {
            *p++ = '\r';
        }
        *p++ = static_cast<char>(data[i]);
    }
    return p;
}

// The rest of a counted name of n characters whose count byte has been read
// and charged, when the window does not hold it whole.
void dumpCountedNameSlowly(DumpState &state, std::uint8_t n);

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
        dumpCountedNameSlowly(state, n);
        return;
    }
    // Written with one reservation and no branch on the pad: the hex of the
    // three bytes after the name is always put, and the pad's own are kept,
    // "\"" alone without a pad, else "\"\t\t" and its hex.
    const CountText &countText = kCountTexts.counts[n];
    const unsigned char *data = in.bytes + in.pos;
    in.pos += static_cast<std::size_t>(n + pad);
    char *out = reserveOutput(state, nameRoom(n));
    std::memcpy(out, countText.text, sizeof countText);
    char *p = putNameBytes(out + countText.size, data, n);
    std::memcpy(p, "\"\t\t", 3);
    putHexByte(putHexByte(putHexByte(p + 3, data[n]), data[n + 1]), data[n + 2]);
    static constexpr unsigned char kClosingSize[4] = {1, 5, 7, 9}; // by pad
    commitOutput(state, p + kClosingSize[pad]);
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
