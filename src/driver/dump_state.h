// The one record of run state shared by the driver and every dumper.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// Bytes kept before the read position when the input buffer is refilled, so
// that the item frame can seek back to an item's end after a counted name or
// list entry ran past it (a name and its entry words take at most 264 bytes).
constexpr std::size_t kInputKeepBack = 512;
constexpr std::size_t kInputBufferSize = 256 * 1024;
constexpr std::size_t kOutputBufferSize = 256 * 1024;
constexpr std::size_t kConsoleBufferSize = 16 * 1024;

// The symbol file, read through a window of its bytes. The offset of
// bytes[pos] in the file is windowStart + pos; bytes[pos..len) are unread.
struct InputStream {
    std::FILE *file;
    const char *path;
    std::int64_t windowStart;
    std::size_t pos;
    std::size_t len;
    bool atEnd; // the file has no bytes beyond the window
    unsigned char bytes[kInputBufferSize];
};

// The dump file, written through a buffer that is flushed when full and
// before every exit.
struct OutputBuffer {
    std::FILE *file;
    std::size_t len;
    char bytes[kOutputBufferSize];
};

// The kinds of opaque items, listed on standard output through a buffer of
// their own: a C library call per item would cost more than the item's whole
// dump. It is written out when full and before every exit.
struct ConsoleBuffer {
    std::size_t len;
    char bytes[kConsoleBufferSize];
};

struct DumpState {
    InputStream input;
    OutputBuffer output;
    ConsoleBuffer console;
    std::int32_t remaining; // bytes of the current item not yet accounted for
    std::uint16_t kind;     // kind of the current item
    bool inQuote;           // the raw dump has a quoted printable run open
};
