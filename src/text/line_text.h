// Literal texts of the dump, its line end among them, and the room a line
// of literals and fields takes.
#pragma once

#include <cstddef>
#include <cstring>

#include "text/number_text.h"

// Every line of the dump ends so, on every platform.
constexpr char kLineEnd[] = "\r\n";
constexpr std::size_t kLineEndSize = sizeof kLineEnd - 1;

// A literal text without its terminating null.
template <std::size_t N> inline char *putLiteral(char *p, const char (&text)[N]) {
    std::memcpy(p, text, N - 1);
    return p + (N - 1);
}

inline char *putLineEnd(char *p) { return putLiteral(p, kLineEnd); }

// The room of a line made of the given parts, in the order it is put: each
// literal its length, each field the room of its put function.
constexpr std::size_t roomOf(FieldRoom field) { return field.size; }
template <std::size_t N> constexpr std::size_t roomOf(const char (&)[N]) { return N - 1; }
template <typename... Parts> constexpr std::size_t textRoom(const Parts &...parts) {
    return (roomOf(parts) + ...);
}
