#include "program_dump.h"

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#ifdef _WIN32
#include <io.h>
#include <process.h>
#define dup _dup
#define dup2 _dup2
#define fileno _fileno
#else
#include <csignal>
#include <unistd.h>
#endif

#include "driver/dump_symbol_file.h"
#include "stream_text.h"
#include "streams/buffer_checks.h"
#include "streams/run_end.h"

namespace {

// Set while a run goes on; the end of the process then returns to it.
std::jmp_buf *runEnd = nullptr;
int endStatus = 0;

// The dump file of a run: a stream in memory, or on Windows, which has
// none, a file in the current folder named after the process. The run
// closes it; its bytes are read after.
struct DumpStream {
    std::FILE *file = nullptr;
#ifdef _WIN32
    std::string name;
#else
    char *bytes = nullptr;
    std::size_t size = 0;
#endif
};

// The dump stream of the run under way, until the run opens it.
std::FILE *unopenedDump = nullptr;

void openDumpStream(DumpState &state) {
    state.output.file = unopenedDump;
    unopenedDump = nullptr;
}

#ifdef _WIN32
void makeDumpStream(DumpStream &d) {
    d.name = "symtext-run-" + std::to_string(_getpid()) + ".dump";
    d.file = std::fopen(d.name.c_str(), "wb");
}

std::string dumpedBytes(DumpStream &d) {
    std::string text;
    if (std::FILE *file = std::fopen(d.name.c_str(), "rb")) {
        readToEnd(file, text);
        std::fclose(file);
    }
    std::remove(d.name.c_str());
    return text;
}

std::FILE *inputStream(const std::string &input) {
    std::FILE *file = std::tmpfile();
    if (file != nullptr) {
        std::fwrite(input.data(), 1, input.size(), file);
        std::rewind(file);
    }
    return file;
}
#else
void makeDumpStream(DumpStream &d) { d.file = open_memstream(&d.bytes, &d.size); }

std::string dumpedBytes(DumpStream &d) {
    std::string text(d.bytes, d.size);
    std::free(d.bytes);
    return text;
}

std::FILE *inputStream(const std::string &input) {
    return fmemopen(const_cast<char *>(input.data()), input.size(), "rb");
}
#endif

// A standard stream taken into a file while a run writes there.
struct Capture {
    std::FILE *stream;
    std::FILE *file = nullptr;
    int saved = -1; // the descriptor the stream had
};

#if defined(SYMTEXT_CHECKED)
// A checked run that stops at a broken invariant or a sanitizer's finding
// says why on standard error, which is captured: the reason is handed on to
// where standard error went before, rather than lost with the process. The
// handler it replaced (libFuzzer's, which keeps the input as a crash file)
// then takes the abort over, and is given back when the capture ends.
const Capture *openCapture = nullptr;
using SignalHandler = void (*)(int);
SignalHandler replacedAbortHandler = SIG_DFL;

extern "C" void passOnAbortReason(int signal) {
    char text[4096];
    lseek(fileno(openCapture->file), 0, SEEK_SET);
    for (ssize_t n; (n = read(fileno(openCapture->file), text, sizeof text)) > 0;) {
        static_cast<void>(write(openCapture->saved, text, static_cast<std::size_t>(n)));
    }
    std::signal(SIGABRT, replacedAbortHandler);
    if (replacedAbortHandler != SIG_DFL && replacedAbortHandler != SIG_IGN &&
        replacedAbortHandler != SIG_ERR) {
        replacedAbortHandler(signal);
    }
}
#endif

void startCapture(Capture &c) {
    std::fflush(c.stream);
    std::clearerr(c.stream); // no failure of an earlier run shows in this one
    c.file = std::tmpfile();
    c.saved = c.file != nullptr ? dup(fileno(c.stream)) : -1;
    if (c.saved < 0 || dup2(fileno(c.file), fileno(c.stream)) < 0) {
        std::perror("programDump: capturing a standard stream");
        std::abort();
    }
}

std::string endCapture(Capture &c) {
    std::fflush(c.stream);
    std::clearerr(c.stream);
    dup2(c.saved, fileno(c.stream));
    close(c.saved);
    std::rewind(c.file);
    std::string text;
    readToEnd(c.file, text);
    std::fclose(c.file);
    return text;
}

void captureErrors(Capture &c) {
    startCapture(c);
#if defined(SYMTEXT_CHECKED)
    openCapture = &c;
    replacedAbortHandler = std::signal(SIGABRT, passOnAbortReason);
#endif
#if defined(SYMTEXT_MARK_BUFFERS)
    __sanitizer_set_report_fd(reinterpret_cast<void *>(static_cast<std::intptr_t>(c.saved)));
#endif
}

// What the run wrote there, with "symtext: input: " and the line end taken
// off a message as the program writes it; anything else as it stands.
std::string releaseErrors(Capture &c) {
#if defined(SYMTEXT_MARK_BUFFERS)
    __sanitizer_set_report_fd(reinterpret_cast<void *>(std::intptr_t{2}));
#endif
#if defined(SYMTEXT_CHECKED)
    std::signal(SIGABRT, replacedAbortHandler);
    openCapture = nullptr;
#endif
    std::string text = endCapture(c);
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

DumpResult programDumpOf(std::FILE *input, const BufferSizes &sizes, std::int64_t firstOffset) {
    // One state for all runs, as large as the program's; what earlier runs
    // left in its buffers stays there, as stale bytes would in a long run.
    static std::unique_ptr<DumpState> state(new DumpState{});
    DumpStream dump;
    makeDumpStream(dump);
    if (input == nullptr || dump.file == nullptr) {
        std::perror("programDump");
        std::abort();
    }
    startRun(*state, sizes);
    state->input.path = "input";
    state->input.file = input;
    state->input.windowStart = firstOffset;
    unopenedDump = dump.file;
    Capture console{stdout};
    Capture errors{stderr};
    startCapture(console);
    captureErrors(errors);
    std::jmp_buf here;
    runEnd = &here;
    endStatus = 0;
    if (setjmp(here) == 0) {
        dumpOpenFile(*state, openDumpStream);
    }
    runEnd = nullptr;
    DumpResult result{"", "", endStatus, releaseErrors(errors)};
    result.console = endCapture(console);
    if (unopenedDump != nullptr) { // the run ended before it opened its dump
        std::fclose(unopenedDump);
        unopenedDump = nullptr;
    }
    result.dump = dumpedBytes(dump);
    std::fclose(input);
    return result;
}

DumpResult programDump(const std::string &input, const BufferSizes &sizes) {
    return programDumpOf(inputStream(input), sizes);
}

BufferSizes smallSizes(unsigned salt) {
    return {kLeastSizes.input + salt % 1024, kLeastSizes.output + salt / 7 % 512,
            kLeastSizes.console + salt % 61};
}

std::string differenceFrom(const DumpResult &got, const DumpResult &want) {
    if (got.status == want.status && got.console == want.console && got.dump == want.dump &&
        got.message == want.message) {
        return "";
    }
    std::size_t at = 0;
    while (at < got.dump.size() && at < want.dump.size() && got.dump[at] == want.dump[at]) {
        ++at;
    }
    std::size_t from = at > 40 ? at - 40 : 0;
    auto shown = [from](const std::string &dump) {
        std::string text;
        for (char c : dump.substr(from, 80)) {
            unsigned char b = static_cast<unsigned char>(c);
            if (b >= 0x20 && b < 0x7F && b != '\\') {
                text += c;
            } else {
                char escape[5];
                std::snprintf(escape, sizeof escape, "\\x%02x", b);
                text += escape;
            }
        }
        return text;
    };
    return "status " + std::to_string(got.status) + " for " + std::to_string(want.status) + ", message \"" +
           got.message + "\" for \"" + want.message + "\", console " +
           (got.console == want.console ? "the same"
                                        : "\"" + got.console + "\" for \"" + want.console + "\"") +
           ", dump of " + std::to_string(got.dump.size()) + " bytes for " + std::to_string(want.dump.size()) +
           ", parting at " + std::to_string(at) + ":\n  " + shown(got.dump) + "\nfor\n  " + shown(want.dump);
}
