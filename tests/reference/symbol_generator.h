// Symbol files drawn from a seed, the same on every machine, for the tests
// that hold the program against the reference dump: items of every kind,
// names of up to 255 bytes with line feeds among them, opaque bodies of up
// to 65,531 bytes, trailing bytes, hostile counts, items shorter than their
// names or lists, so that these run into the next item, items far longer
// than what they hold, so that the items after them are read as their names
// and entries, and now and then a length that ends the run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Exactly size bytes: whole items, the last one cut wherever size falls.
std::string generateSymbolFile(std::uint64_t seed, std::size_t size);
