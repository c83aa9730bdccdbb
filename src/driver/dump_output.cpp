#include "driver/dump_output.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "driver/native_names.h"

namespace {

// Writes the buffer out without ending the run; false when the write failed.
bool drainOutput(DumpState &state) {
    OutputBuffer &out = state.output;
    if (out.len == 0) {
        return true;
    }
    std::size_t written = std::fwrite(out.bytes, 1, out.len, out.file);
    bool ok = written == out.len;
    markOffLimits(out.bytes, out.len);
    out.len = 0;
    return ok;
}

} // namespace

#if defined(SYMTEXT_CHECKED)
void invariantBroken(const char *condition, const char *file, int line) {
    std::fprintf(stderr, "symtext: broken invariant at %s:%d: %s\n", file, line, condition);
    std::abort();
}
#endif

void writeText(DumpState &state, const char *text) { writeBytes(state, text, std::strlen(text)); }

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
    const std::size_t most = state.output.capacity / 2;
    while (n > 0) {
        std::size_t block = n < most ? n : most;
        char *out = reserveOutput(state, block * 2);
        for (std::size_t i = 0; i < block; ++i) {
            putHexByte(out + 2 * i, data[i]);
        }
        commitOutput(state, out + block * 2);
        data += block;
        n -= block;
    }
}

void writeHexBytesRepeated(DumpState &state, unsigned char b, std::int64_t count) {
    for (std::int64_t i = 0; i < count; ++i) {
        writeBytes(state, kHexPairs.pairs[b], 2);
    }
}

void drainConsole(DumpState &state) {
    ConsoleBuffer &console = state.console;
    if (console.len != 0) {
        std::fwrite(console.bytes, 1, console.len, console.file);
        console.len = 0;
    }
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

void finishConsole(DumpState &state) {
    drainConsole(state);
    // A list longer than stdio's buffer is written straight through, and a
    // failure of that write shows only in the error flag.
    if (std::fflush(state.console.file) != 0 || std::ferror(state.console.file)) {
        reportFailure("standard output", std::strerror(errno));
        endProcess(1);
    }
}

void reportFailure(const char *what, const char *reason) {
    std::fflush(stdout);
    const char *parts[] = {"symtext: ", what, reason != nullptr ? ": " : "", reason != nullptr ? reason : "",
                           "\n"};
    std::size_t total = 0;
    for (const char *part : parts) {
        total += std::strlen(part);
    }
    // One write for the whole line, so that it arrives whole.
    char *line = static_cast<char *>(std::malloc(total));
    if (line == nullptr) {
        for (const char *part : parts) {
            writeStandardError(part, std::strlen(part));
        }
        return;
    }
    char *end = line;
    for (const char *part : parts) {
        std::size_t n = std::strlen(part);
        std::memcpy(end, part, n);
        end += n;
    }
    writeStandardError(line, total);
    std::free(line);
}

void failRun(DumpState &state, const char *what, int err) {
    // The kinds listed so far go out before the message, as they came first.
    drainConsole(state);
    std::fflush(state.console.file);
    reportFailure(what, err != 0 ? std::strerror(err) : "unknown error");
    if (state.output.file != nullptr) {
        // Keep what was dumped before the failure; a second failure here has
        // nothing left to report.
        drainOutput(state);
        std::fclose(state.output.file);
        state.output.file = nullptr;
    }
    endProcess(1);
}

void endRun(DumpState &state, int status) {
    if (state.output.file != nullptr) {
        closeDumpFile(state);
    }
    finishConsole(state);
    endProcess(status);
}
