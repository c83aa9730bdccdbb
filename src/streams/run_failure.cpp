#include "streams/run_failure.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "streams/buffer_checks.h"
#include "streams/console.h"
#include "streams/native_names.h"
#include "streams/stream_buffers.h"

#if defined(SYMTEXT_CHECKED)
void invariantBroken(const char *condition, const char *file, int line) {
    std::fprintf(stderr, "symtext: broken invariant at %s:%d: %s\n", file, line, condition);
    std::abort();
}
#endif

void reportFailure(const char *what, const char *reason) {
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
    finishConsole(state);
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
