// symtext FILE: dumps a symbol file as text into "OutPut.txt".
#include <cstdio>
#include <cstdlib>

#include "driver/dump_symbol_file.h"
#include "streams/run_end.h"
#include "system/system_calls.h"

namespace {

// Large enough for its buffers; static so it stays off the stack.
DumpState runState;

// path is the one argument in UTF-8, null when there is not exactly one.
[[noreturn]] void run(const char *path) {
    startProcess();
    startRun(runState, kShippedSizes);
    if (path == nullptr) {
        std::fputs("Error! Give me SYM filenames...\n", stdout);
        endRun(runState, 1);
    }
    dumpSymbolFile(runState, path);
}

} // namespace

void endProcess(int status) { std::exit(status); }

#ifdef _WIN32
// Windows' narrow arguments go through the ANSI code page, which cannot hold
// every character of a name; the UTF-16 ones hold them all.
int wmain(int argc, wchar_t **argv) { run(argc == 2 ? utf8Argument(argv[1]) : nullptr); }
#else
int main(int argc, char **argv) { run(argc == 2 ? argv[1] : nullptr); }
#endif
