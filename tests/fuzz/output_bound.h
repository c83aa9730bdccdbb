// The most a dump can hold for an input of a given size (see "Bounded
// output" in doc/DEVELOPING.md): 70 bytes per input byte, plus one item of
// the largest length read past the end of the input as 0xFF bytes.
#pragma once

#include <cstddef>

constexpr std::size_t kDumpBytesPerInputByte = 70;
constexpr std::size_t kDumpBytesPastTheEnd = 132000;

constexpr std::size_t maxDumpSize(std::size_t inputSize) {
    return kDumpBytesPerInputByte * inputSize + kDumpBytesPastTheEnd;
}
