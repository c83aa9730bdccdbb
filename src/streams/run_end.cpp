#include "streams/run_end.h"

#include <cstdint>
#include <cstring>

#include "streams/console.h"
#include "streams/dump_writer.h"
#include "streams/run_failure.h"
#include "text/line_text.h"
#include "text/number_text.h"

namespace {

// The note on a file that fell short, in text, which the dump leaves as it is:
// a header cut off is left out, and every byte read past the end reads 0xFF.
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

} // namespace

void endRun(DumpState &state, int status, const char *message) {
    if (state.output.file != nullptr) {
        closeDumpFile(state);
    }
    // The kinds come before any message, as they were met first.
    finishConsole(state);
    char note[kShortInputNoteRoom];
    if (message == nullptr && state.input.shortItemStart >= 0) {
        message = putShortInputNote(state.input, note);
    }
    if (message != nullptr) {
        reportFailure(state.input.path, message);
    }
    if (state.console.error != 0) {
        reportFailure("standard output", std::strerror(state.console.error));
        status = 1;
    }
    endProcess(status);
}
