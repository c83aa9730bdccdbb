#include <gtest/gtest.h>

#include <string>

#include "streams/dump_writer.h"
#include "test_support.h"

TEST(DumpWriter, RoomIsMadeByFlushingWhenTooLittleIsLeft) {
    // The room asked for is left, one byte short of it, or free: what was in
    // the buffer arrives whole and in order, and the text after it fits.
    const std::string text(300, 't');
    for (std::size_t room : {text.size() - 1, text.size(), text.size() + 1}) {
        StatePtr s = stateOver("");
        const std::string filler(kOutputBufferSize - room, '.');
        holdOutput(*s, filler.size());
        writeBytes(*s, filler.data(), filler.size());
        holdOutput(*s, text.size());
        writeBytes(*s, text.data(), text.size());
        EXPECT_LE(s->output.len, s->output.capacity) << room << " bytes of room";
        EXPECT_TRUE(dumpedText(*s) == filler + text) << room << " bytes of room";
    }
}
