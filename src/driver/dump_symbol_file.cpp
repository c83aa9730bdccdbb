#include "driver/dump_symbol_file.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "driver/dump_output.h"
#include "driver/native_names.h"
#include "dumpers/fixed_kinds.h"
#include "dumpers/list_kinds.h"
#include "dumpers/raw_dump.h"
#include "symfile/readers.h"

namespace {

using DumpFunction = void (*)(DumpState &);

struct KindDumper {
    std::uint16_t kind;
    DumpFunction dump;
};

// Kinds with a layout of their own; every other kind is dumped raw.
const KindDumper kKindDumpers[] = {
    {4, dumpKind4}, {5, dumpKind5}, {6, dumpKind6}, {7, dumpKind7}, {11, dumpKind11},
};

DumpFunction dumperFor(std::uint16_t kind) {
    for (const KindDumper &entry : kKindDumpers) {
        if (entry.kind == kind) {
            return entry.dump;
        }
    }
    return dumpRawItem;
}

// "%06X: (%d) [%04x] ": the offset of the kind field, the length, the kind.
void writeHeaderLine(DumpState &state, std::int64_t kindOffset, std::uint16_t length) {
    char *out = reserveOutput(state, kMaxNumberWidth + 16);
    char *p = putHex(out, static_cast<std::uint64_t>(kindOffset), 6, '0', kHexPairsUpper);
    std::memcpy(p, ": (", 3);
    p = putDecimal(p + 3, length, 0);
    std::memcpy(p, ") [", 3);
    p = putHexByte(p + 3, static_cast<unsigned char>(state.kind >> 8));
    p = putHexByte(p, static_cast<unsigned char>(state.kind & 0xFF));
    std::memcpy(p, "] ", 2);
    state.output.len += static_cast<std::size_t>(p + 2 - out);
}

} // namespace

void dumpItems(DumpState &state) {
    for (;;) {
        std::int64_t start = inputOffset(state);
        std::uint16_t length = readBe16(state);
        std::int64_t kindOffset = inputOffset(state);
        std::uint16_t kind = readBe16(state);
        if (inputOffset(state) - start < 4) {
            return; // the input ends here or inside a header
        }
        state.remaining = length;
        state.kind = kind;
        writeHeaderLine(state, kindOffset, length);
        dumperFor(kind)(state);
        writeLineEnd(state);
    }
}

void dumpSymbolFile(DumpState &state, const char *path) {
    state.input = InputStream{};
    state.output.file = nullptr;
    state.output.len = 0;
    state.console.len = 0;
    state.input.path = path;
    state.input.file = openSymbolFile(path);
    if (state.input.file == nullptr) {
        reportFailure(path, std::strerror(errno));
        endProcess(1);
    }
    primeInput(state);
    // Binary, so that the CR LF line ends written by the dump are the bytes
    // stored on every platform.
    state.output.file = std::fopen(kDumpFileName, "wb");
    if (state.output.file == nullptr) {
        reportFailure(kDumpFileName, std::strerror(errno));
        endProcess(1);
    }
    dumpItems(state);
    closeDumpFile(state);
}
