#include "driver/dump_symbol_file.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "dumpers/fixed_kinds.h"
#include "dumpers/list_kinds.h"
#include "dumpers/raw_dump.h"
#include "streams/buffer_checks.h"
#include "streams/dump_writer.h"
#include "streams/native_names.h"
#include "streams/run_failure.h"
#include "symfile/readers.h"
#include "text/line_text.h"
#include "text/number_text.h"

namespace {

using DumpFunction = void (*)(DumpState &);

// Kinds with a layout of their own, indexed by kind; every other kind is
// dumped raw.
struct KindDumpers {
    DumpFunction byKind[12];
};
constexpr KindDumpers makeKindDumpers() {
    KindDumpers table{};
    for (DumpFunction &dump : table.byKind) {
        dump = dumpRawItem;
    }
    table.byKind[4] = dumpKind4;
    table.byKind[5] = dumpKind5;
    table.byKind[6] = dumpKind6;
    table.byKind[7] = dumpKind7;
    table.byKind[11] = dumpKind11;
    return table;
}
constexpr KindDumpers kKindDumpers = makeKindDumpers();
// dumperFor sends kinds past the table to entry 0.
static_assert(kKindDumpers.byKind[0] == dumpRawItem, "kind 0 is dumped raw");

DumpFunction dumperFor(std::uint16_t kind) {
    constexpr std::size_t kKnown = sizeof kKindDumpers.byKind / sizeof kKindDumpers.byKind[0];
    // Kind 0 is dumped raw like every kind past the table, so the choice of
    // index needs no branch.
    return kKindDumpers.byKind[kind < kKnown ? kind : 0];
}

// "%06X: (%d) [%04x] ": the offset of the kind field, the length, the kind.
// The offset takes up to 16 digits, 64 bits in hex.
constexpr std::size_t kHeaderLineRoom =
    textRoom(kHexRoom, ": (", kDecimalRoom, ") [", kHexByteRoom, kHexByteRoom, "] ");
static_assert(kHeaderLineRoom <= kLeastSizes.output, "a header line is put with one reservation");
void writeHeaderLine(DumpState &state, std::int64_t kindOffset, std::uint16_t length) {
    char *out = reserveOutput(state, kHeaderLineRoom);
    char *p = putOffset(out, static_cast<std::uint64_t>(kindOffset));
    p = putLiteral(putDecimal(putLiteral(p, ": ("), length), ") [");
    p = putHexByte(p, static_cast<unsigned char>(state.kind >> 8));
    p = putHexByte(p, static_cast<unsigned char>(state.kind & 0xFF));
    commitOutput(state, putLiteral(p, "] "));
}

} // namespace

void dumpItems(DumpState &state) {
    for (;;) {
        InputStream &in = state.input;
        std::int64_t start = inputOffset(state);
        std::uint32_t header = 0; // the length, then the kind
        if (in.len - in.pos >= 4) {
            header = be32At(in.bytes + in.pos);
            in.pos += 4;
        } else {
            header = readBigEndianSlow(state, 4);
            if (std::int64_t held = inputOffset(state) - start; held < 4) {
                // The input ends here, or inside a header, which is left out.
                if (held > 0) {
                    noteShortInput(state, start, true);
                }
                return;
            }
        }
        auto length = static_cast<std::uint16_t>(header >> 16);
        state.itemStart = start;
        state.remaining = length;
        state.kind = static_cast<std::uint16_t>(header & 0xFFFF);
        writeHeaderLine(state, start + 2, length);
        dumperFor(state.kind)(state);
        writeLineEnd(state);
        if (in.readPastEnd) {
            noteShortInput(state, start, false);
        }
    }
}

void startRun(DumpState &state, const BufferSizes &sizes) {
    SYMTEXT_CHECK(sizes.input >= kLeastSizes.input && sizes.input <= kInputBufferSize);
    SYMTEXT_CHECK(sizes.output >= kLeastSizes.output && sizes.output <= kOutputBufferSize);
    SYMTEXT_CHECK(sizes.console >= kLeastSizes.console && sizes.console <= kConsoleBufferSize);
    InputStream &in = state.input;
    in.file = nullptr;
    in.path = nullptr;
    in.windowStart = 0;
    in.pos = 0;
    in.len = 0;
    in.capacity = sizes.input;
    in.atEnd = false;
    in.readPastEnd = false;
    in.shortItemStart = -1;
    in.shortInHeader = false;
    OutputBuffer &out = state.output;
    out.file = nullptr;
    out.len = 0;
    out.capacity = sizes.output;
    out.reservedEnd = 0;
    ConsoleBuffer &console = state.console;
    console.file = stdout;
    console.error = 0;
    console.len = 0;
    console.capacity = sizes.console;
    state.itemStart = 0;
    state.remaining = 0;
    state.kind = 0;
    state.inQuote = false;
    // What lies past a buffer's capacity is never touched; the dump buffer
    // is open only where a text has reserved room.
    markInLimits(&state, sizeof state);
    markOffLimits(in.bytes + in.capacity, kInputBufferSize - in.capacity);
    markOffLimits(out.bytes, kOutputBufferSize);
    markOffLimits(console.bytes + console.capacity, kConsoleBufferSize - console.capacity);
}

void dumpSymbolFile(DumpState &state, const char *path) {
    state.input.path = path;
    state.input.file = openSymbolFile(path);
    if (state.input.file == nullptr) {
        reportFailure(path, std::strerror(errno));
        endProcess(1);
    }
    // Opening the dump file empties it: were it the symbol file, the input
    // would be lost and the run would read its own dump back.
    if (isSameFile(state.input.file, kDumpFileName)) {
        reportFailure(path, "input file is the dump file OutPut.txt");
        endProcess(1);
    }
    primeInput(state);
    openDumpFile(state);
    dumpItems(state);
    closeDumpFile(state);
}
