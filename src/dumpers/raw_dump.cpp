#include "dumpers/raw_dump.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "driver/dump_output.h"
#include "symfile/readers.h"

namespace {

// What one body byte writes, by whether the byte before it left a quoted run
// open: the run change (an opening tab and quote, or a closing quote and
// tab, or nothing), then the byte itself if printable or its two hex digits.
struct RawByteText {
    char text[4];
    std::uint32_t size; // a whole word keeps the entries eight bytes apart
};
struct RawByteTable {
    RawByteText afterByte[2][256]; // [a quoted run is open][byte]
};
constexpr RawByteTable makeRawByteTable() {
    RawByteTable table{};
    for (int inQuote = 0; inQuote < 2; ++inQuote) {
        for (int b = 0; b < 256; ++b) {
            RawByteText &entry = table.afterByte[inQuote][b];
            bool printable = isPrintable(static_cast<unsigned char>(b));
            std::uint32_t n = 0;
            if (printable && inQuote == 0) {
                entry.text[n++] = '\t';
                entry.text[n++] = '"';
            } else if (!printable && inQuote == 1) {
                entry.text[n++] = '"';
                entry.text[n++] = '\t';
            }
            if (printable) {
                entry.text[n++] = static_cast<char>(b);
            } else {
                entry.text[n++] = kHexPairs.pairs[b][0];
                entry.text[n++] = kHexPairs.pairs[b][1];
            }
            entry.size = n;
        }
    }
    return table;
}
constexpr RawByteTable kRawBytes = makeRawByteTable();

// For every byte, the table row that the byte after it uses: whether the
// byte leaves a quoted run open.
struct NextRowTable {
    const RawByteText *rows[256];
};
constexpr NextRowTable makeNextRowTable() {
    NextRowTable table{};
    for (int b = 0; b < 256; ++b) {
        table.rows[b] = kRawBytes.afterByte[isPrintable(static_cast<unsigned char>(b)) ? 1 : 0];
    }
    return table;
}
constexpr NextRowTable kNextRow = makeNextRowTable();

// Dumps body bytes without a branch per byte: each byte copies its whole
// table entry and the write position moves on by what it really takes. A
// byte takes at most four characters, so room is reserved once per block.
void dumpRawBytes(DumpState &state, const unsigned char *data, std::size_t n) {
    constexpr std::size_t kBlock = kOutputBufferSize / 4;
    const RawByteText *row = kRawBytes.afterByte[state.inQuote ? 1 : 0];
    while (n > 0) {
        std::size_t block = n < kBlock ? n : kBlock;
        char *out = reserveOutput(state, block * 4);
        char *p = out;
        std::size_t i = 0;
        // Four bytes a turn: the bytes of a turn depend on each other only
        // through the write position.
        for (; i + 4 <= block; i += 4) {
            for (std::size_t k = 0; k < 4; ++k) {
                unsigned char b = data[i + k];
                const RawByteText &byte = row[b];
                row = kNextRow.rows[b];
                std::memcpy(p, byte.text, 4);
                p += byte.size;
            }
        }
        for (; i < block; ++i) {
            unsigned char b = data[i];
            const RawByteText &byte = row[b];
            row = kNextRow.rows[b];
            std::memcpy(p, byte.text, 4);
            p += byte.size;
        }
        state.output.len += static_cast<std::size_t>(p - out);
        data += block;
        n -= block;
    }
    state.inQuote = row == kRawBytes.afterByte[1];
}

} // namespace

void dumpRawItem(DumpState &state) {
    writeKindToConsole(state, state.kind);
    if (state.remaining < 4) {
        // The next header is read right after this one, whatever the length.
        writeText(state, "?????");
        return;
    }
    state.remaining -= 4;
    state.inQuote = false;
    while (state.remaining > 0) {
        const unsigned char *data = nullptr;
        std::size_t n = takeInput(state, &data, static_cast<std::size_t>(state.remaining));
        if (n == 0) {
            // The input ended inside the body: each missing byte reads as 0xFF.
            static const unsigned char kMissing = 0xFF;
            dumpRawBytes(state, &kMissing, 1);
            writeHexBytesRepeated(state, 0xFF, state.remaining - 1);
            state.remaining = 0;
            break;
        }
        dumpRawBytes(state, data, n);
        state.remaining -= static_cast<std::int32_t>(n);
    }
}
