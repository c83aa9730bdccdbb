#include <gtest/gtest.h>

#include <string>

#include "streams/dump_writer.h"
#include "test_support.h"

TEST(DumpWriter, TextsCrossingTheBufferArriveWhole) {
    // A text longer than the room left in the output buffer is split across
    // a flush: every byte must arrive once and in order.
    const std::string text = "0123456789abcdef";
    for (std::size_t room : {0, 1, 7, 15, 16, 17}) {
        StatePtr s = stateOver("");
        const std::string filler(kOutputBufferSize - room, '.');
        writeBytes(*s, filler.data(), filler.size());
        writeBytes(*s, text.data(), text.size());
        writeBytes(*s, text.data(), text.size());
        std::string dump = dumpedText(*s);
        ASSERT_EQ(dump.size(), filler.size() + 2 * text.size()) << room << " bytes of room";
        EXPECT_EQ(dump.compare(0, filler.size(), filler), 0) << room << " bytes of room";
        EXPECT_EQ(dump.substr(filler.size()), text + text) << room << " bytes of room";
    }
}
