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

namespace {

// A counted name of n characters that differ from their neighbours, its pad
// bytes 0x0F, 0x1F and 0x2F, and the text it dumps as.
struct NameFixture {
    std::string bytes;
    std::string text;
};
NameFixture nameOf(int n) {
    std::string chars;
    for (int i = 0; i < n; ++i) {
        chars += static_cast<char>('A' + i % 58);
    }
    std::string pad = std::string("\x0F\x1F\x2F").substr(0, static_cast<std::size_t>(3 - n % 4));
    static const char *const kPadText[] = {"", "\t\t0f", "\t\t0f1f", "\t\t0f1f2f"};
    std::string count = (n < 10 ? "[ " : "[") + std::to_string(n) + "]";
    return {static_cast<char>(n) + chars + pad, count + "\"" + chars + "\"" + kPadText[pad.size()]};
}

} // namespace

TEST(CountedName, EveryLengthArrivesWhole) {
    for (int n = 0; n < 256; ++n) {
        NameFixture name = nameOf(n);
        StatePtr s = stateOver(name.bytes + "next");
        std::int32_t count = 0;
        dumpCountedName(*s, count);
        EXPECT_EQ(dumpedText(*s), name.text) << n << " characters";
        EXPECT_EQ(count, -static_cast<std::int32_t>(name.bytes.size())) << n << " characters";
        EXPECT_EQ(inputOffset(*s), static_cast<std::int64_t>(name.bytes.size())) << n << " characters";
    }
}

TEST(CountedName, LineFeedsInsideAndJustPastTheName) {
    // A line feed at each place of names of up to 40 bytes, and just past
    // them, in the pad or the next item, where it is no part of the name.
    for (int n = 0; n <= 40; ++n) {
        for (int at = 0; at < n + 8; ++at) {
            std::string after(3 - n % 4 + 8, 'z'); // the pad, then the next item
            std::string chars(static_cast<std::size_t>(n), 'q');
            (at < n ? chars : after)[static_cast<std::size_t>(at < n ? at : at - n)] = '\n';
            std::string text = "[" + std::string(n < 10 ? " " : "") + std::to_string(n) + "]\"";
            for (char c : chars) {
                text += c == '\n' ? "\r\n" : std::string(1, c);
            }
            text += "\"";
            static const char kDigits[] = "0123456789abcdef";
            for (int i = 0; i < 3 - n % 4; ++i) {
                auto b = static_cast<unsigned char>(after[static_cast<std::size_t>(i)]);
                text += std::string(i == 0 ? "\t\t" : "") + kDigits[b >> 4] + kDigits[b & 0xF];
            }
            StatePtr s = stateOver(static_cast<char>(n) + chars + after);
            std::int32_t count = 0;
            dumpCountedName(*s, count);
            ASSERT_EQ(dumpedText(*s), text) << n << " characters, line feed at " << at;
        }
    }
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
        {6, "\t?? pad ?? 01020304ffff", 6}, // past the end of the input
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
    s->input.pos = 4;
    s->remaining = 12;
    std::size_t itemEnd = openItemFrame(*s, 8);
    EXPECT_EQ(itemEnd, 12u);
    s->input.pos = 30;
    s->remaining = -10;
    closeItemFrame(*s, itemEnd);
    EXPECT_EQ(inputOffset(*s), 12);
    EXPECT_EQ(dumpedText(*s), "");
}
