// The text of a counted name: "[%2d]\"" for its count, then its bytes as
// they stand, except that each line feed becomes CR LF, the closing quote,
// and, when it has a pad, two tabs and the pad's bytes in hex.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "text/line_text.h"
#include "text/number_text.h"

// The text that opens a counted name, for every count. Eight bytes an entry,
// so that one fixed copy takes any of them: 1.9 % fewer instructions than a
// copy of the exact size on the standard mix, 1.3 % on the dense one
// (callgrind, 6 MiB of each benchmark mix, as for every figure below).
struct CountText {
    char text[7];
    unsigned char size;
};
struct CountTextTable {
    CountText counts[256];
};
extern const CountTextTable kCountTexts;
static_assert(sizeof(CountText) == 8, "a count text is put with one fixed copy of 8 bytes");

// A name's bytes, each line feed as CR LF: up to two characters a byte.
inline char *putNameText(char *p, const unsigned char *data, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        if (data[i] == '\n') {
            p = putLineEnd(p);
        } else {
            *p++ = static_cast<char>(data[i]);
        }
    }
    return p;
}
constexpr std::size_t nameTextRoom(std::size_t n) { return n * kLineEndSize; }

// The fast form of putNameText, for names whose bytes lie in a window with
// room after them. Without a line feed the bytes are copied in fixed steps
// of 32 and 16 bytes, which may load and store up to kNameCopySlack bytes
// past the name: the caller leaves that room in the window and in the
// output. A copy of the exact length costs more for names this short than
// the bytes it saves: the fixed steps take 2.8 % fewer instructions on the
// standard mix, 1.9 % on the dense one.
constexpr std::size_t kNameCopySlack = 32;

// Whether a line feed is among the first n of the bytes at data. With SSE2,
// as on every x86-64 machine, names of up to 32 bytes are searched in two
// comparisons of 16 bytes, in the kNameCopySlack bytes the caller leaves
// readable; the C library's search, the way on every other machine, costs a
// call: 2.7 % more instructions on the standard mix, 1.4 % on the dense one.
inline bool holdsLineFeed(const unsigned char *data, std::size_t n) {
#if defined(__SSE2__)
    static_assert(kNameCopySlack >= 32, "the search loads 32 bytes");
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

inline char *putNameTextFast(char *p, const unsigned char *data, std::size_t n) {
    if (holdsLineFeed(data, n)) {
        return putNameText(p, data, n);
    }
    static_assert(kNameCopySlack >= 32, "the copy stores 32 bytes for any name up to 32");
    if (n <= 32) {
        std::memcpy(p, data, 32);
    } else {
        for (std::size_t i = 0; i < n; i += 16) {
            std::memcpy(p + i, data + i, 16);
        }
    }
    return p + n;
}

// What follows a name's characters: its closing quote, then, when it has a
// pad, two tabs and the pad's hex. The hex of three bytes is always put, and
// the pad's kept.
constexpr char kNameClose[] = "\"\t\t";
constexpr std::size_t kNameCloseRoom = textRoom(kNameClose, kHexByteRoom, kHexByteRoom, kHexByteRoom);

// How many of those bytes count, by the number of pad bytes.
constexpr std::size_t nameCloseSize(std::size_t pad) {
    return pad == 0 ? 1 : sizeof kNameClose - 1 + kHexByteRoom.size * pad;
}

// The room a name of n characters takes: its count text, its text with the
// copy's slack, and the bytes after it.
constexpr std::size_t countedNameRoom(std::size_t n) {
    return sizeof(CountText) + nameTextRoom(n) + kNameCopySlack + kNameCloseRoom;
}

// Puts the text of the name whose n characters lie at chars, followed by its
// pad bytes and kNameCopySlack bytes that may be read, into countedNameRoom(n)
// bytes at out. Returns the end of the text.
inline char *putCountedName(char *out, const unsigned char *chars, std::size_t n, std::size_t pad) {
    const CountText &countText = kCountTexts.counts[n];
    std::memcpy(out, countText.text, sizeof countText);
    char *p = putNameTextFast(out + countText.size, chars, n);
    putHexByte(putHexByte(putHexByte(putLiteral(p, kNameClose), chars[n]), chars[n + 1]), chars[n + 2]);
    return p + nameCloseSize(pad);
}
