#include "streams/run_end.h"

#include "streams/console.h"
#include "streams/dump_writer.h"
#include "streams/run_failure.h"

void endRun(DumpState &state, int status) {
    if (state.output.file != nullptr) {
        closeDumpFile(state);
    }
    finishConsole(state);
    endProcess(status);
}
