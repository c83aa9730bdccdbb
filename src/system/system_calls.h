// What a run asks of the operating system: files opened by the names the
// user typed, one file known by two names, the reason a write failed, and
// standard error. Inside the program a name is UTF-8, as Linux passes it;
// Windows passes and takes names in UTF-16, whose every character its narrow
// calls cannot hold, so there every name goes through UTF-16 here. Nothing
// outside this file and the entry's signature needs to know which system it
// runs on.
#pragma once

#include <cstddef>
#include <cstdio>

#ifdef _WIN32
// The entry's UTF-16 argument in UTF-8, in a buffer of this file's that holds
// the longest command line Windows passes.
const char *utf8Argument(const wchar_t *argument);
#endif

// Opens the file at the UTF-8 path, in binary mode: "rb" or "wb".
std::FILE *openFile(const char *path, const char *mode);

// Whether the file open as opened is the one at path: the same file by
// another name, a link either way or the same name. Character devices, which
// may stand for both at once (/dev/null, a terminal), are never the same.
bool isSameFile(std::FILE *opened, const char *path);

// Makes a write to a pipe whose reader has gone fail with EPIPE instead of
// ending the process, where the system would end it.
void ignoreBrokenPipes();

// The reason a write that just failed gives, err being errno after it. A
// pipe whose reader has gone is EPIPE everywhere; Windows' C library says
// EINVAL for it.
int writeFailure(int err);

// Writes text to standard error: as bytes, or through the console's own
// UTF-16 call when standard error is a Windows console. At most
// kLongestErrorText bytes are taken.
constexpr std::size_t kLongestErrorText = 4096;
void writeStandardError(const char *text, std::size_t n);
