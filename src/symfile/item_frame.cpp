#include "symfile/item_frame.h"

#include <cstddef>
#include <cstring>

#include "driver/dump_output.h"
#include "symfile/readers.h"

namespace {

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
constexpr CountTextTable kCountTexts = makeCountTextTable();

// Reads count bytes and writes each as two hex digits; a byte the input lacks
// reads as 0xFF.
void dumpHexBytes(DumpState &state, std::int32_t count) {
    while (count > 0) {
        const unsigned char *data = nullptr;
        std::size_t n = takeInput(state, &data, static_cast<std::size_t>(count));
        if (n == 0) {
            writeHexBytesRepeated(state, 0xFF, count);
            return;
        }
        writeHexBytes(state, data, n);
        count -= static_cast<std::int32_t>(n);
    }
}

// Puts name bytes at p as they stand, except that each line feed becomes
// CR LF, and returns the place after them: up to two characters a byte.
//
// Without a line feed the bytes are copied in fixed steps of 32 and 16 bytes,
// which may carry up to 31 bytes past the name on both sides: the caller
// leaves that room in the window and in the output. A copy of the exact
// length costs more for names this short than the bytes it saves.
constexpr std::size_t kNameCopySlack = 32;
char *putNameBytes(char *p, const unsigned char *data, std::size_t n) {
    if (std::memchr(data, '\n', n) == nullptr) {
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

} // namespace

void dumpCountedName(DumpState &state, std::int32_t &count) {
    std::uint8_t n = readByte(state);
    const CountText &countText = kCountTexts.counts[n];
    std::int32_t pad = 3 - n % 4;
    count -= n + pad + 1;
    const unsigned char *data = nullptr;
    const InputStream &in = state.input;
    if (in.len - in.pos >= std::size_t{n} + 3 && in.pos + n + kNameCopySlack <= kInputBufferSize) {
        // The name and three bytes after it are in the window: the usual
        // case, written with one reservation and no branch on the pad. Room
        // for the count text, two characters for each name byte, a quote,
        // two tabs and the hex of three bytes, of which the pad's own are
        // kept: "\"" alone without a pad, else "\"\t\t" and its hex.
        takeInput(state, &data, static_cast<std::size_t>(n + pad));
        char *out = reserveOutput(state, sizeof countText + 2 * std::size_t{n} + kNameCopySlack + 9);
        std::memcpy(out, countText.text, sizeof countText);
        char *p = putNameBytes(out + countText.size, data, n);
        std::memcpy(p, "\"\t\t", 3);
        putHexByte(putHexByte(putHexByte(p + 3, data[n]), data[n + 1]), data[n + 2]);
        static const unsigned char kClosingSize[4] = {1, 5, 7, 9}; // by pad
        commitOutput(state, p + kClosingSize[pad]);
        return;
    }
    writeBytes(state, countText.text, countText.size);
    std::int32_t left = n;
    while (left > 0) {
        std::size_t got = takeInput(state, &data, static_cast<std::size_t>(left));
        if (got == 0) {
            // Characters past the end of the input read as the byte 0xFF,
            // written as it stands like any other character.
            for (; left > 0; --left) {
                writeChar(state, '\xFF');
            }
            break;
        }
        writeNameBytes(state, data, got);
        left -= static_cast<std::int32_t>(got);
    }
    writeChar(state, '"');
    if (pad != 0) {
        writeBytes(state, "\t\t", 2);
        dumpHexBytes(state, pad);
    }
}

void dumpTrailingBytes(DumpState &state) {
    if (state.remaining <= 0) {
        return;
    }
    writeText(state, "\t?? pad ?? ");
    dumpHexBytes(state, state.remaining);
    state.remaining = 0;
}

void abortItem(DumpState &state) {
    writeText(state, "?????");
    endRun(state, 1);
}
