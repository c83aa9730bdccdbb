#include "streams/dump_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "streams/run_end.h"
#include "streams/stream_buffers.h"
#include "system/system_calls.h"

void openDumpFile(DumpState &state) {
    // Binary, so that the CR LF line ends written by the dump are the bytes
    // stored on every platform.
    state.output.file = openFile(kDumpFileName, "wb");
    if (state.output.file == nullptr) {
        failRun(state, kDumpFileName, std::strerror(errno));
    }
}

void flushOutput(DumpState &state) {
    drainOutput(state);
    if (std::ferror(state.output.file)) {
        // Nothing more can reach the file, and the run's end reports this
        // failure alone.
        int err = errno != 0 ? errno : EIO;
        std::fclose(state.output.file);
        state.output.file = nullptr;
        failRun(state, kDumpFileName, std::strerror(err));
    }
}
