#include "streams/console.h"

#include <cstdio>

#include "streams/stream_buffers.h"

void finishConsole(DumpState &state) {
    drainConsole(state);
    if (state.console.error == 0) {
        std::fflush(state.console.file);
        noteConsoleFailure(state);
    }
}
