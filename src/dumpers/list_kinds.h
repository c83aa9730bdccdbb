// Dumpers of the kinds whose body is a counted list, one line per member.
#pragma once

#include <cstddef>

#include "driver/dump_state.h"
#include "symfile/item_frame.h"
#include "text/line_text.h"

// The room of kind 11's words, and what starts each of its names: a line of
// its own after two tabs.
constexpr std::size_t kKind11HeadRoom = textRoom("\t", kHex8Room, " #", kHex8Room, " ", kHex8Room);
constexpr char kKind11NameBreak[] = {kLineEnd[0], kLineEnd[1], '\t', '\t', '\0'};
static_assert(sizeof kKind11NameBreak == sizeof kLineEnd + 2, "the line end is two characters");

// The longest text of a kind-11 body, the longest of any item. Per byte,
// nothing writes more than an empty name in its list: 4 bytes (a count of 0,
// three pad bytes) give 18 characters; a raw body gives at most kRawByteRoom
// a byte, a kind-6 entry 38 for its 12 bytes at the least, trailing bytes 2.
// So the longest body is three words, empty names in all but the last 3 of
// the 65,519 bytes after them, and a last name of 255 line feeds (CR LF each)
// that starts there, taken with its reservation's slack.
constexpr std::size_t kEmptyNameText = textRoom(kKind11NameBreak, "[ 0]\"") + kNameCloseRoom;
constexpr std::size_t kLongestKind11Text = kKind11HeadRoom +
                                           (kLongestItem - kItemHeaderSize - 12) / 4 * kEmptyNameText +
                                           textRoom(kKind11NameBreak) + countedNameRoom(255);

void dumpKind6(DumpState &state);
void dumpKind11(DumpState &state);
