#include "program_dump.h"

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#if defined(__GLIBC__)
#include <csignal>
#include <unistd.h>
#else
#include <io.h>
#include <process.h>
#define dup _dup
#define dup2 _dup2
#define fileno _fileno
#endif

#include "driver/dump_symbol_file.h"
#include "stream_text.h"
#include "streams/buffer_checks.h"
#include "streams/run_end.h"
#include "streams/run_failure.h"
#include "symfile/readers.h"

namespace {

// Set while programDump runs; the end of the process then returns to it.
std::jmp_buf *runEnd = nullptr;
int endStatus = 0;

// The streams of one run. With glibc they are in memory; elsewhere they are
// files in the current folder, named after the process.
struct Streams {
    std::FILE *input = nullptr;
    std::FILE *dump = nullptr;
    std::FILE *console = nullptr;
#if defined(__GLIBC__)
    char *dumpBytes = nullptr;
    std::size_t dumpSize = 0;
    char *consoleBytes = nullptr;
    std::size_t consoleSize = 0;
#else
    std::string dumpName;
    std::string consoleName;
#endif
};

#if defined(__GLIBC__)
void openStreams(Streams &s, const std::string &input) {
    s.input = fmemopen(const_cast<char *>(input.data()), input.size(), "rb");
    s.dump = open_memstream(&s.dumpBytes, &s.dumpSize);
    s.console = open_memstream(&s.consoleBytes, &s.consoleSize);
}

void closeStreams(Streams &s, DumpResult &result) {
    std::fclose(s.input);
    std::fclose(s.console);
    result.dump.assign(s.dumpBytes, s.dumpSize);
    result.console.assign(s.consoleBytes, s.consoleSize);
    std::free(s.dumpBytes);
    std::free(s.consoleBytes);
}
#else
std::string contentsOf(const std::string &name) {
    std::string text;
    if (std::FILE *file = std::fopen(name.c_str(), "rb")) {
        readToEnd(file, text);
        std::fclose(file);
    }
    std::remove(name.c_str());
    return text;
}

void openStreams(Streams &s, const std::string &input) {
    std::string stem = "symtext-run-" + std::to_string(_getpid());
    s.dumpName = stem + ".dump";
    s.consoleName = stem + ".console";
    s.input = std::tmpfile();
    if (s.input != nullptr) {
        std::fwrite(input.data(), 1, input.size(), s.input);
        std::rewind(s.input);
    }
    s.dump = std::fopen(s.dumpName.c_str(), "wb");
    s.console = std::fopen(s.consoleName.c_str(), "wb");
}

void closeStreams(Streams &s, DumpResult &result) {
    std::fclose(s.input);
    std::fclose(s.console);
    result.dump = contentsOf(s.dumpName);
    result.console = contentsOf(s.consoleName);
}
#endif

// Standard error, taken into a file while a run writes its message there.
struct ErrorCapture {
    std::FILE *file = nullptr;
    int saved = -1; // the descriptor standard error had
};

#if defined(SYMTEXT_CHECKED)
// A checked run that stops at a broken invariant or a sanitizer's finding
// says why on standard error, which is captured: the reason is handed on to
// where standard error went before, rather than lost with the process.
const ErrorCapture *openCapture = nullptr;

extern "C" void passOnAbortReason(int) {
    char text[4096];
    lseek(fileno(openCapture->file), 0, SEEK_SET);
    for (ssize_t n; (n = read(fileno(openCapture->file), text, sizeof text)) > 0;) {
        static_cast<void>(write(openCapture->saved, text, static_cast<std::size_t>(n)));
    }
}
#endif

void captureErrors(ErrorCapture &c) {
    std::fflush(stderr);
    c.file = std::tmpfile();
    c.saved = c.file != nullptr ? dup(2) : -1;
    if (c.saved < 0 || dup2(fileno(c.file), 2) < 0) {
        std::perror("programDump: standard error");
        std::abort();
    }
#if defined(SYMTEXT_CHECKED)
    openCapture = &c;
    std::signal(SIGABRT, passOnAbortReason);
#endif
#if defined(SYMTEXT_MARK_BUFFERS)
    __sanitizer_set_report_fd(reinterpret_cast<void *>(static_cast<std::intptr_t>(c.saved)));
#endif
}

// What the run wrote there, with "symtext: input: " and the line end taken
// off a message as the program writes it; anything else as it stands.
std::string releaseErrors(ErrorCapture &c) {
#if defined(SYMTEXT_MARK_BUFFERS)
    __sanitizer_set_report_fd(reinterpret_cast<void *>(std::intptr_t{2}));
#endif
#if defined(SYMTEXT_CHECKED)
    std::signal(SIGABRT, SIG_DFL);
    openCapture = nullptr;
#endif
    std::fflush(stderr);
    dup2(c.saved, 2);
    close(c.saved);
    std::rewind(c.file);
    std::string text;
    readToEnd(c.file, text);
    std::fclose(c.file);
    // The C library of Windows writes the line end of a text stream as CR LF.
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) {
        text.erase(text.size() - 2, 1);
    }
    const std::string start = "symtext: input: ";
    if (text.compare(0, start.size(), start) == 0 && text.find('\n') == text.size() - 1) {
        return text.substr(start.size(), text.size() - start.size() - 1);
    }
    return text;
}

} // namespace

void endProcess(int status) {
    if (runEnd == nullptr) {
        std::exit(status);
    }
    endStatus = status;
    std::longjmp(*runEnd, 1);
}

DumpResult programDump(const std::string &input, const BufferSizes &sizes) {
    // One state for all runs, as large as the program's; what earlier runs
    // left in its buffers stays there, as stale bytes would in a long run.
    static std::unique_ptr<DumpState> state(new DumpState{});
    Streams streams;
    openStreams(streams, input);
    if (streams.input == nullptr || streams.dump == nullptr || streams.console == nullptr) {
        std::perror("programDump");
        std::abort();
    }
    startRun(*state, sizes);
    state->input.path = "input";
    state->input.file = streams.input;
    state->console.file = streams.console;
    ErrorCapture errors;
    captureErrors(errors);
    std::jmp_buf here;
    runEnd = &here;
    endStatus = 0;
    if (setjmp(here) == 0) {
        // As dumpSymbolFile and the program's entry do, from the first read.
        primeInput(*state);
        state->output.file = streams.dump;
        dumpItems(*state);
        endRun(*state, 0);
    }
    runEnd = nullptr;
    DumpResult result{"", "", endStatus, releaseErrors(errors)};
    if (state->output.file != nullptr) {
        std::fclose(state->output.file); // the run failed before the dump was closed
    }
    closeStreams(streams, result);
    return result;
}

BufferSizes smallSizes(unsigned salt) {
    return {kLeastSizes.input + salt % 1024, kLeastSizes.output + salt / 7 % 512,
            kLeastSizes.console + salt % 61};
}
