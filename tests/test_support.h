// In-memory symbol files for the unit tests: a DumpState whose input holds
// the given bytes and whose dump goes to a temporary file read back as text.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "driver/dump_output.h"
#include "driver/dump_state.h"
#include "driver/dump_symbol_file.h"

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

inline StatePtr stateOver(const std::string &bytes) {
    StatePtr state(new DumpState{});
    startRun(*state, kShippedSizes);
    state->input.path = "test input";
    state->input.file = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), state->input.file);
    std::rewind(state->input.file);
    state->output.file = std::tmpfile();
    return state;
}

// Everything dumped so far.
inline std::string dumpedText(DumpState &state) {
    flushOutput(state);
    std::FILE *file = state.output.file;
    std::fflush(file);
    std::rewind(file);
    std::string text;
    char chunk[4096];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        text.append(chunk, n);
    }
    return text;
}

// Big-endian field builders for fixtures.
inline std::string be16(unsigned v) { return {char(v >> 8), char(v & 0xFF)}; }
inline std::string be32(unsigned long v) {
    return {char(v >> 24 & 0xFF), char(v >> 16 & 0xFF), char(v >> 8 & 0xFF), char(v & 0xFF)};
}
