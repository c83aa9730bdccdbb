#include "streams/stream_buffers.h"

#include <cerrno>
#include <cstdio>

#include "streams/buffer_checks.h"
#include "system/system_calls.h"

void drainOutput(DumpState &state) {
    OutputBuffer &out = state.output;
    if (out.len != 0) {
        std::fwrite(out.bytes, 1, out.len, out.file);
        markOffLimits(out.bytes, out.len);
        out.len = 0;
    }
}

void drainConsole(DumpState &state) {
    ConsoleBuffer &console = state.console;
    if (console.len != 0 && console.error == 0) {
        std::fwrite(console.bytes, 1, console.len, stdout);
        noteConsoleFailure(state);
    }
    console.len = 0;
}

void noteConsoleFailure(DumpState &state) {
    // A list longer than stdio's buffer is written straight through, and a
    // failure of that write shows only in the error flag, with errno set
    // then: it is kept, as later calls may change errno.
    ConsoleBuffer &console = state.console;
    if (console.error == 0 && std::ferror(stdout)) {
        int err = writeFailure(errno);
        console.error = err != 0 ? err : EIO;
    }
}
