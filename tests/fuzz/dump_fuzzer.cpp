// libFuzzer target: the whole dump of arbitrary bytes, checked against the
// output bound. The shipped program ends the process on a bad item; here the
// end of the process returns to the harness instead, so that one run can dump
// many inputs. Nothing else differs from the program.
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "driver/dump_output.h"
#include "driver/dump_symbol_file.h"
#include "output_bound.h"

namespace {
// Globals, as they change between setjmp and longjmp.
std::jmp_buf processEnd;
int endStatus;
char *dump;
std::size_t dumpSize;
} // namespace

void endProcess(int status) {
    endStatus = status;
    std::longjmp(processEnd, 1);
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    // The kinds listed on standard output are of no interest here.
    if (std::freopen("/dev/null", "w", stdout) == nullptr) {
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static std::unique_ptr<DumpState> state(new DumpState{});
    if (size == 0) {
        return 0; // fmemopen refuses an empty buffer; the empty file is tested elsewhere
    }
    dump = nullptr;
    dumpSize = 0;
    *state = DumpState{};
    state->input.path = "fuzz input";
    state->input.file = fmemopen(const_cast<std::uint8_t *>(data), size, "rb");
    state->output.file = open_memstream(&dump, &dumpSize);
    if (state->input.file == nullptr || state->output.file == nullptr) {
        std::abort();
    }
    endStatus = 0;
    if (setjmp(processEnd) == 0) {
        dumpItems(*state);
        closeDumpFile(*state);
    }
    if (state->output.file != nullptr) {
        std::fclose(state->output.file); // ended by a failure before the close
    }
    std::fclose(state->input.file);
    if ((endStatus != 0 && endStatus != 1) || dumpSize > maxDumpSize(size)) {
        std::fprintf(stderr, "status %d, dump of %zu bytes from %zu\n", endStatus, dumpSize, size);
        std::abort();
    }
    std::free(dump);
    return 0;
}
