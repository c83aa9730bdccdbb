// Numbers as the dump writes them, put straight into a buffer: no state, no
// I/O. Each put function stores its text at p and returns the place after
// it; some store a few bytes past their text, as each one says, so the caller
// reserves the room its field names below.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

constexpr char kHexDigits[] = "0123456789abcdef";
constexpr char kHexDigitsUpper[] = "0123456789ABCDEF";

// The two hex digits of every byte value.
struct HexPairTable {
    char pairs[256][2];
};
extern const HexPairTable kHexPairs;      // lowercase
extern const HexPairTable kHexPairsUpper; // uppercase

// The two decimal digits of every number below 100.
struct DecimalPairTable {
    char pairs[100][2];
};
extern const DecimalPairTable kDecimalPairs;

// The decimal text of every number below 1000 with its length in the last
// byte, so that one fixed copy puts any of them: item lengths and kinds
// mostly lie there, and their number of digits varies at random. Without it
// a run takes 2.7 % more instructions on the standard benchmark mix and 3.9 %
// on the dense one (callgrind, 6 MiB of each).
struct SmallDecimalTable {
    char entries[1000][4];
};
extern const SmallDecimalTable kSmallDecimals;

// The most any number takes with the widths used here: 64 bits in hex.
constexpr std::size_t kMaxNumberWidth = 16;

// The room a field takes in a reservation: what its put function may store.
// The shipped build trusts these rooms, as the texts are put with no test for
// room; the checked build holds every reservation to them, and stops on a
// store past one.
struct FieldRoom {
    std::size_t size;
};
constexpr FieldRoom kHexByteRoom{2};           // putHexByte
constexpr FieldRoom kHex8Room{8};              // putHex8
constexpr FieldRoom kHexRoom{kMaxNumberWidth}; // putHex, fill included
constexpr FieldRoom kDecimalRoom{5};           // putDecimal, its fixed copy included

// Puts the two hex digits of b at p and returns the place after them.
inline char *putHexByte(char *p, unsigned char b) {
    std::memcpy(p, kHexPairs.pairs[b], 2);
    return p + 2;
}

// How many hex digits value takes, at least one: its significant bits
// rounded up to whole digits, value | 1 giving zero its one digit ({fmt}'s
// form). 4.6 % fewer instructions on the standard benchmark mix, 4.3 % on the
// dense one, than the loop that other compilers take (callgrind, 6 MiB of
// each); a binary search on the digits would save 3.7 % and 3.5 %.
inline int hexDigitCount(std::uint64_t value) {
#if defined(__GNUC__)
    return (67 - __builtin_clzll(value | 1)) / 4;
#else
    int digits = 1;
    while ((value >>= 4) != 0) {
        ++digits;
    }
    return digits;
#endif
}

// Puts the low digits hex digits of value, most significant first.
inline char *putHexDigits(char *p, std::uint64_t value, int digits, const HexPairTable &table) {
    if (digits % 2 != 0) {
        *p++ = table.pairs[(value >> (4 * (digits - 1))) & 0xF][1];
    }
    for (int shift = 4 * (digits & ~1) - 8; shift >= 0; shift -= 8) {
        std::memcpy(p, table.pairs[(value >> shift) & 0xFF], 2);
        p += 2;
    }
    return p;
}

// Puts value in hex, right-aligned in at least width columns of fill. width
// is at most kMaxNumberWidth; the fill is laid over all of kHexRoom first.
inline char *putHex(char *p, std::uint64_t value, int width, char fill, const HexPairTable &table) {
    int digits = hexDigitCount(value);
    std::memset(p, fill, kHexRoom.size); // the digits are written over it
    return putHexDigits(p + (digits < width ? width - digits : 0), value, digits, table);
}

// A word in lowercase hex without leading zeros ("%x"), storing up to kHexRoom.
inline char *putHexBare(char *p, std::uint32_t value) { return putHex(p, value, 1, '0', kHexPairs); }

// A word in lowercase hex right-aligned in eight columns of spaces ("%8x"),
// storing up to kHexRoom.
inline char *putHexRight8(char *p, std::uint32_t value) { return putHex(p, value, 8, ' ', kHexPairs); }

// Puts a 16-bit value in decimal ("%u"), storing up to kDecimalRoom: every
// number the dump writes in decimal, an item's length or kind, is one.
inline char *putDecimal(char *p, std::uint16_t value) {
    if (value < 1000) {
        const char *entry = kSmallDecimals.entries[value];
        std::memcpy(p, entry, 4); // the length byte lands past the digits
        return p + entry[3];
    }
    // Four or five digits: two pairs, and a first digit for five.
    char *end = p + (value >= 10000 ? 5 : 4);
    std::memcpy(end - 2, kDecimalPairs.pairs[value % 100], 2);
    std::memcpy(end - 4, kDecimalPairs.pairs[value / 100 % 100], 2);
    if (value >= 10000) {
        *p = static_cast<char>('0' + value / 10000);
    }
    return end;
}

// An offset in the symbol file as the dump writes it ("%06X"): at least six
// uppercase hex digits, up to kHexRoom. Offsets grow item by item, so the
// test on their size goes the same way for millions of items in a row: 5.0 %
// fewer instructions on the standard benchmark mix, 8.0 % on the dense one,
// than counting the digits of every offset (callgrind, 6 MiB of each).
inline char *putOffset(char *p, std::uint64_t offset) {
    return offset <= 0xFFFFFF ? putHexDigits(p, offset, 6, kHexPairsUpper)
                              : putHexDigits(p, offset, hexDigitCount(offset), kHexPairsUpper);
}

// A word as eight lowercase hex digits ("%08x"), the commonest field.
inline char *putHex8(char *p, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        p = putHexByte(p, static_cast<unsigned char>(value >> shift));
    }
    return p;
}
