#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "driver/dump_symbol_file.h"
#include "program_dump.h"
#include "reference_dump.h"
#include "symbol_generator.h"
#include "symfile/readers.h"
#include "test_support.h"

namespace {

// Whether the program's dump of input, with buffers of each of the given
// sizes, is the reference's; on a difference, where the two part.
::testing::AssertionResult sameAsReference(const std::string &input,
                                           std::initializer_list<BufferSizes> sizesList) {
    const DumpResult want = referenceDump(input);
    for (const BufferSizes &sizes : sizesList) {
        DumpResult got = programDump(input, sizes);
        if (got.status == want.status && got.console == want.console && got.dump == want.dump &&
            got.message == want.message) {
            continue;
        }
        std::size_t at = 0;
        while (at < got.dump.size() && at < want.dump.size() && got.dump[at] == want.dump[at]) {
            ++at;
        }
        std::size_t from = at > 40 ? at - 40 : 0;
        return ::testing::AssertionFailure()
               << "input of " << input.size() << " bytes, window " << sizes.input << ", dump buffer "
               << sizes.output << ", console buffer " << sizes.console << ": status " << got.status << " for "
               << want.status << ", message \"" << got.message << "\" for \"" << want.message
               << "\", console " << (got.console == want.console ? "the same" : "differs") << ", dump of "
               << got.dump.size() << " bytes for " << want.dump.size() << ", parting at " << at << ":\n  "
               << ::testing::PrintToString(got.dump.substr(from, 80)) << "\nfor\n  "
               << ::testing::PrintToString(want.dump.substr(from, 80));
    }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(SameDump, GeneratedFilesWhereverRefillsAndFlushesFall) {
    // Each file crosses dozens of small windows and buffers, at places that
    // differ from one set of sizes to the next; the shipped sizes take it in
    // one window.
    for (unsigned seed = 1; seed <= 8; ++seed) {
        const std::string input = generateSymbolFile(seed, 40000 + 997 * seed);
        EXPECT_TRUE(
            sameAsReference(input, {kShippedSizes, kLeastSizes, smallSizes(seed), smallSizes(seed * 7919)}))
            << "seed " << seed;
    }
}

TEST(SameDump, EveryEndOfShortFiles) {
    // The input ends at every byte of a few items: inside headers, words,
    // names, pads, trailing bytes and bodies.
    for (unsigned seed = 100; seed < 104; ++seed) {
        const std::string file = generateSymbolFile(seed, 600);
        for (std::size_t size = 0; size <= file.size(); ++size) {
            ASSERT_TRUE(sameAsReference(file.substr(0, size), {kShippedSizes, kLeastSizes}))
                << "seed " << seed;
        }
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
