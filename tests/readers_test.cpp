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
        StatePtr s = stateOver(c.bytes);
        EXPECT_EQ(readBe16(*s), c.be16);
        EXPECT_EQ(inputOffset(*s), 2);
        s = stateOver(c.bytes);
        EXPECT_EQ(readBe32(*s), c.be32);
        EXPECT_EQ(inputOffset(*s), 4);
    }
}

TEST(Readers, BytesPastTheEndReadFF) {
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
        EXPECT_EQ(readByte(*s), 0xFF) << c.bytes.size() << " bytes";
    }
}

TEST(Readers, RefillKeepsTheUnreadBytesAndLaysFFPastTheEnd) {
    // Bytes whose value tells their offset, a window and a half of them.
    std::string bytes;
    for (std::size_t i = 0; i < kInputBufferSize * 3 / 2; ++i) {
        bytes += static_cast<char>(i * 7);
    }
    // 300 bytes asked for where the window holds them exactly, and where it
    // holds one byte fewer or a single one.
    for (std::size_t from : {kInputBufferSize - 300, kInputBufferSize - 299, kInputBufferSize - 1}) {
        StatePtr s = stateOver(bytes);
        s->input.pos = from;
        holdInput(*s, 300);
        EXPECT_EQ(inputOffset(*s), static_cast<std::int64_t>(from));
        for (std::size_t i = 0; i < 300; ++i) {
            ASSERT_EQ(readByte(*s), static_cast<std::uint8_t>((from + i) * 7)) << from << " + " << i;
        }
    }
    // The window asked for past the end of the file: the first refill meets
    // the end and lays 0xFF after it, the second moves the file's last 16
    // bytes and that 0xFF to the front and lays more.
    StatePtr s = stateOver(bytes);
    s->input.pos = kInputBufferSize - 100;
    holdInput(*s, kInputBufferSize);
    s->input.pos = bytes.size() - 16 - static_cast<std::size_t>(s->input.windowStart);
    holdInput(*s, kInputBufferSize);
    const unsigned char *tail = readBytes(*s, kInputBufferSize);
    for (std::size_t i = 0; i < kInputBufferSize; ++i) {
        ASSERT_EQ(tail[i], i < 16 ? static_cast<std::uint8_t>((bytes.size() - 16 + i) * 7) : 0xFF) << i;
    }
}
