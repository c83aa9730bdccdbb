#include <gtest/gtest.h>

#include <string>

#include "system/utf16_text.h"

namespace {

std::string toUtf8(const std::u16string &units) {
    std::string out(3 * units.size(), '\0');
    out.resize(utf8FromUtf16(units.data(), units.size(), &out[0]));
    return out;
}

std::u16string toUtf16(const std::string &bytes) {
    std::u16string out(bytes.size(), u'\0');
    out.resize(utf16FromUtf8(bytes.data(), bytes.size(), &out[0]));
    return out;
}

} // namespace

TEST(Utf16Text, NamesSurviveTheTripThroughUtf8) {
    // The UTF-16 that Windows passes, and the UTF-8 the program uses inside.
    struct Case {
        std::u16string units;
        std::string bytes;
    } cases[] = {
        {u"", ""},
        {u"in.sym", "in.sym"},
        {u"donn\u00e9es", "donn\xc3\xa9"
                          "es"},                        // two bytes
        {u"\u03c3\u03cd\u03bc\u03b2\u03bf\u03bb\u03bf", // Greek
         "\xcf\x83\xcf\x8d\xce\xbc\xce\xb2\xce\xbf\xce\xbb\xce\xbf"},
        {u"\u7b26\u53f7", "\xe7\xac\xa6\xe5\x8f\xb7"}, // CJK, three bytes
        {u"\u007f\u0080\u07ff\u0800\uffff", "\x7f\xc2\x80\xdf\xbf\xe0\xa0\x80\xef\xbf\xbf"},
        {u"\U0001F600", "\xf0\x9f\x98\x80"}, // a surrogate pair, four bytes
        {u"\U00010000\U0010FFFF", "\xf0\x90\x80\x80\xf4\x8f\xbf\xbf"},
        // Surrogates without their partner, which a Windows name may hold.
        {std::u16string{0xD83D}, "\xed\xa0\xbd"},
        {std::u16string{0xDE00, u'a'}, "\xed\xb8\x80"
                                       "a"},
        {std::u16string{0xDE00, 0xD83D}, "\xed\xb8\x80\xed\xa0\xbd"}, // low before high
        {std::u16string{0xD83D, 0xD83D, 0xDE00}, "\xed\xa0\xbd\xf0\x9f\x98\x80"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(toUtf8(c.units), c.bytes);
        EXPECT_EQ(toUtf16(c.bytes), c.units);
    }
}

TEST(Utf16Text, BytesThatAreNotUtf8BecomeReplacementCharacters) {
    struct Case {
        std::string bytes;
        std::u16string units;
    } cases[] = {
        {"\x80"
         "a",
         u"\ufffd"
         "a"},                                             // a stray continuation byte
        {"\xc0\x80", u"\ufffd\ufffd"},                     // an overlong NUL
        {"\xe0\x9f\xbf", u"\ufffd\ufffd\ufffd"},           // overlong three bytes
        {"\xf0\x8f\xbf\xbf", u"\ufffd\ufffd\ufffd\ufffd"}, // overlong four bytes
        {"\xf4\x90\x80\x80", u"\ufffd\ufffd\ufffd\ufffd"}, // past U+10FFFF
        {"\xf5\x80", u"\ufffd\ufffd"},
        {"\xe7\xac", u"\ufffd\ufffd"}, // cut short by the end
        {"\xe7"
         "a\xa6",
         u"\ufffd"
         "a\ufffd"}, // cut short by an ASCII byte
    };
    for (const Case &c : cases) {
        EXPECT_EQ(toUtf16(c.bytes), c.units) << testing::PrintToString(c.bytes);
    }
}
