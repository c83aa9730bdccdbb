// In-memory symbol files for the unit tests: a DumpState whose input holds
// the given bytes, its window filled as a run's is, and whose dump goes to a
// temporary file read back as text.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "driver/dump_state.h"
#include "driver/dump_symbol_file.h"
#include "stream_text.h"
#include "streams/dump_writer.h"
#include "symfile/readers.h"

struct StateCloser {
    void operator()(DumpState *state) const {
        if (state->input.file != nullptr) {
            std::fclose(state->input.file);
        }
        if (state->output.file != nullptr) {
            std::fclose(state->output.file);
        }
        delete state;
    }
};
using StatePtr = std::unique_ptr<DumpState, StateCloser>;

// A state that reads input from its first byte, its window primed and room
// made for one item's text, as the item loop makes it.
inline StatePtr stateOverFile(std::FILE *input) {
    StatePtr state(new DumpState{});
    startRun(*state, kShippedSizes);
    state->input.path = "test input";
    state->input.file = input;
    state->output.file = std::tmpfile();
    primeInput(*state);
    holdOutput(*state, kLongestItemText);
    return state;
}

inline StatePtr stateOver(const std::string &bytes) {
    std::FILE *input = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), input);
    std::rewind(input);
    return stateOverFile(input);
}

// Everything dumped so far.
inline std::string dumpedText(DumpState &state) {
    flushOutput(state);
    std::FILE *file = state.output.file;
    std::fflush(file);
    std::rewind(file);
    std::string text;
    readToEnd(file, text);
    return text;
}

// Big-endian field builders for fixtures.
inline std::string be16(unsigned v) { return {char(v >> 8), char(v & 0xFF)}; }
inline std::string be32(unsigned long v) {
    return {char(v >> 24 & 0xFF), char(v >> 16 & 0xFF), char(v >> 8 & 0xFF), char(v & 0xFF)};
}

// A kind-5 item of 12 bytes whose name fills it, and its text after the
// header line.
inline std::string kind5Int() {
    return be16(12) + be16(5) + // length, kind
           be32(1) +            // W1
           "\x03int";           // count 3, "int", no pad
}
inline const char *const kKind5IntText = "\t(00000001) [ 3]\"int\"\r\n";
