#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "driver/dump_symbol_file.h"
#include "streams/run_end.h"
#include "streams/run_failure.h"
#include "test_support.h"

#if defined(__GLIBC__) && GTEST_HAS_DEATH_TEST

namespace {

// A symbol file whose reads fail with EIO once its first `good` bytes have
// been read, as a failing disk would.
struct FailingSource {
    std::string bytes;
    std::size_t good;
    std::size_t pos;
};

ssize_t readFailingSource(void *cookie, char *buffer, std::size_t size) {
    FailingSource &source = *static_cast<FailingSource *>(cookie);
    if (source.pos >= source.good) {
        errno = EIO;
        return -1;
    }
    std::size_t n = std::min(size, source.good - source.pos);
    std::memcpy(buffer, source.bytes.data() + source.pos, n);
    source.pos += n;
    return static_cast<ssize_t>(n);
}

} // namespace

TEST(RunFailure, ReadFailureKeepsWhatWasDumped) {
    // Two whole items, then a read error where the third one's header starts.
    FailingSource source{kind5Int() + kind5Int() + kind5Int(), 24, 0};
    std::FILE *input = fopencookie(&source, "r", {readFailingSource, nullptr, nullptr, nullptr});
    ASSERT_NE(input, nullptr);
    StatePtr s = stateOverFile(input);
    EXPECT_EXIT(
        {
            dumpItems(*s);
            endRun(*s, 0);
        },
        ::testing::ExitedWithCode(1), "^symtext: test input: Input/output error\n$");
    // The run above ended in a child process; its dump is in the shared file.
    EXPECT_EQ(dumpedText(*s),
              std::string("000002: (12) [0005] ") + kKind5IntText + "00000E: (12) [0005] " + kKind5IntText);
}

#endif
