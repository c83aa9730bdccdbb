#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "program_dump.h"
#include "streams/run_end.h"
#include "system/system_calls.h"
#include "test_support.h"

#if GTEST_HAS_DEATH_TEST && !defined(_WIN32)
TEST(RunEnd, AnAbsurdlyLongNameIsCutAndTheReasonKept) {
    // A name far longer than a message line, whose characters past the
    // first 4,000 bytes take two bytes each, so that the line's end falls
    // inside one of them: the cut goes back to the character's start.
    std::string name(4000, 'a');
    for (int i = 0; i < 1000; ++i) {
        name += "\xc3\xa9"; // U+00E9
    }
    StatePtr s = stateOver("");
    EXPECT_EXIT(failRun(*s, name.c_str(), "File name too long"), ::testing::ExitedWithCode(1),
                "^symtext: a+(\xc3\xa9)+\\.\\.\\.: File name too long\n$");
}
#endif

#if defined(__GLIBC__)

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

TEST(RunEnd, ReadFailureDumpsTheItemsReadWhole) {
    // Kind-5 items of 12 bytes, and a read error after 400 bytes. The items
    // whose reach, the bytes they may read, lies in those 400 are dumped, as
    // they would be had the read not failed; the run then fails.
    std::string items;
    for (int i = 0; i < 40; ++i) {
        items += kind5Int();
    }
    FailingSource source{items, 400, 0};
    std::FILE *input = fopencookie(&source, "r", {readFailingSource, nullptr, nullptr, nullptr});
    ASSERT_NE(input, nullptr);
    DumpResult result = programDumpOf(input, kShippedSizes);
    std::string dump;
    for (std::size_t start = 0; start + 12 + kReadPastItem <= source.good; start += 12) {
        char offset[8];
        std::snprintf(offset, sizeof offset, "%06zX", start + 2);
        dump += offset + std::string(": (12) [0005] ") + kKind5IntText;
    }
    EXPECT_EQ(result.dump, dump);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.message, "Input/output error");
}

#endif
