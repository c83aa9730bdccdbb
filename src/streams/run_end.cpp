#include "streams/run_end.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "streams/buffer_checks.h"
#include "streams/dump_writer.h"
#include "streams/stream_buffers.h"
#include "system/system_calls.h"
#include "text/line_text.h"
#include "text/number_text.h"

namespace {

// "symtext: <what>: <reason>" and a line end, written with one call so that
// it arrives whole, from a buffer of its own: the end of a run needs no
// memory it does not have. A what too long for the line, an absurdly long
// path, is cut at the start of a character and ends in "...", so the reason
// is always there.
void writeMessage(const char *what, const char *reason) {
    constexpr char kStart[] = "symtext: ";
    constexpr char kCut[] = "...";
    char line[kLongestErrorText];
    // Every reason is strerror's or the program's own short text.
    std::size_t reasonSize = std::min(std::strlen(reason), sizeof line / 2);
    std::size_t whatSize = std::strlen(what);
    std::size_t room = sizeof line - (sizeof kStart - 1) - 2 - reasonSize - 1;
    char *p = putLiteral(line, kStart);
    bool cut = whatSize > room;
    if (cut) {
        whatSize = room - (sizeof kCut - 1);
        while (whatSize > 0 && (static_cast<unsigned char>(what[whatSize]) & 0xC0) == 0x80) {
            --whatSize; // a UTF-8 continuation byte
        }
    }
    std::memcpy(p, what, whatSize);
    p += whatSize;
    if (cut) {
        p = putLiteral(p, kCut);
    }
    p = putLiteral(p, ": ");
    std::memcpy(p, reason, reasonSize);
    p += reasonSize;
    *p++ = '\n';
    writeStandardError(line, static_cast<std::size_t>(p - line));
}

// The note on a file that fell short, which the dump leaves as it is: a
// header cut off is left out, and every byte read past the end reads 0xFF.
constexpr char kHeaderCutBefore[] = "the file ends inside the header of the item at ";
constexpr char kHeaderCutAfter[] = "; the dump leaves it out";
constexpr char kBodyCutBefore[] = "the item at ";
constexpr char kBodyCutAfter[] = " runs past the end of the file; its missing bytes read as 0xFF";
constexpr std::size_t kShortInputNoteRoom = textRoom(kBodyCutBefore, kHexRoom, kBodyCutAfter) + 1;
static_assert(textRoom(kHeaderCutBefore, kHexRoom, kHeaderCutAfter) < kShortInputNoteRoom,
              "both notes fit one buffer");

// Puts the note at text; the item is named by its offset as its header line
// shows it.
const char *putShortInputNote(const InputStream &in, char (&text)[kShortInputNoteRoom]) {
    auto offset = static_cast<std::uint64_t>(in.shortItemStart + 2);
    char *p = in.shortInHeader
                  ? putLiteral(putOffset(putLiteral(text, kHeaderCutBefore), offset), kHeaderCutAfter)
                  : putLiteral(putOffset(putLiteral(text, kBodyCutBefore), offset), kBodyCutAfter);
    *p = '\0';
    return text;
}

// The end both ways take. The dump is written out and closed first, and the
// console list flushed, so that everything the run made is where it goes
// before anything is said of it. A failure met on the way is reported after
// the one that ended the run, if one did.
[[noreturn]] void finishRun(DumpState &state, int status, const char *what, const char *reason) {
    const char *dumpFailure = nullptr;
    OutputBuffer &out = state.output;
    if (out.file != nullptr) {
        drainOutput(state);
        int err = std::ferror(out.file) ? (errno != 0 ? errno : EIO) : 0;
        if (std::fclose(out.file) != 0 && err == 0) {
            err = errno != 0 ? errno : EIO;
        }
        out.file = nullptr;
        if (err != 0) {
            dumpFailure = std::strerror(err);
        }
    }
    drainConsole(state);
    if (state.console.error == 0) {
        std::fflush(stdout);
        noteConsoleFailure(state);
    }
    char note[kShortInputNoteRoom];
    if (what != nullptr) {
        writeMessage(what, reason);
    } else if (dumpFailure == nullptr && state.input.shortItemStart >= 0) {
        writeMessage(state.input.path, putShortInputNote(state.input, note));
    }
    if (dumpFailure != nullptr) {
        writeMessage(kDumpFileName, dumpFailure);
        status = 1;
    }
    if (state.console.error != 0) {
        writeMessage("standard output", std::strerror(state.console.error));
        status = 1;
    }
    endProcess(status);
}

} // namespace

void endRun(DumpState &state, int status) { finishRun(state, status, nullptr, nullptr); }

void failRun(DumpState &state, const char *what, const char *reason) { finishRun(state, 1, what, reason); }

#if defined(SYMTEXT_CHECKED)
void invariantBroken(const char *condition, const char *file, int line) {
    std::fprintf(stderr, "symtext: broken invariant at %s:%d: %s\n", file, line, condition);
    std::abort();
}
#endif
