#include "streams/console.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "streams/run_failure.h"
#include "streams/stream_buffers.h"

void finishConsole(DumpState &state) {
    drainConsole(state);
    // A list longer than stdio's buffer is written straight through, and a
    // failure of that write shows only in the error flag.
    if (std::fflush(state.console.file) != 0 || std::ferror(state.console.file)) {
        reportFailure("standard output", std::strerror(errno));
        endProcess(1);
    }
}
