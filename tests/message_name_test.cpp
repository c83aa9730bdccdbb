#include <gtest/gtest.h>

#include <string>

#include "text/message_name.h"

TEST(MessageName, ShownOnOneLineWithNoControlByteAndCutWhole) {
    struct Case {
        const char *name;
        std::size_t room;
        std::string shown;
    } cases[] = {
        // As it stands: plain, with a space or quote, UTF-8 of 2 to 4 bytes.
        {"in.sym", 100, "in.sym"},
        {"it's a b\\c", 100, "it's a b\\c"},
        {"donn\xc3\xa9"
         "es \xe7\xac\xa6 \xf0\x9f\x98\x80",
         100,
         "donn\xc3\xa9"
         "es \xe7\xac\xa6 \xf0\x9f\x98\x80"},
        // Quoted: control bytes, named or in octal, and then a quote and a
        // backslash too.
        {"no\033[31mne\n.sym", 100, "$'no\\033[31mne\\n.sym'"},
        {"\a\b\t\v\f\r\x01\x1f\x7f", 100, "$'\\a\\b\\t\\v\\f\\r\\001\\037\\177'"},
        {"it's\\\n", 100, "$'it\\'s\\\\\\n'"},
        // Quoted: bytes that are not UTF-8, beside good characters: a stray
        // continuation, a lead cut off, overlong, a surrogate, past U+10FFFF.
        {"\x80\xc3 \xc3\xa9", 100, "$'\\200\\303 \xc3\xa9'"},
        {"\xc0\xaf|\xe0\x80\xaf|\xed\xa0\xbd|\xf4\x90\x80\x80|\xf5", 100,
         "$'\\300\\257|\\340\\200\\257|\\355\\240\\275|\\364\\220\\200\\200|\\365'"},
        // Exactly the room, as it stands and quoted.
        {"abcdefghijklmnop", 16, "abcdefghijklmnop"},
        {"abcdefghijklm\n", 18, "$'abcdefghijklm\\n'"},
        // One byte over: cut to a whole piece and "...".
        {"abcdefghijklmnopq", 16, "abcdefghijklm..."},
        {"abcdefghijkl\xc3\xa9zzz", 16, "abcdefghijkl..."},              // inside 2 bytes
        {"abcdefghij\xe7\xac\xa6zzzz", 16, "abcdefghij\xe7\xac\xa6..."}, // 3 bytes fit
        {"abcdefghijk\xe7\xac\xa6zzz", 16, "abcdefghijk..."},            // inside 3 bytes
        {"abcdefghij\xf0\x9f\x98\x80zzz", 16, "abcdefghij..."},          // inside 4 bytes
        {"abcdefgh\033ijklmn", 16, "$'abcdefgh'..."},                    // inside an escape
        {"abcdef\033ijklmn", 16, "$'abcdef\\033'..."},
    };
    for (const Case &c : cases) {
        char out[128];
        std::string shown(out, putMessageName(out, c.room, c.name));
        EXPECT_EQ(shown, c.shown) << "room " << c.room;
        EXPECT_LE(shown.size(), c.room);
    }
}
