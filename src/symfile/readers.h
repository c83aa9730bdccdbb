// Big-endian field readers over the symbol file. Reads past the end of the
// input are not errors: every missing byte reads as 0xFF and nothing moves.
#pragma once

#include <cstddef>
#include <cstdint>

#include "driver/dump_state.h"

// Offset in the symbol file of the next byte to be read.
std::int64_t inputOffset(const DumpState &state);

std::uint8_t readByte(DumpState &state);
std::uint16_t readBe16(DumpState &state);
std::uint32_t readBe32(DumpState &state);

// Points *data at up to max unread bytes and moves past them. Returns how many
// there are: 0 only at the end of the input.
std::size_t takeInput(DumpState &state, const unsigned char **data, std::size_t max);

// Moves to an absolute offset, which may lie past the end of the input.
void seekInput(DumpState &state, std::int64_t target);

// Reads the first bytes of the file, so that a file that cannot be read (a
// directory, say) is found before anything is written.
void primeInput(DumpState &state);
