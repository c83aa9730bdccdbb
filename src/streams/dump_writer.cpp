#include "streams/dump_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "streams/run_failure.h"
#include "streams/stream_buffers.h"

void openDumpFile(DumpState &state) {
    // Binary, so that the CR LF line ends written by the dump are the bytes
    // stored on every platform.
    state.output.file = std::fopen(kDumpFileName, "wb");
    if (state.output.file == nullptr) {
        reportFailure(kDumpFileName, std::strerror(errno));
        endProcess(1);
    }
}

void flushOutput(DumpState &state) {
    drainOutput(state);
    if (std::ferror(state.output.file)) {
        failRun(state, kDumpFileName, errno);
    }
}

void closeDumpFile(DumpState &state) {
    flushOutput(state);
    std::FILE *file = state.output.file;
    state.output.file = nullptr;
    if (std::fclose(file) != 0) {
        failRun(state, kDumpFileName, errno);
    }
}
