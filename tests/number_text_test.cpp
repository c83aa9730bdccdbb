#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "text/number_text.h"

TEST(NumberText, NumbersAsPrintfWritesThem) {
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
    }
}

TEST(NumberText, EveryLengthAndKindInDecimal) {
    // Every value an item's length or kind can take.
    for (std::uint32_t value = 0; value <= 0xFFFF; ++value) {
        char got[kDecimalRoom.size];
        char want[16];
        std::snprintf(want, sizeof want, "%lu", static_cast<unsigned long>(value));
        ASSERT_EQ(std::string(got, putDecimal(got, static_cast<std::uint16_t>(value))), want);
    }
}
