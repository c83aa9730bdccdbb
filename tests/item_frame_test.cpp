#include <gtest/gtest.h>

#include <string>

#include "symfile/item_frame.h"
#include "symfile/readers.h"
#include "test_support.h"

TEST(CountedName, FormsAndCharges) {
    struct Case {
        std::string bytes; // count byte, characters, pad
        std::string text;
        std::int32_t charge;
    } cases[] = {
        {std::string("\x00\x00\x00\x00", 4), "[ 0]\"\"\t\t000000", 4},
        {std::string("\x02"
                     "ab\x00",
                     4),
         "[ 2]\"ab\"\t\t00", 4},
        {"\x03int", "[ 3]\"int\"", 4},
        {std::string("\x04main\x01\x02\x03", 8), "[ 4]\"main\"\t\t010203", 8},
        {std::string("\x01\n\xAB\xCD", 4), "[ 1]\"\r\n\"\t\tabcd", 4},               // a line feed is CR LF
        {std::string("\x03\x00\x80\r", 4), std::string("[ 3]\"\x00\x80\r\"", 9), 4}, // bytes as they are
    };
    for (const Case &c : cases) {
        StatePtr s = stateOver(c.bytes + "next");
        std::int32_t count = 100;
        dumpCountedName(*s, count);
        EXPECT_EQ(dumpedText(*s), c.text);
        EXPECT_EQ(count, 100 - c.charge);
        EXPECT_EQ(inputOffset(*s), c.charge);
    }
}

TEST(CountedName, LongNamesPrintWideCounts) {
    for (int n : {100, 252, 255}) {
        std::string chars(static_cast<std::size_t>(n), 'q');
        std::string pad(static_cast<std::size_t>(3 - n % 4), '\x0F');
        StatePtr s = stateOver(static_cast<char>(n) + chars + pad);
        std::int32_t count = 0;
        dumpCountedName(*s, count);
        std::string padText;
        for (std::size_t i = 0; i < pad.size(); ++i) {
            padText += i == 0 ? "\t\t0f" : "0f";
        }
        EXPECT_EQ(dumpedText(*s), "[" + std::to_string(n) + "]\"" + chars + "\"" + padText);
        EXPECT_EQ(count, -(n + 1 + static_cast<int>(pad.size())));
    }
}

TEST(CountedName, CutOffByTheEndOfTheInput) {
    // Missing characters are the byte 0xFF itself; missing pad bytes read "ff".
    StatePtr s = stateOver("\x05"
                           "ab");
    std::int32_t count = 8;
    dumpCountedName(*s, count);
    EXPECT_EQ(dumpedText(*s), "[ 5]\"ab\xFF\xFF\xFF\"\t\tffff");
    EXPECT_EQ(count, 0);
}

TEST(TrailingBytes, WrittenOnlyWhenSomeAreLeft) {
    struct Case {
        std::int32_t remaining;
        std::string text;
        std::int64_t offsetAfter;
    } cases[] = {
        {0, "", 0},
        {-4, "", 0}, // the layout overran the item: nothing more is read
        {4, "\t?? pad ?? 01020304", 4},
        {6, "\t?? pad ?? 01020304ffff", 4}, // past the end of the input
    };
    for (const Case &c : cases) {
        StatePtr s = stateOver("\x01\x02\x03\x04");
        s->remaining = c.remaining;
        dumpTrailingBytes(*s);
        EXPECT_EQ(dumpedText(*s), c.text) << c.remaining;
        EXPECT_EQ(inputOffset(*s), c.offsetAfter);
        EXPECT_LE(s->remaining, 0);
    }
}

TEST(ItemFrame, ClosesAtTheItemsEndWhateverWasRead) {
    // An item of 12 bytes whose header has been read; the frame overran it.
    StatePtr s = stateOver(be16(12) + be16(5) + std::string(40, 'z'));
    seekInput(*s, 4);
    s->remaining = 12;
    std::int64_t itemEnd = openItemFrame(*s, 8);
    EXPECT_EQ(itemEnd, 12);
    seekInput(*s, 30);
    s->remaining = -10;
    closeItemFrame(*s, itemEnd);
    EXPECT_EQ(inputOffset(*s), 12);
    EXPECT_EQ(dumpedText(*s), "");
}
