#include "driver/dump_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

const char kHexLower[] = "0123456789abcdef";
const char kHexUpper[] = "0123456789ABCDEF";

// Writes value in hex into the end of digits[] and returns its first digit.
char *formatHex(char *end, std::uint64_t value, int minDigits, const char *table) {
    char *p = end;
    do {
        *--p = table[value & 0xF];
        value >>= 4;
    } while (value != 0);
    while (end - p < minDigits) {
        *--p = '0';
    }
    return p;
}

void writeHexWith(DumpState &state, std::uint64_t value, int minDigits, const char *table) {
    char digits[32];
    char *end = digits + sizeof digits;
    char *first = formatHex(end, value, minDigits, table);
    writeBytes(state, first, static_cast<std::size_t>(end - first));
}

void writePadded(DumpState &state, char *first, char *end, int width) {
    char *out = reserveOutput(state, static_cast<std::size_t>(width) + 24);
    std::size_t n = static_cast<std::size_t>(end - first);
    std::size_t fill = static_cast<std::size_t>(width) > n ? static_cast<std::size_t>(width) - n : 0;
    std::memset(out, ' ', fill);
    std::memcpy(out + fill, first, n);
    state.output.len += fill + n;
}

// Writes the buffer out without ending the run; false when the write failed.
bool drainOutput(DumpState &state) {
    OutputBuffer &out = state.output;
    if (out.len == 0) {
        return true;
    }
    std::size_t written = std::fwrite(out.bytes, 1, out.len, out.file);
    bool ok = written == out.len;
    out.len = 0;
    return ok;
}

} // namespace

char *reserveOutput(DumpState &state, std::size_t n) {
    if (kOutputBufferSize - state.output.len < n) {
        flushOutput(state);
    }
    return state.output.bytes + state.output.len;
}

void writeBytes(DumpState &state, const char *text, std::size_t n) {
    OutputBuffer &out = state.output;
    while (n > 0) {
        if (out.len == kOutputBufferSize) {
            flushOutput(state);
        }
        std::size_t room = kOutputBufferSize - out.len;
        std::size_t step = n < room ? n : room;
        std::memcpy(out.bytes + out.len, text, step);
        out.len += step;
        text += step;
        n -= step;
    }
}

void writeText(DumpState &state, const char *text) { writeBytes(state, text, std::strlen(text)); }

void writeChar(DumpState &state, char c) {
    if (state.output.len == kOutputBufferSize) {
        flushOutput(state);
    }
    state.output.bytes[state.output.len++] = c;
}

void writeLineEnd(DumpState &state) { writeBytes(state, "\r\n", 2); }

void writeNameBytes(DumpState &state, const unsigned char *data, std::size_t n) {
    const unsigned char *end = data + n;
    while (data < end) {
        const void *found = std::memchr(data, '\n', static_cast<std::size_t>(end - data));
        const unsigned char *stop = found != nullptr ? static_cast<const unsigned char *>(found) : end;
        writeBytes(state, reinterpret_cast<const char *>(data), static_cast<std::size_t>(stop - data));
        if (stop == end) {
            break;
        }
        writeLineEnd(state);
        data = stop + 1;
    }
}

void writeHexBytes(DumpState &state, const unsigned char *data, std::size_t n) {
    constexpr std::size_t kBlock = kOutputBufferSize / 2;
    while (n > 0) {
        std::size_t block = n < kBlock ? n : kBlock;
        char *out = reserveOutput(state, block * 2);
        for (std::size_t i = 0; i < block; ++i) {
            out[2 * i] = kHexLower[data[i] >> 4];
            out[2 * i + 1] = kHexLower[data[i] & 0xF];
        }
        state.output.len += block * 2;
        data += block;
        n -= block;
    }
}

void writeHex(DumpState &state, std::uint64_t value, int minDigits) {
    writeHexWith(state, value, minDigits, kHexLower);
}

void writeHexUpper(DumpState &state, std::uint64_t value, int minDigits) {
    writeHexWith(state, value, minDigits, kHexUpper);
}

void writeHexPadded(DumpState &state, std::uint32_t value, int width) {
    char digits[16];
    char *end = digits + sizeof digits;
    writePadded(state, formatHex(end, value, 1, kHexLower), end, width);
}

void writeDecimal(DumpState &state, std::uint32_t value, int width) {
    char digits[16];
    char *end = digits + sizeof digits;
    char *p = end;
    do {
        *--p = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    writePadded(state, p, end, width);
}

void writeHexBytesRepeated(DumpState &state, unsigned char b, std::int64_t count) {
    const char pair[2] = {kHexLower[b >> 4], kHexLower[b & 0xF]};
    for (std::int64_t i = 0; i < count; ++i) {
        writeBytes(state, pair, 2);
    }
}

void writeKindToConsole(std::uint16_t kind) {
    char digits[8];
    char *end = digits + sizeof digits;
    char *p = end;
    *--p = ' ';
    unsigned value = kind;
    do {
        *--p = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    std::fwrite(p, 1, static_cast<std::size_t>(end - p), stdout);
}

void flushOutput(DumpState &state) {
    if (!drainOutput(state)) {
        failRun(state, kDumpFileName, errno);
    }
}

void closeDumpFile(DumpState &state) {
    flushOutput(state);
    std::FILE *file = state.output.file;
    state.output.file = nullptr;
    if (std::fclose(file) != 0) {
        failRun(state, kDumpFileName, errno);
    }
}

void finishConsole() {
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        reportFailure("standard output", std::strerror(errno));
        endProcess(1);
    }
}

void reportFailure(const char *what, const char *reason) {
    std::fflush(stdout);
    if (reason != nullptr) {
        std::fprintf(stderr, "symtext: %s: %s\n", what, reason);
    } else {
        std::fprintf(stderr, "symtext: %s\n", what);
    }
}

void failRun(DumpState &state, const char *what, int err) {
    reportFailure(what, err != 0 ? std::strerror(err) : "unknown error");
    if (state.output.file != nullptr) {
        // Keep what was dumped before the failure; a second failure here has
        // nothing left to report.
        drainOutput(state);
        std::fclose(state.output.file);
        state.output.file = nullptr;
    }
    std::fflush(stdout);
    endProcess(1);
}

void endRun(DumpState &state, int status) {
    if (state.output.file != nullptr) {
        closeDumpFile(state);
    }
    finishConsole();
    endProcess(status);
}
