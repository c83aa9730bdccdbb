#include "streams/stream_buffers.h"

#include <cstdio>

#include "streams/buffer_checks.h"

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
    if (console.len != 0) {
        std::fwrite(console.bytes, 1, console.len, console.file);
        console.len = 0;
    }
}
