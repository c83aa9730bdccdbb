// symtext FILE: dumps a symbol file as text into "OutPut.txt".
#include <cstdio>

#include "driver/dump_output.h"
#include "driver/dump_symbol_file.h"

namespace {
// Large enough for its buffers; static so it stays off the stack.
DumpState runState;
} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fputs("Error! Give me SYM filenames...\n", stdout);
        finishConsole();
        return 1;
    }
    dumpSymbolFile(runState, argv[1]);
    finishConsole();
    return 0;
}
