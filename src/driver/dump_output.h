// Writing the dump file through the output buffer of DumpState, and the ways
// a run ends. Every line end of the dump file is CR LF, written here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "driver/checks.h"
#include "driver/dump_state.h"

constexpr const char *kDumpFileName = "OutPut.txt";

// The two hex digits of every byte value.
struct HexPairTable {
    char pairs[256][2];
};
constexpr HexPairTable makeHexPairTable(const char *digits) {
    HexPairTable table{};
    for (int b = 0; b < 256; ++b) {
        table.pairs[b][0] = digits[b >> 4];
        table.pairs[b][1] = digits[b & 0xF];
    }
    return table;
}
inline constexpr HexPairTable kHexPairs = makeHexPairTable("0123456789abcdef");
inline constexpr HexPairTable kHexPairsUpper = makeHexPairTable("0123456789ABCDEF");

// Puts the two hex digits of b at p and returns the place after them.
inline char *putHexByte(char *p, unsigned char b) {
    std::memcpy(p, kHexPairs.pairs[b], 2);
    return p + 2;
}

// Writes the buffer out; a failed write ends the run through failRun.
void flushOutput(DumpState &state);

// Every text reaches the dump buffer the same way: room for its longest form
// is reserved, its parts are put through a local pointer, and then the
// buffer is extended to where the pointer ended. Stores through the pointer
// leave the buffer's length alone, so that it is read and written once a
// line, not once a part. Parts may store a few bytes past their text (the
// fill of putHex, the fixed copies of names and numbers), always inside the
// reservation; the checked build holds every store to it.

// Returns room for n bytes at the end of the buffer, flushing it first when
// less is left. n may be anything up to the capacity of the run's buffer.
inline char *reserveOutput(DumpState &state, std::size_t n) {
    OutputBuffer &out = state.output;
    SYMTEXT_CHECK(n <= out.capacity);
    if (out.capacity - out.len < n) {
        flushOutput(state);
    }
#if defined(SYMTEXT_CHECKED)
    out.reservedEnd = out.len + n;
    markInLimits(out.bytes + out.len, n);
#endif
    return out.bytes + out.len;
}

// Extends the buffer to end, which lies inside the last reservation.
inline void commitOutput(DumpState &state, const char *end) {
    OutputBuffer &out = state.output;
    auto len = static_cast<std::size_t>(end - out.bytes);
#if defined(SYMTEXT_CHECKED)
    SYMTEXT_CHECK(len >= out.len && len <= out.reservedEnd);
    markOffLimits(end, out.reservedEnd - len);
#endif
    out.len = len;
}

// A short text as it stands.
inline void writeBytes(DumpState &state, const char *text, std::size_t n) {
    char *out = reserveOutput(state, n);
    std::memcpy(out, text, n);
    commitOutput(state, out + n);
}

inline void writeChar(DumpState &state, char c) { writeBytes(state, &c, 1); }
inline void writeLineEnd(DumpState &state) { writeBytes(state, "\r\n", 2); }
void writeText(DumpState &state, const char *text);
// Name bytes as they stand, except that each line feed becomes CR LF.
void writeNameBytes(DumpState &state, const unsigned char *data, std::size_t n);
// Two lowercase hex digits for each byte ("%02x" a byte).
void writeHexBytes(DumpState &state, const unsigned char *data, std::size_t n);
// The most any number takes with the widths used here: 64 bits in hex.
constexpr std::size_t kMaxNumberWidth = 16;

// The two decimal digits of every number below 100.
struct DecimalPairTable {
    char pairs[100][2];
};
constexpr DecimalPairTable makeDecimalPairTable() {
    DecimalPairTable table{};
    for (int n = 0; n < 100; ++n) {
        table.pairs[n][0] = static_cast<char>('0' + n / 10);
        table.pairs[n][1] = static_cast<char>('0' + n % 10);
    }
    return table;
}
inline constexpr DecimalPairTable kDecimalPairs = makeDecimalPairTable();

// How many hex digits value takes, at least one.
inline int hexDigitCount(std::uint64_t value) {
    int digits = 1;
    if (value >> 32 != 0) {
        digits += 8;
        value >>= 32;
    }
    if (value >> 16 != 0) {
        digits += 4;
        value >>= 16;
    }
    if (value >> 8 != 0) {
        digits += 2;
        value >>= 8;
    }
    return value >> 4 != 0 ? digits + 1 : digits;
}

// How many decimal digits value takes, at least one. putDecimal asks it only
// from 1000 up; up to five digits, as the longest items and the largest kinds
// have, each comparison adds to the count without a branch.
inline int decimalDigitCount(std::uint32_t value) {
    int digits = 1 + (value >= 10) + (value >= 100) + (value >= 1000) + (value >= 10000);
    for (std::uint32_t bound = 100000; value >= bound; bound *= 10) {
        if (++digits == 10) {
            break;
        }
    }
    return digits;
}

