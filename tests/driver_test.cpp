#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "driver/dump_output.h"
#include "driver/dump_symbol_file.h"
#include "symfile/readers.h"
#include "test_support.h"

namespace {

// A kind-5 item of 12 bytes whose name fills it.
std::string kind5Int() {
    return be16(12) + be16(5) + // length, kind
           be32(1) +            // W1
           "\x03int";           // count 3, "int", no pad
}
const char *const kKind5IntText = "\t(00000001) [ 3]\"int\"\r\n";

} // namespace

TEST(DumpWriter, TextsCrossingTheBufferArriveWhole) {
    // A text longer than the room left in the output buffer is split across
    // a flush: every byte must arrive once and in order.
    const std::string text = "0123456789abcdef";
    for (std::size_t room : {0, 1, 7, 15, 16, 17}) {
        StatePtr s = stateOver("");
        const std::string filler(kOutputBufferSize - room, '.');
        writeBytes(*s, filler.data(), filler.size());
        writeBytes(*s, text.data(), text.size());
        writeBytes(*s, text.data(), text.size());
        std::string dump = dumpedText(*s);
        ASSERT_EQ(dump.size(), filler.size() + 2 * text.size()) << room << " bytes of room";
        EXPECT_EQ(dump.compare(0, filler.size(), filler), 0) << room << " bytes of room";
        EXPECT_EQ(dump.substr(filler.size()), text + text) << room << " bytes of room";
    }
}

TEST(DumpWriter, NumbersAsPrintfWritesThem) {
    // Values at every change in the number of digits, in each width the dump
    // uses, against the C library's own formatting.
    std::vector<std::uint64_t> values = {0, 0x7FFFFFFFFFFFFFFF, 0x8000000000000000, ~0ULL};
    for (std::uint64_t power = 1; power != 0 && power <= ~0ULL / 10; power *= 10) {
        values.insert(values.end(), {power - 1, power, power * 10 - 1});
    }
    for (int shift = 4; shift < 64; shift += 4) {
        std::uint64_t bound = 1ULL << shift;
        values.insert(values.end(), {bound - 1, bound, bound + 1});
    }
    for (std::uint64_t value : values) {
        for (int width : {0, 1, 6, 8, 16}) {
            char got[2 * kMaxNumberWidth];
            char want[64];
            std::snprintf(want, sizeof want, "%0*llX", width, static_cast<unsigned long long>(value));
            EXPECT_EQ(std::string(got, putHex(got, value, width, '0', kHexPairsUpper)), want)
                << value << " in " << width;
            std::snprintf(want, sizeof want, "%*llx", width, static_cast<unsigned long long>(value));
            EXPECT_EQ(std::string(got, putHex(got, value, width, ' ', kHexPairs)), want)
                << value << " in " << width;
        }
        if (value <= 0xFFFFFFFF) {
            char got[kMaxNumberWidth];
            char want[64];
            auto word = static_cast<std::uint32_t>(value);
            std::snprintf(want, sizeof want, "%lu", static_cast<unsigned long>(word));
            EXPECT_EQ(std::string(got, putDecimal(got, word)), want) << value;
        }
    }
}

TEST(DumpWriter, EveryLengthAndKindInDecimal) {
    // Every value an item's length or kind can take.
    for (std::uint32_t value = 0; value <= 0xFFFF; ++value) {
        char got[kMaxNumberWidth];
        char want[16];
        std::snprintf(want, sizeof want, "%lu", static_cast<unsigned long>(value));
        ASSERT_EQ(std::string(got, putDecimal(got, value)), want);
    }
}

TEST(ItemLoop, OffsetsPastThirtyOneAndThirtyTwoBits) {
    // The same three items laid from a start just below 2^31 and just below
    // 2^32. The second, a kind-5 item of 8 bytes, takes its name from the
    // third's header (count 0, pad 0c 00 05) and so seeks back across the
    // boundary to its end.
    const std::string shortKind5 = be16(8) + be16(5) + be32(0x12); // length 8, kind 5, W1; no name
    const std::string items = kind5Int() + shortKind5 + kind5Int();
    const std::string shortItem = ": (8) [0005] \t(00000012) [ 0]\"\"\t\t0c0005\r\n";
    const std::string intItem = std::string(": (12) [0005] ") + kKind5IntText;
    struct Case {
        std::int64_t start;
        std::string dump;
    } cases[] = {
        {0x7FFFFFF0, "7FFFFFF2" + intItem + "7FFFFFFE" + shortItem + "80000006" + intItem},
        {0xFFFFFFF0, "FFFFFFF2" + intItem + "FFFFFFFE" + shortItem + "100000006" + intItem},
    };
    for (const Case &c : cases) {
        StatePtr s = stateOver(items);
        s->input.windowStart = c.start; // the file's first byte stands at this offset
        dumpItems(*s);
        EXPECT_EQ(dumpedText(*s), c.dump);
        EXPECT_EQ(inputOffset(*s), c.start + static_cast<std::int64_t>(items.size()));
    }
}

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

TEST(RunEnd, ReadFailureKeepsWhatWasDumped) {
    // Two whole items, then a read error where the third one's header starts.
    FailingSource source{kind5Int() + kind5Int() + kind5Int(), 24, 0};
    StatePtr s = stateOver("");
    std::fclose(s->input.file);
    s->input.file = fopencookie(&source, "r", {readFailingSource, nullptr, nullptr, nullptr});
    ASSERT_NE(s->input.file, nullptr);
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
