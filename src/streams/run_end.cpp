#include "streams/run_end.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "streams/buffer_checks.h"
#include "streams/console.h"
#include "streams/dump_writer.h"
#include "system/system_calls.h"
#include "text/line_text.h"
#include "text/message_name.h"
#include "text/number_text.h"

namespace {

// "symtext: <what>: <reason>" and a line end, written with one call so that
// it arrives whole, from a buffer of its own: the end of a run needs no
// memory it does not have. what is shown as putMessageName shows a name, on
// one line, and cut to what room the reason leaves, so that the reason is
// always there.
void writeMessage(const char *what, const char *reason) {
    constexpr char kStart[] = "symtext: ";
    char line[kLongestErrorText];
    // Every reason is strerror's or the program's own short text.
    std::size_t reasonSize = std::min(std::strlen(reason), sizeof line / 2);
    std::size_t room = sizeof line - (sizeof kStart - 1) - 2 - reasonSize - 1;
    static_assert(sizeof line / 2 - (sizeof kStart - 1) - 3 >= kLeastMessageNameRoom, "a name has room");
    char *p = putMessageName(putLiteral(line, kStart), room, what);
    p = putLiteral(p, ": ");
    std::memcpy(p, reason, reasonSize);
    p += reasonSize;
    *p++ = '\n';
    writeStandardError(line, static_cast<std::size_t>(p - line));
}

// The note on the first odd item, which the dump leaves as it is: a header
// cut off is left out, every byte read past the end of the file reads 0xFF,
// and bytes an item reads past its own end are dumped again as the items
// after it. An item is named by its offset as its header line shows it, that
// of its kind field; a header cut short, which has no header line, by the
// offset where it starts.
struct OddItemNote {
    std::string_view before;
    std::string_view after;
    int shownPastStart; // the offset shown less the item's start
};
constexpr OddItemNote kOddItemNotes[] = {
    {"", "", 0}, // none
    {"the file ends inside the header that starts at ", "; the dump leaves it out", 0},
    {"the item at ", " runs past the end of the file; its missing bytes read as 0xFF", 2},
    {"the item at ", " reads past its own end; the bytes after it are read into it and dumped again", 2},
};
static_assert(static_cast<std::size_t>(OddItem::readsPastItsEnd) + 1 ==
                  sizeof kOddItemNotes / sizeof kOddItemNotes[0],
              "a note for every odd item");
constexpr std::size_t oddItemNoteRoom() {
    std::size_t most = 0;
    for (const OddItemNote &note : kOddItemNotes) {
        most = std::max(most, note.before.size() + note.after.size());
    }
    return most + kHexRoom.size + 1;
}
constexpr std::size_t kOddItemNoteRoom = oddItemNoteRoom();

const char *putOddItemNote(const DumpState &state, char (&text)[kOddItemNoteRoom]) {
    const OddItemNote &note = kOddItemNotes[static_cast<std::size_t>(state.oddItem)];
    char *p = text;
    p = std::copy(note.before.begin(), note.before.end(), p);
    p = putOffset(p, static_cast<std::uint64_t>(state.oddItemStart + note.shownPastStart));
    p = std::copy(note.after.begin(), note.after.end(), p);
    *p = '\0';
    return text;
}

// Writes the dump out and closes it, and returns the error of the first of
// those that failed, or 0.
int closeDump(DumpState &state) {
    OutputBuffer &out = state.output;
    if (out.file == nullptr) {
        return 0;
    }
    drainOutput(state);
    int error = std::ferror(out.file) ? failedCallError() : 0;
    if (std::fclose(out.file) != 0 && error == 0) {
        error = failedCallError();
    }
    out.file = nullptr;
    return error;
}

// The end every run takes. The dump is written out and closed first, and the
// console list flushed, so that everything the run made is where it goes
// before anything is said of it. A failure met on the way is reported after
// the one that ended the run, if one did; the note on an odd item only when
// nothing failed.
[[noreturn]] void finishRun(DumpState &state, int status, const char *what, const char *reason) {
    int dumpError = closeDump(state);
    finishConsole(state);
    int consoleError = state.console.error;
    char note[kOddItemNoteRoom];
    if (what != nullptr) {
        writeMessage(what, reason);
    } else if (dumpError == 0 && consoleError == 0 && state.oddItem != OddItem::none) {
        writeMessage(state.input.path, putOddItemNote(state, note));
    }
    if (dumpError != 0) {
        writeMessage(kDumpFileName, std::strerror(dumpError));
        status = 1;
    }
    if (consoleError != 0) {
        writeMessage("standard output", std::strerror(consoleError));
        status = 1;
    }
    endProcess(status);
}

} // namespace

void endRun(DumpState &state, int status) { finishRun(state, status, nullptr, nullptr); }

void failRun(DumpState &state, const char *what, const char *reason) { finishRun(state, 1, what, reason); }

void failRunOnError(DumpState &state, const char *what, int error) {
    finishRun(state, 1, what, std::strerror(error));
}

#if defined(SYMTEXT_CHECKED)
void invariantBroken(const char *condition, const char *file, int line) {
    std::fprintf(stderr, "symtext: broken invariant at %s:%d: %s\n", file, line, condition);
    std::abort();
}
#endif
