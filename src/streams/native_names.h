// File names as the user typed them. Inside the program a name is UTF-8, as
// Linux passes it; Windows passes and takes names in UTF-16, whose every
// character its narrow calls cannot hold, so on Windows the entry, the
// opening of the symbol file and the messages go through UTF-16.
#pragma once

#include <cstddef>
#include <cstdio>

// Writes the n units of UTF-16 at units as UTF-8 at out, which must have room
// for 3 * n bytes, and returns the number of bytes written. A surrogate
// without its partner, which Windows allows in a name, becomes the three
// bytes a code point of its value would take, so that utf16FromUtf8 gives the
// same name back.
std::size_t utf8FromUtf16(const char16_t *units, std::size_t n, char *out);

// The inverse of utf8FromUtf16: out must have room for n units. A byte that
// starts no valid sequence becomes U+FFFD.
std::size_t utf16FromUtf8(const char *bytes, std::size_t n, char16_t *out);

#ifdef _WIN32
// A UTF-16 argument as a new UTF-8 string, null when there is no memory for
// it. Free it with std::free.
char *utf8FromWide(const wchar_t *text);
#endif

// Opens the symbol file named by the UTF-8 path for reading, in binary mode.
std::FILE *openSymbolFile(const char *path);

// Whether the file open as opened is the one at path: the same file by
// another name, a link either way or the same name. Character devices, which
// may stand for both at once (/dev/null, a terminal), are never the same.
bool isSameFile(std::FILE *opened, const char *path);

// The reason a write that just failed gives, err being errno after it. A
// pipe whose reader has gone is EPIPE everywhere; Windows' C library says
// EINVAL for it.
int writeFailure(int err);

// Writes text to standard error: as bytes, or through the console's own
// UTF-16 call when standard error is a Windows console.
void writeStandardError(const char *text, std::size_t n);
