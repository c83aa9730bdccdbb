#include <gtest/gtest.h>

#include <string>

#include "symfile/readers.h"
#include "test_support.h"

TEST(Readers, BigEndianValues) {
    struct Case {
        std::string bytes;
        std::uint32_t be32;
    } cases[] = {
        {std::string("\x12\x34\x56\x78", 4), 0x12345678},
        {std::string("\x80\x00\x00\x01", 4), 0x80000001},
        {std::string("\xFF\xFE\x00\x00", 4), 0xFFFE0000},
        {std::string("\x00\x00\x00\x00", 4), 0x00000000},
    };
    for (const Case &c : cases) {
        StatePtr s = stateOver(c.bytes);
        EXPECT_EQ(readBe32(*s), c.be32);
        EXPECT_EQ(inputOffset(*s), 4);
    }
}

TEST(Readers, ReadByteAtEndReturnsFFAndStays) {
    StatePtr s = stateOver("A");
    EXPECT_EQ(readByte(*s), 'A');
    EXPECT_EQ(readByte(*s), 0xFF);
    EXPECT_EQ(readByte(*s), 0xFF);
    EXPECT_EQ(inputOffset(*s), 1);
}

TEST(Readers, WordsCutShortFillWithFF) {
    struct Case {
        std::string bytes;
        std::uint32_t be32;
    } cases[] = {
        {"", 0xFFFFFFFF},
        {"\x12", 0x12FFFFFF},
        {"\x12\x34\x56", 0x123456FF},
    };
    for (const Case &c : cases) {
        StatePtr s = stateOver(c.bytes);
        EXPECT_EQ(readBe32(*s), c.be32) << c.bytes.size() << " bytes";
        EXPECT_EQ(inputOffset(*s), static_cast<std::int64_t>(c.bytes.size()));
    }
}

TEST(Readers, ReadsAcrossBufferRefills) {
    // Words that straddle the refill of the input window read whole.
    std::string bytes(kInputBufferSize - 2, 'x');
    bytes += be32(0xA1B2C3D4) + be32(0x01020304);
    StatePtr s = stateOver(bytes);
    seekInput(*s, kInputBufferSize - 2);
    EXPECT_EQ(readBe32(*s), 0xA1B2C3D4u);
    EXPECT_EQ(readBe32(*s), 0x01020304u);
    EXPECT_EQ(inputOffset(*s), static_cast<std::int64_t>(bytes.size()));
}

namespace {
// Bytes whose value tells their offset, longer than one input window.
std::string numberedBytes() {
    std::string bytes;
    for (std::size_t i = 0; i < kInputBufferSize + 4096; ++i) {
        bytes += static_cast<char>(i * 7);
    }
    return bytes;
}
} // namespace

TEST(Readers, SeeksForwardBackAndPastTheEnd) {
    StatePtr s = stateOver(numberedBytes());
    seekInput(*s, 100000);
    EXPECT_EQ(readByte(*s), static_cast<std::uint8_t>(100000 * 7));
    seekInput(*s, 100000 - 300);
    EXPECT_EQ(readByte(*s), static_cast<std::uint8_t>((100000 - 300) * 7));
    seekInput(*s, 10'000'000);
    EXPECT_EQ(inputOffset(*s), 10'000'000);
    EXPECT_EQ(readByte(*s), 0xFF);
    EXPECT_EQ(readBe32(*s), 0xFFFFFFFFu);
}

TEST(Readers, SeekBackAcrossARefill) {
    // The longest seek back that the item frame makes: a list entry of 264
    // bytes (two words, a count of 255, its characters) that starts one byte
    // before its item's end. Wherever the window is refilled while the entry
    // is read, the item's end must still be in reach.
    const std::string bytes = numberedBytes();
    const std::int64_t windowEnd = kInputBufferSize;
    for (std::int64_t entryStart : {windowEnd - 263, windowEnd - 100, windowEnd - 1}) {
        StatePtr s = stateOver(bytes);
        seekInput(*s, entryStart);
        for (int i = 0; i < 264; ++i) {
            readByte(*s);
        }
        seekInput(*s, entryStart + 1);
        EXPECT_EQ(inputOffset(*s), entryStart + 1);
        EXPECT_EQ(readByte(*s), static_cast<std::uint8_t>((entryStart + 1) * 7));
    }
}
