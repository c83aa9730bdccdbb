// The dump of items whose kind has no layout of its own.
#pragma once

#include <cstddef>

#include "driver/dump_state.h"
#include "text/line_text.h"

// The most text one body byte makes: a run's change and two hex digits.
constexpr std::size_t kRawByteRoom = textRoom("\"\t", kHexByteRoom);

// True for the 95 bytes from space to tilde, whatever the locale.
constexpr bool isPrintable(unsigned char b) { return b >= 0x20 && b <= 0x7E; }

// Writes the body as quoted runs of printable bytes and two-digit hex for all
// others, and names the kind on standard output.
void dumpRawItem(DumpState &state);
