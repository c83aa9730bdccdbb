// symtext FILE: dumps a symbol file as text into "OutPut.txt".
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "driver/dump_symbol_file.h"
#include "streams/console.h"
#include "streams/native_names.h"
#include "streams/run_failure.h"

namespace {

// Large enough for its buffers; static so it stays off the stack.
DumpState runState;

int run(int argc, const char *path) {
    startRun(runState, kShippedSizes);
    if (argc != 2) {
        std::fputs("Error! Give me SYM filenames...\n", stdout);
        finishConsole(runState);
        return 1;
    }
    dumpSymbolFile(runState, path);
    finishConsole(runState);
    return 0;
}

} // namespace

#ifdef _WIN32
// Windows' narrow arguments go through the ANSI code page, which cannot hold
// every character of a name; the UTF-16 ones hold them all.
int wmain(int argc, wchar_t **argv) {
    if (argc != 2) {
        return run(argc, nullptr);
    }
    char *path = utf8FromWide(argv[1]);
    if (path == nullptr) {
        reportFailure("command line", std::strerror(ENOMEM));
        return 1;
    }
    return run(argc, path);
}
#else
int main(int argc, char **argv) { return run(argc, argc == 2 ? argv[1] : nullptr); }
#endif
