// A file name as a message on standard error shows it: on one line, and
// with no byte that a terminal would take as a command.
#pragma once

#include <cstddef>

// The least room putMessageName takes: a cut name's quotes, its longest
// escape and "...".
constexpr std::size_t kLeastMessageNameRoom = 16;

// Puts name at p in at most room bytes and returns the end. A name that
// holds a control byte (below 0x20, or 0x7F) or bytes that are not UTF-8 is
// quoted as the shell's $'...', in which those bytes are escaped (\n, \033,
// \377), as are a quote and a backslash; any other name stands as it is. A
// name too long for room is cut after its last whole character or escape
// that fits, and ends in "..." after the closing quote.
char *putMessageName(char *p, std::size_t room, const char *name);
