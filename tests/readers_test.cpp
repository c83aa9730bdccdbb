#include <gtest/gtest.h>

#include <string>

#include "symfile/readers.h"
#include "test_support.h"

TEST(Readers, BigEndianValues) {
    struct Case {
        std::string bytes;
        std::uint16_t be16;
        std::uint32_t be32;
    } cases[] = {
        {std::string("\x12\x34\x56\x78", 4), 0x1234, 0x12345678},
        {std::string("\x80\x00\x00\x01", 4), 0x8000, 0x80000001},
        {std::string("\xFF\xFE\x00\x00", 4), 0xFFFE, 0xFFFE0000},
        {std::string("\x00\x00\x00\x00", 4), 0x0000, 0x00000000},
    };
    for (const Case &c : cases) {
        StatePtr a = stateOver(c.bytes);
        EXPECT_EQ(readBe16(*a), c.be16);
        EXPECT_EQ(inputOffset(*a), 2);
        StatePtr b = stateOver(c.bytes);
        EXPECT_EQ(readBe32(*b), c.be32);
        EXPECT_EQ(inputOffset(*b), 4);
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
        std::uint16_t be16;
    } cases[] = {
        {"", 0xFFFFFFFF, 0xFFFF},
        {"\x12", 0x12FFFFFF, 0x12FF},
        {"\x12\x34\x56", 0x123456FF, 0x1234},
    };
    for (const Case &c : cases) {
        StatePtr a = stateOver(c.bytes);
        EXPECT_EQ(readBe32(*a), c.be32) << c.bytes.size() << " bytes";
        EXPECT_EQ(inputOffset(*a), static_cast<std::int64_t>(c.bytes.size()));
        StatePtr b = stateOver(c.bytes);
        EXPECT_EQ(readBe16(*b), c.be16) << c.bytes.size() << " bytes";
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

TEST(Readers, SeeksForwardBackAndPastTheEnd) {
    std::string bytes;
    for (int i = 0; i < 3 * 65536; ++i) {
        bytes += static_cast<char>(i * 7);
    }
    StatePtr s = stateOver(bytes);
    seekInput(*s, 100000);
    EXPECT_EQ(readByte(*s), static_cast<std::uint8_t>(100000 * 7));
    // Back a little after a refill: the kept bytes cover it.
    seekInput(*s, 131070);
    readBe32(*s);
    seekInput(*s, 131071 - 300);
    EXPECT_EQ(inputOffset(*s), 131071 - 300);
    EXPECT_EQ(readByte(*s), static_cast<std::uint8_t>((131071 - 300) * 7));
    seekInput(*s, 10'000'000);
    EXPECT_EQ(inputOffset(*s), 10'000'000);
    EXPECT_EQ(readByte(*s), 0xFF);
    EXPECT_EQ(readBe16(*s), 0xFFFF);
}
