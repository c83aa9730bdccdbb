#include <gtest/gtest.h>

#include <string>

#include "dumpers/raw_dump.h"
#include "symfile/readers.h"
#include "test_support.h"

namespace {

// The body text of one raw item holding body.
std::string rawText(const std::string &body) {
    StatePtr s = stateOver(body);
    s->kind = 1;
    s->remaining = static_cast<std::int32_t>(body.size() + 4);
    dumpRawItem(*s);
    return dumpedText(*s);
}

} // namespace

TEST(RawDump, QuotingRules) {
    struct Case {
        std::string body;
        std::string text;
    } cases[] = {
        {"", ""},
        {std::string("A\0", 2), "\t\"A\"\t00"},
        {std::string("\x00\x01hi", 4), "0001\t\"hi"}, // run left open at the end
        {"\t ", "09\t\" "},                           // tab is hex, space is quoted
        {"~\x7F", "\t\"~\"\t7f"},                     // 0x7F is not printable
        {"\x1F\x20", "1f\t\" "},                      // first printable is the space
        {"\x80\xFF", "80ff"},                         // high bytes are hex
        {"a\nb", "\t\"a\"\t0a\t\"b"},                 // runs reopen after each hex byte
        {"\"q\"", "\t\"\"q\""},                       // quotes inside a run stay as they are
        {"\r\n", "0d0a"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(rawText(c.body), c.text) << "body of " << c.body.size() << " bytes";
    }
}

TEST(RawDump, OneOtherByteAnywhereInARun) {
    // Every byte that is not printable splits a run of letters the same way,
    // wherever it stands.
    const std::string letters = "ABCDEFGHIJKLMNOPQRS";
    for (unsigned char other : {0x00, 0x09, 0x0A, 0x1F, 0x7F, 0x80, 0xFF}) {
        for (std::size_t at = 0; at < letters.size(); ++at) {
            std::string body = letters;
            body[at] = static_cast<char>(other);
            std::string before = letters.substr(0, at);
            std::string after = letters.substr(at + 1);
            static const char digits[] = "0123456789abcdef";
            std::string expected = before.empty() ? "" : "\t\"" + before + "\"\t";
            expected += {digits[other >> 4], digits[other & 0xF]};
            expected += after.empty() ? "" : "\t\"" + after;
            EXPECT_EQ(rawText(body), expected) << "byte " << int(other) << " at " << at;
        }
    }
}

TEST(RawDump, EveryByteIsClassifiedOnce) {
    int printable = 0;
    for (int b = 0; b < 256; ++b) {
        printable += isPrintable(static_cast<unsigned char>(b));
    }
    EXPECT_EQ(printable, 95);
    EXPECT_TRUE(isPrintable(' '));
    EXPECT_TRUE(isPrintable('~'));
    EXPECT_FALSE(isPrintable(0x1F));
    EXPECT_FALSE(isPrintable(0x7F));
}

TEST(RawDump, ShortLengthWritesQuestionMarksAndReadsNothing) {
    for (std::int32_t length : {0, 1, 2, 3}) {
        StatePtr s = stateOver("ABCD");
        s->remaining = length;
        dumpRawItem(*s);
        EXPECT_EQ(dumpedText(*s), "?????");
        EXPECT_EQ(inputOffset(*s), 0);
    }
}

TEST(RawDump, BodyPastTheEndReadsFF) {
    StatePtr s = stateOver("AB");
    s->remaining = 4 + 5;
    dumpRawItem(*s);
    EXPECT_EQ(dumpedText(*s), "\t\"AB\"\tffffff");
    EXPECT_EQ(s->remaining, 0);
}
