// The dump of items whose kind has no layout of its own.
#pragma once

#include <cstddef>

#include "driver/dump_state.h"
#include "text/line_text.h"

// The most text one body byte makes: a run's change and two hex digits.
constexpr std::size_t kRawByteRoom = textRoom("\"\t", kHexByteRoom);

// Writes the body as quoted runs of printable bytes and two-digit hex for all
// others, and names the kind on standard output.
void dumpRawItem(DumpState &state);
