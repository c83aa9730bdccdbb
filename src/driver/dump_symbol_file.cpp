#include "driver/dump_symbol_file.h"

#include <cstdint>
#include <cstdio>

#include "dumpers/fixed_kinds.h"
#include "dumpers/list_kinds.h"
#include "dumpers/raw_dump.h"
#include "streams/buffer_checks.h"
#include "streams/dump_writer.h"
#include "streams/run_end.h"
#include "symfile/readers.h"
#include "system/system_calls.h"
#include "text/line_text.h"
#include "text/number_text.h"

namespace {

using DumpFunction = void (*)(DumpState &);

// Kinds with a layout of their own, indexed by kind up to the highest of
// them; every other kind is dumped raw.
constexpr std::uint16_t kHighestDecodedKind = 11;
struct KindDumpers {
    DumpFunction byKind[kHighestDecodedKind + 1];
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
// Kind 0 is dumped raw like every kind past the table, which dumperFor sends
// to its entry, so the choice of index needs no branch.
static_assert(kKindDumpers.byKind[0] == dumpRawItem, "kind 0 is dumped raw");

DumpFunction dumperFor(std::uint16_t kind) {
    return kKindDumpers.byKind[kind <= kHighestDecodedKind ? kind : 0];
}

void writeHeaderLine(DumpState &state, std::int64_t kindOffset, std::uint16_t length) {
    char *out = reserveOutput(state, kHeaderLineRoom);
    char *p = putOffset(out, static_cast<std::uint64_t>(kindOffset));
    p = putLiteral(putDecimal(putLiteral(p, ": ("), length), ") [");
    p = putHexByte(p, static_cast<unsigned char>(state.kind >> 8));
    p = putHexByte(p, static_cast<unsigned char>(state.kind & 0xFF));
    commitOutput(state, putLiteral(p, "] "));
}

void dumpItems(DumpState &state) {
    InputStream &in = state.input;
    for (;;) {
        // The window holds the next header: the last item's reach took it in,
        // or the first fill did, unless a read failed before it.
        if (in.pos + kItemHeaderSize > in.len) {
            SYMTEXT_CHECK(in.atEnd || in.error != 0);
            if (!in.atEnd) {
                failRunOnError(state, in.path, in.error);
            }
            if (in.pos < in.len) {
                // The file ends inside a header, which is left out.
                noteOddItem(state, inputOffset(state), OddItem::headerCut);
            }
            return;
        }
        // Everything the item reads is in the window, and there is room for
        // everything it writes, before it starts.
        std::int64_t start = inputOffset(state);
        std::uint16_t length = readBe16(state);
        state.kind = readBe16(state);
        holdInput(state, itemReach(length));
        holdOutput(state, kLongestItemText);
        state.itemStart = start;
        state.remaining = length;
        writeHeaderLine(state, start + 2, length);
        dumperFor(state.kind)(state);
        writeLineEnd(state);
        if (in.pos > in.len) {
            noteOddItem(state, start, OddItem::bodyCut);
        }
    }
}

} // namespace

void startRun(DumpState &state, const BufferSizes &sizes) {
    SYMTEXT_CHECK(sizes.input >= kLeastSizes.input && sizes.input <= kInputBufferSize);
    SYMTEXT_CHECK(sizes.output >= kLeastSizes.output && sizes.output <= kOutputBufferSize);
    SYMTEXT_CHECK(sizes.console >= kLeastSizes.console && sizes.console <= kConsoleBufferSize);
    // Field by field, not by assigning a fresh DumpState, which would build
    // the buffers' 800 KiB on the stack and clear them: the buffers need no
    // value before they are filled.
    InputStream &in = state.input;
    in.file = nullptr;
    in.path = nullptr;
    in.windowStart = 0;
    in.pos = 0;
    in.len = 0;
    in.capacity = sizes.input;
    in.limit = 0;
    in.atEnd = false;
    in.error = 0;
    OutputBuffer &out = state.output;
    out.file = nullptr;
    out.len = 0;
    out.capacity = sizes.output;
    out.itemEnd = 0;
    out.reservedEnd = 0;
    ConsoleBuffer &console = state.console;
    console.error = 0;
    console.len = 0;
    console.capacity = sizes.console;
    state.itemStart = 0;
    state.remaining = 0;
    state.kind = 0;
    state.oddItem = OddItem::none;
    state.oddItemStart = 0;
    // What lies past a buffer's capacity is never touched; the dump buffer
    // is open only where a text has reserved room.
    markInLimits(&state, sizeof state);
    markOffLimits(in.bytes + in.capacity, kInputBufferSize - in.capacity);
    markOffLimits(out.bytes, kOutputBufferSize);
    markOffLimits(console.bytes + console.capacity, kConsoleBufferSize - console.capacity);
}

void dumpSymbolFile(DumpState &state, const char *path) {
    state.input.path = path;
    state.input.file = openFileToRead(path);
    if (state.input.file == nullptr) {
        failRunOnError(state, path, failedCallError());
    }
    // Opening the dump file empties it: were it the symbol file, the input
    // would be lost and the run would read its own dump back.
    if (isSameFile(state.input.file, kDumpFileName)) {
        failRun(state, path, "input file is the dump file OutPut.txt");
    }
    dumpOpenFile(state, openDumpFile);
}

void dumpOpenFile(DumpState &state, void (*openDump)(DumpState &)) {
    // A file that cannot be read (a directory, say) is found before the dump
    // file is opened, which would empty the one there.
    primeInput(state);
    openDump(state);
    dumpItems(state);
    endRun(state, 0);
}
