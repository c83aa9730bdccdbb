#include "streams/dump_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "streams/run_end.h"
#include "streams/stream_buffers.h"
#include "system/system_calls.h"

void openDumpFile(DumpState &state) {
    // Binary, so that the CR LF line ends written by the dump are the bytes
    // stored on every platform. It is emptied only once it is known to be
    // this run's alone: a file that is also one of the run's standard
    // streams, or that another run is writing, is left as it was, and the
    // run's end closes it unwritten.
    std::FILE *&file = state.output.file;
    file = openFileToWrite(kDumpFileName);
    if (file == nullptr) {
        failRun(state, kDumpFileName, std::strerror(errno));
    }
    if (const char *stream = standardStreamWriting(file)) {
        failRun(state, stream, "it is the dump file OutPut.txt");
    }
    if (!lockFile(file)) {
        failRun(state, kDumpFileName, "another run is writing it");
    }
    if (!emptyFile(file)) {
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
