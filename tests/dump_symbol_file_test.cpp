#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <string>

#include "driver/dump_symbol_file.h"
#include "program_dump.h"
#include "reference_dump.h"
#include "symbol_generator.h"
#include "test_support.h"

namespace {

// Whether the program's dump of input, with buffers of each of the given
// sizes, is the reference's; on a difference, where the two part.
::testing::AssertionResult sameAsReference(const std::string &input,
                                           std::initializer_list<BufferSizes> sizesList) {
    const DumpResult want = referenceDump(input);
    for (const BufferSizes &sizes : sizesList) {
        std::string difference = differenceFrom(programDump(input, sizes), want);
        if (!difference.empty()) {
            return ::testing::AssertionFailure()
                   << "input of " << input.size() << " bytes, window " << sizes.input << ", dump buffer "
                   << sizes.output << ", console buffer " << sizes.console << ": " << difference;
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(SameDump, GeneratedFilesWhereverRefillsAndFlushesFall) {
    // Each file crosses several of the smallest windows and buffers, at
    // places that differ from one set of sizes to the next; the shipped sizes
    // take it in one window.
    for (unsigned seed = 1; seed <= 8; ++seed) {
        const std::string input = generateSymbolFile(seed, 200000 + 997 * seed);
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

TEST(SameDump, ItemsThatReadAndWriteTheMost) {
    // A kind-6 item of the longest length whose last entry starts on its
    // 65,532nd byte with a name of 255 characters, so that it reads the
    // furthest past its end; and a kind-11 item of the longest length that
    // writes the longest text: empty names, and a last one of 255 line feeds
    // from its 65,532nd byte on. Each is dumped whole and cut, with the least
    // buffers, which hold one such item exactly.
    const std::string name255 = '\xFF' + std::string(255, '\n'); // count 255, no pad
    std::string kind6 = be16(0xFFFF) + be16(6) +                 // length, kind
                        be32(5461) + be32(0);                    // M, W2
    while (kind6.size() < 65532) {
        kind6 += be32(1) + be32(2) + std::string(4, '\0'); // E1, E2, an empty name
    }
    kind6 += be32(3) + be32(4) + name255;                 // the last entry: E1, E2, the name
    std::string kind11 = be16(0xFFFF) + be16(11) +        // length, kind
                         be32(1) + be32(16380) + be32(3); // W1, M, W3
    kind11 += std::string(4 * 16379, '\0') + name255;     // empty names, then the last
    for (const std::string &item : {kind6, kind11}) {
        for (std::size_t cut : {item.size(), item.size() - 1, std::size_t{65535}}) {
            EXPECT_TRUE(sameAsReference(item.substr(0, cut), {kLeastSizes, kShippedSizes}))
                << "cut at " << cut;
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
        std::FILE *input = std::tmpfile();
        std::fwrite(items.data(), 1, items.size(), input);
        std::rewind(input);
        DumpResult result = programDumpOf(input, kShippedSizes, c.start);
        EXPECT_EQ(result.dump, c.dump);
        EXPECT_EQ(result.status, 0);
    }
}
