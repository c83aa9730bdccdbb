#include "streams/dump_writer.h"

#include <cstdio>

#include "streams/run_end.h"
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
        failRunOnError(state, kDumpFileName, failedCallError());
    }
    if (const char *stream = standardStreamWriting(file)) {
        failRun(state, stream, "it is the dump file OutPut.txt");
    }
    if (!lockFile(file)) {
        failRun(state, kDumpFileName, "another run is writing it");
    }
    if (!emptyFile(file)) {
        failRunOnError(state, kDumpFileName, failedCallError());
    }
}

void drainOutput(DumpState &state) {
    OutputBuffer &out = state.output;
    if (out.len != 0) {
        std::fwrite(out.bytes, 1, out.len, out.file);
        markOffLimits(out.bytes, out.len);
        out.len = 0;
    }
}

void flushOutput(DumpState &state) {
    drainOutput(state);
    if (std::ferror(state.output.file)) {
        // Nothing more can reach the file, and the run's end reports this
        // failure alone.
        int error = failedCallError();
        std::fclose(state.output.file);
        state.output.file = nullptr;
        failRunOnError(state, kDumpFileName, error);
    }
}
