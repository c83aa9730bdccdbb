// The one record of run state shared by the driver and every dumper.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// The room each buffer has. A run uses all of it; tests and the fuzz target
// may use less (see BufferSizes), so that refills and flushes fall often.
// The window and the dump buffer hold well beyond what one item can read and
// write (see kLeastSizes), so that the refill or flush that comes between two
// items when less than that is left moves a large block.
constexpr std::size_t kInputBufferSize = 256 * 1024;
constexpr std::size_t kOutputBufferSize = 512 * 1024;
constexpr std::size_t kConsoleBufferSize = 16 * 1024;
// The least console buffer a run may use, for a few kinds.
constexpr std::size_t kLeastConsoleSize = 32;

// How much of each buffer a run uses.
struct BufferSizes {
    std::size_t input;
    std::size_t output;
    std::size_t console;
};
constexpr BufferSizes kShippedSizes = {kInputBufferSize, kOutputBufferSize, kConsoleBufferSize};

// The symbol file, read through a window of its bytes. The offset of
// bytes[pos] in the file is windowStart + pos. bytes[0..len) are the file's;
// bytes[pos..limit) may be read: up to len, or, once the end of the file is
// in the window, up to capacity, the bytes past len laid as 0xFF.
struct InputStream {
    std::FILE *file;
    const char *path;
    std::int64_t windowStart;
    std::size_t pos;
    std::size_t len;
    std::size_t limit;
    std::size_t capacity; // bytes[0..capacity) are the window's room
    bool atEnd;           // the file has no bytes beyond len
    int error;            // the errno of a failed read; the file is read no further
    unsigned char bytes[kInputBufferSize];
};

// The dump file, written through a buffer that is flushed when full and
// before every exit.
struct OutputBuffer {
    std::FILE *file;
    std::size_t len;
    std::size_t capacity;
    std::size_t itemEnd;     // checked builds: the end of the room made for the item
    std::size_t reservedEnd; // checked builds: the end of the last reservation
    char bytes[kOutputBufferSize];
};

// The kinds of opaque items, listed on standard output through a buffer of
// their own: a C library call per item would cost more than the item's whole
// dump. It is written out when full and before every exit.
struct ConsoleBuffer {
    int error; // the first failure to write there; nothing is written after it
    std::size_t len;
    std::size_t capacity;
    char bytes[kConsoleBufferSize];
};

// What the note at the end of a run says of the first item that is not as
// its length says.
enum class OddItem : unsigned char {
    none,
    headerCut,      // the file ends inside its header
    bodyCut,        // it reads bytes past the end of the file
    readsPastItsEnd // it reads into the bytes after it, which are dumped again
};

struct DumpState {
    InputStream input;
    OutputBuffer output;
    ConsoleBuffer console;
    std::int64_t itemStart; // offset of the current item's first byte
    std::int32_t remaining; // bytes of the current item not yet accounted for
    std::uint16_t kind;     // kind of the current item
    OddItem oddItem;        // the first odd item, for the note at the end of the run
    std::int64_t oddItemStart;
};
