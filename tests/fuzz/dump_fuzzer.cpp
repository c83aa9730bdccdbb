// libFuzzer target: every input is dumped three ways, by the program's own
// code with the shipped buffer sizes, by the same code with buffers so small
// that refills and flushes fall everywhere, and by the reference dump. The
// three must give the same dump, console text, status and message, and the dump must
// keep within the output bound.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "output_bound.h"
#include "program_dump.h"
#include "reference_dump.h"

namespace {

void compare(const char *what, DumpResult program, const DumpResult &reference) {
#if defined(SYMTEXT_PLANTED_FAULT)
    // The guard's build: a wrong byte in every dump, which must fail the run.
    program.dump += 'x';
#endif
    std::string difference = differenceFrom(program, reference);
    if (!difference.empty()) {
        std::fprintf(stderr, "%s: %s\n", what, difference.c_str());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string input(reinterpret_cast<const char *>(data), size);
    DumpResult reference = referenceDump(input);
    if (reference.dump.size() > maxDumpSize(size)) {
        std::fprintf(stderr, "a dump of %zu bytes from %zu\n", reference.dump.size(), size);
        std::abort();
    }
    compare("shipped sizes", programDump(input, kShippedSizes), reference);
    // The small sizes vary with the input, so that the same bytes meet the
    // ends of the window and buffers in other places as the fuzzer mutates.
    unsigned salt = 0;
    for (std::size_t i = 0; i < size; i += 61) {
        salt = salt * 31 + data[i];
    }
    BufferSizes small = smallSizes(salt ^ static_cast<unsigned>(size));
    compare("small sizes", programDump(input, small), reference);
    return 0;
}
