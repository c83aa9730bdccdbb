#include "streams/console.h"

#include <cstdio>

#include "system/system_calls.h"

void drainConsole(DumpState &state) {
    ConsoleBuffer &console = state.console;
    if (console.len != 0 && console.error == 0) {
        // A list longer than stdio's buffer is written straight through, and
        // a failure of that write shows only in the error flag, with errno
        // set then: it is kept, as later calls may change errno.
        std::fwrite(console.bytes, 1, console.len, stdout);
        if (std::ferror(stdout)) {
            console.error = failedCallError();
        }
    }
    console.len = 0;
}

void finishConsole(DumpState &state) {
    drainConsole(state);
    if (state.console.error == 0 && std::fflush(stdout) != 0) {
        state.console.error = failedCallError();
    }
}
