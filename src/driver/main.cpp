// symtext FILE: dumps a symbol file as text into "OutPut.txt".
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "driver/dump_symbol_file.h"
#include "streams/native_names.h"
#include "streams/run_end.h"
#include "streams/run_failure.h"

namespace {

// Large enough for its buffers; static so it stays off the stack.
DumpState runState;

[[noreturn]] void run(int argc, const char *path) {
    startRun(runState, kShippedSizes);
#ifdef SIGPIPE
    // The dump is the product and the kinds list a side channel: a reader of
    // the list that leaves early must not end the run with the dump cut
    // short. A write to it then fails instead, which the run's end reports.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    if (argc != 2) {
        std::fputs("Error! Give me SYM filenames...\n", stdout);
        endRun(runState, 1);
    }
    dumpSymbolFile(runState, path);
    endRun(runState, 0);
}

} // namespace

#ifdef _WIN32
// Windows' narrow arguments go through the ANSI code page, which cannot hold
// every character of a name; the UTF-16 ones hold them all.
int wmain(int argc, wchar_t **argv) {
    if (argc != 2) {
        run(argc, nullptr);
    }
    char *path = utf8FromWide(argv[1]);
    if (path == nullptr) {
        reportFailure("command line", std::strerror(ENOMEM));
        return 1;
    }
    run(argc, path);
}
#else
int main(int argc, char **argv) { run(argc, argc == 2 ? argv[1] : nullptr); }
#endif
