#include <gtest/gtest.h>

#include <string>

#include "symfile/item_frame.h"
#include "symfile/readers.h"
#include "test_support.h"

namespace {

// A counted name of n characters that differ from their neighbours and take
// every byte value but the line feed (NUL, CR, 0x80 and up among them, which
// are written as they are), its pad bytes 0x0F, 0x1F and 0x2F, and the text
// it dumps as.
struct NameFixture {
    std::string bytes;
    std::string text;
};
NameFixture nameOf(int n) {
    std::string chars;
    for (int i = 0; i < n; ++i) {
        char c = static_cast<char>(i * 37 + 11); // 37 is prime to 256
        chars += c == '\n' ? 'n' : c;
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
    // them, in the pad or the next item. Held against the same bytes with a
    // 'q' there: a line feed among the characters becomes CR LF, one in the
    // pad is shown as 0a for the 71 of the 'q', and one in the next item is
    // no part of the name.
    auto dumpName = [](const std::string &bytes) {
        StatePtr s = stateOver(bytes);
        std::int32_t count = 0;
        dumpCountedName(*s, count);
        return dumpedText(*s);
    };
    for (int n = 0; n <= 40; ++n) {
        const std::size_t pad = 3 - n % 4;
        const std::string plain =
            static_cast<char>(n) + std::string(static_cast<std::size_t>(n) + pad + 8, 'q');
        const std::string plainText = dumpName(plain);
        const std::size_t padText = plainText.size() - 2 * pad;
        for (std::size_t at = 1; at < plain.size(); ++at) {
            std::string bytes = plain;
            bytes[at] = '\n';
            std::string text = plainText;
            if (at <= static_cast<std::size_t>(n)) {
                text.replace(4 + at, 1, "\r\n");
            } else if (at <= n + pad) {
                text.replace(padText + 2 * (at - n - 1), 2, "0a");
            }
            ASSERT_EQ(dumpName(bytes), text) << n << " characters, line feed at byte " << at;
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
