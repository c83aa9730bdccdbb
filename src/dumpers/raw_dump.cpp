#include "dumpers/raw_dump.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "streams/console.h"
#include "streams/dump_writer.h"
#include "symfile/readers.h"
#include "text/line_text.h"
#include "text/number_text.h"

namespace {

// The most text one body byte makes: a run's change and two hex digits.
constexpr std::size_t kRawByteRoom = textRoom("\"\t", kHexByteRoom);
// Each byte's table entry holds that many characters, stored whole whatever
// counts of them.
constexpr int kRawEntryChars = 4;
static_assert(kRawEntryChars == kRawByteRoom, "a byte's entry is its longest text");

// What one body byte writes, by whether the byte before it left a quoted run
// open: the run change (an opening tab and quote, or a closing quote and
// tab, or nothing), then the byte itself if printable or its two hex digits.
// Each entry is one number: up to four characters in its low four bytes,
// the first lowest, and how many of them count in the bytes above. One load
// then gives both, the same way on any machine.
constexpr int kQuotedRow = 256; // where the rows for bytes inside a run start
struct RawByteTable {
    std::uint64_t entries[2 * 256]; // [a quoted run is open * 256 + byte]
};
constexpr RawByteTable makeRawByteTable() {
    RawByteTable table{};
    for (int inQuote = 0; inQuote < 2; ++inQuote) {
        for (int b = 0; b < 256; ++b) {
            bool printable = isPrintable(static_cast<unsigned char>(b));
            char text[kRawEntryChars] = {};
            std::uint64_t n = 0;
            if (printable && inQuote == 0) {
                text[n++] = '\t';
                text[n++] = '"';
            } else if (!printable && inQuote == 1) {
                text[n++] = '"';
                text[n++] = '\t';
            }
            if (printable) {
                text[n++] = static_cast<char>(b);
            } else {
                text[n++] = kHexDigits[b >> 4];
                text[n++] = kHexDigits[b & 0xF];
            }
            std::uint64_t entry = n << 32;
            for (int i = 0; i < kRawEntryChars; ++i) {
                entry |= std::uint64_t{static_cast<unsigned char>(text[i])} << (8 * i);
            }
            table.entries[inQuote * kQuotedRow + b] = entry;
        }
    }
    return table;
}
constexpr RawByteTable kRawBytes = makeRawByteTable();

// For every byte, where the row that the byte after it uses starts: whether
// the byte leaves a quoted run open.
struct NextRowTable {
    std::uint16_t start[256];
};
constexpr NextRowTable makeNextRowTable() {
    NextRowTable table{};
    for (int b = 0; b < 256; ++b) {
        table.start[b] = isPrintable(static_cast<unsigned char>(b)) ? kQuotedRow : 0;
    }
    return table;
}
constexpr NextRowTable kNextRow = makeNextRowTable();

// One byte through the tables: all four characters of its entry go out and
// the write position moves on by those that count.
inline char *putRawByte(char *p, unsigned char b, unsigned &row) {
    std::uint64_t entry = kRawBytes.entries[row + b];
    row = kNextRow.start[b];
    for (int i = 0; i < kRawEntryChars; ++i) {
        p[i] = static_cast<char>(entry >> (8 * i));
    }
    return p + (entry >> 32);
}

// Puts n body bytes at p without a branch per byte, four to a turn: the
// bytes of a turn depend on each other only through the write position. A
// byte takes at most four characters; p has room for them all.
inline char *putRawBytes(char *p, const unsigned char *data, std::size_t n, unsigned &row) {
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        for (std::size_t k = 0; k < 4; ++k) {
            p = putRawByte(p, data[i + k], row);
        }
    }
    for (; i < n; ++i) {
        p = putRawByte(p, data[i], row);
    }
    return p;
}

// The longest body, and its text, which the shipped dump buffer takes whole.
constexpr std::size_t kLongestRawBody = 65535 - 4;
static_assert(kLongestRawBody * kRawByteRoom <= kOutputBufferSize, "every body is dumped in one pass");

// Dumps body bytes that come in pieces, with room reserved once per block.
// Kept out of line: inlined, its loop costs the one-pass path of every raw
// item about one per cent in instructions.
[[gnu::noinline]] void dumpRawBytes(DumpState &state, const unsigned char *data, std::size_t n) {
    const std::size_t most = state.output.capacity / kRawByteRoom;
    unsigned row = state.inQuote ? kQuotedRow : 0;
    while (n > 0) {
        std::size_t block = n < most ? n : most;
        commitOutput(state, putRawBytes(reserveOutput(state, block * kRawByteRoom), data, block, row));
        data += block;
        n -= block;
    }
    state.inQuote = row == kQuotedRow;
}

} // namespace

void dumpRawItem(DumpState &state) {
    writeKindToConsole(state, state.kind);
    if (state.remaining < 4) {
        // The next header is read right after this one, whatever the length.
        writeLiteral(state, "?????");
        return;
    }
    state.remaining -= 4;
    auto size = static_cast<std::size_t>(state.remaining);
    InputStream &in = state.input;
    if (size <= in.len - in.pos && size <= state.output.capacity / kRawByteRoom) {
        // The whole body is in the window and its text fits the buffer, the
        // usual case: one pass, which starts outside a quoted run.
        unsigned row = 0;
        commitOutput(state,
                     putRawBytes(reserveOutput(state, size * kRawByteRoom), in.bytes + in.pos, size, row));
        in.pos += size;
        state.remaining = 0;
        return;
    }
    state.inQuote = false;
    while (state.remaining > 0) {
        const unsigned char *data = nullptr;
        std::size_t n = readBytes(state, &data, static_cast<std::size_t>(state.remaining));
        dumpRawBytes(state, data, n);
        state.remaining -= static_cast<std::int32_t>(n);
    }
}
