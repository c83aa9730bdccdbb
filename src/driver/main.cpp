// symtext FILE: dumps a symbol file as text into "OutPut.txt".
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "driver/dump_output.h"
#include "driver/dump_symbol_file.h"
#include "driver/native_names.h"

namespace {

// Large enough for its buffers; static so it stays off the stack.
DumpState runState;

int run(int argc, const char *path) {
    if (argc != 2) {
        std::fputs("Error! Give me SYM filenames...\n", stdout);
        finishConsole();
        return 1;
    }
    dumpSymbolFile(runState, path);
    finishConsole();
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
    std::size_t n = std::wcslen(argv[1]);
    char16_t *units = static_cast<char16_t *>(std::malloc((n + 1) * sizeof(char16_t)));
    char *path = static_cast<char *>(std::malloc(3 * n + 1));
    if (units == nullptr || path == nullptr) {
        reportFailure("command line", std::strerror(ENOMEM));
        return 1;
    }
    for (std::size_t i = 0; i < n; ++i) {
        units[i] = static_cast<char16_t>(argv[1][i]);
    }
    path[utf8FromUtf16(units, n, path)] = '\0';
    return run(argc, path);
}
#else
int main(int argc, char **argv) { return run(argc, argc == 2 ? argv[1] : nullptr); }
#endif
