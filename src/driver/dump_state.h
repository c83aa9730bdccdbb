// The one record of run state shared by the driver and every dumper.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// Bytes kept before the read position when the input window is refilled, so
// that the item frame can seek back to an item's end after a counted name or
// list entry ran past it.
constexpr std::size_t kInputKeepBack = 512;
// The longest seek back: from the end of a list entry of 264 bytes (two
// words, a count of 255, its characters) that starts on its item's last byte.
constexpr std::size_t kLongestSeekBack = 8 + 1 + 255 - 1;
static_assert(kLongestSeekBack < kInputKeepBack, "the kept bytes must cover the longest seek back");

// The room each buffer has. A run uses all of it; tests and the fuzz target
// may use less (see BufferSizes), so that refills and flushes fall often.
constexpr std::size_t kInputBufferSize = 256 * 1024;
constexpr std::size_t kOutputBufferSize = 256 * 1024;
constexpr std::size_t kConsoleBufferSize = 16 * 1024;

// How much of each buffer a run uses.
struct BufferSizes {
    std::size_t input;
    std::size_t output;
    std::size_t console;
};
constexpr BufferSizes kShippedSizes = {kInputBufferSize, kOutputBufferSize, kConsoleBufferSize};
// The least a run may use: a window that holds the kept bytes and as many
// again; a dump buffer for the longest text reserved at once, a counted name
// of 255 line feeds; a console buffer for a few kinds.
constexpr BufferSizes kLeastSizes = {2 * kInputKeepBack, 576, 32};

// The symbol file, read through a window of its bytes. The offset of
// bytes[pos] in the file is windowStart + pos; bytes[pos..len) are unread.
struct InputStream {
    std::FILE *file;
    const char *path;
    std::int64_t windowStart;
    std::size_t pos;
    std::size_t len;
    std::size_t capacity; // bytes[0..capacity) are the window's room
    bool atEnd;           // the file has no bytes beyond the window
    bool readPastEnd;     // a read has met the end of the file
    // Where the file first fell short, for the note at the end of the run:
    // the start of the item that read bytes the file lacks (-1: none yet),
    // and whether the file ended inside that item's header.
    std::int64_t shortItemStart;
    bool shortInHeader;
    unsigned char bytes[kInputBufferSize];
};

// The dump file, written through a buffer that is flushed when full and
// before every exit.
struct OutputBuffer {
    std::FILE *file;
    std::size_t len;
    std::size_t capacity;
    std::size_t reservedEnd; // checked builds: the end of the last reservation
    char bytes[kOutputBufferSize];
};

// The kinds of opaque items, listed on standard output through a buffer of
// their own: a C library call per item would cost more than the item's whole
// dump. It is written out when full and before every exit.
struct ConsoleBuffer {
    std::FILE *file; // standard output, but in tests
    int error;       // the first failure to write there; nothing is written after it
    std::size_t len;
    std::size_t capacity;
    char bytes[kConsoleBufferSize];
};

struct DumpState {
    InputStream input;
    OutputBuffer output;
    ConsoleBuffer console;
    std::int64_t itemStart; // offset of the current item's first byte
    std::int32_t remaining; // bytes of the current item not yet accounted for
    std::uint16_t kind;     // kind of the current item
    bool inQuote;           // the raw dump has a quoted printable run open
};