// Puts the low digits hex digits of value, most significant first, and
// returns the place after them.
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

// Puts value at p in hex, right-aligned in at least width columns of fill,
// and returns the place after it. width is at most kMaxNumberWidth, and p has
// room for kMaxNumberWidth characters whatever the value.
inline char *putHex(char *p, std::uint64_t value, int width, char fill, const HexPairTable &table) {
    int digits = hexDigitCount(value);
    std::memset(p, fill, kMaxNumberWidth); // the digits are written over it
    return putHexDigits(p + (digits < width ? width - digits : 0), value, digits, table);
}

// The decimal text of every number below 1000 with its length in the last
// byte, so that one fixed copy puts any of them: item lengths and kinds
// mostly lie there, and their number of digits varies at random.
struct SmallDecimalTable {
    char entries[1000][4];
};
constexpr SmallDecimalTable makeSmallDecimalTable() {
    SmallDecimalTable table{};
    for (int n = 0; n < 1000; ++n) {
        char *entry = table.entries[n];
        int size = 0;
        if (n >= 100) {
            entry[size++] = static_cast<char>('0' + n / 100);
        }
        if (n >= 10) {
            entry[size++] = static_cast<char>('0' + n / 10 % 10);
        }
        entry[size++] = static_cast<char>('0' + n % 10);
        entry[3] = static_cast<char>(size);
    }
    return table;
}
inline constexpr SmallDecimalTable kSmallDecimals = makeSmallDecimalTable();

// Puts value at p in decimal ("%u") and returns the place after it. p has
// room for kMaxNumberWidth characters.
inline char *putDecimal(char *p, std::uint32_t value) {
    if (value < 1000) {
        const char *entry = kSmallDecimals.entries[value];
        std::memcpy(p, entry, 4); // the length byte lands past the digits
        return p + entry[3];
    }
    char *end = p + decimalDigitCount(value);
    char *q = end;
    for (; value >= 100; value /= 100) {
        q -= 2;
        std::memcpy(q, kDecimalPairs.pairs[value % 100], 2);
    }
    if (value >= 10) {
        std::memcpy(q - 2, kDecimalPairs.pairs[value], 2);
    } else {
        q[-1] = static_cast<char>('0' + value);
    }
    return end;
}

// A word as eight lowercase hex digits ("%08x"), the commonest field.
inline char *putHex8(char *p, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        p = putHexByte(p, static_cast<unsigned char>(value >> shift));
    }
    return p;
}

// A literal text without its terminating null.
template <std::size_t N> inline char *putLiteral(char *p, const char (&text)[N]) {
    std::memcpy(p, text, N - 1);
    return p + (N - 1);
}

// Two lowercase hex digits for each of count bytes of value b ("%02x").
void writeHexBytesRepeated(DumpState &state, unsigned char b, std::int64_t count);

// Hands what the console buffer holds to its stream. A failed write shows
// in the stream's error flag, which finishConsole checks.
void drainConsole(DumpState &state);

// The longest text of one kind on the console, "65535 ", with the bytes that
// putDecimal may store past it.
constexpr std::size_t kConsoleKindRoom = kMaxNumberWidth + 1;
static_assert(kConsoleKindRoom <= kLeastSizes.console, "a kind's text must fit the smallest console buffer");

// Lists the kind of an opaque item on standard output as "%d ".
inline void writeKindToConsole(DumpState &state, std::uint16_t kind) {
    ConsoleBuffer &console = state.console;
    if (console.capacity - console.len < kConsoleKindRoom) {
        drainConsole(state);
    }
    char *out = console.bytes + console.len;
    char *end = putDecimal(out, kind);
    *end++ = ' ';
    console.len += static_cast<std::size_t>(end - out);
}

// Flushes and closes the dump file, checking both.
void closeDumpFile(DumpState &state);
// Writes out the console buffer, flushes standard output and checks that
// everything written there arrived.
void finishConsole(DumpState &state);

// One line on standard error: "symtext: <what>: <reason>". reason may be null.
void reportFailure(const char *what, const char *reason);

// Ends a run that cannot go on: the message, whatever of the dump can still be
// written, and exit status 1.
[[noreturn]] void failRun(DumpState &state, const char *what, int err);
// Ends the run with the given status after everything buffered is written.
[[noreturn]] void endRun(DumpState &state, int status);
// The end of the process. It stands alone so that a fuzzing build can put
// its own in place and keep the harness alive.
[[noreturn]] void endProcess(int status);
