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
        {"~\x7F", "\t\"~\"\t7f"},     // 0x7F is not printable
        {"\x1F\x20", "1f\t\" "},      // first printable is the space
        {"\x80\xFF", "80ff"},         // high bytes are hex
        {"a\nb", "\t\"a\"\t0a\t\"b"}, // runs reopen after each hex byte
        {"\"q\"", "\t\"\"q\""},       // quotes inside a run stay as they are
        {"\r\n", "0d0a"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(rawText(c.body), c.text) << "body of " << c.body.size() << " bytes";
    }
}
