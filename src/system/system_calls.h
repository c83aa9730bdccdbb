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

// Opens the file at the UTF-8 path to read it, in binary mode.
std::FILE *openFileToRead(const char *path);

// Opens the file at the UTF-8 path to write it, in binary mode, creating it
// if there is none, but not emptying it: it stays as it was until
// emptyFile, so that a file found to be the wrong one is left whole.
std::FILE *openFileToWrite(const char *path);

// Empties a file opened by openFileToWrite; false, with errno set, when it
// cannot be.
bool emptyFile(std::FILE *file);

// The name of the standard stream, output or error, that writes to the same
// file as file, or null when none does. Only a file stored on disk counts:
// a terminal, a pipe or /dev/null may well be both.
const char *standardStreamWriting(std::FILE *file);

// Takes a lock on the file that no other run's can share, held until the
// file is closed; false when another run holds one. Where the file cannot
// be locked at all (some network file systems), or is no file on disk,
// there is nothing to hold and the answer is true.
bool lockFile(std::FILE *file);

// Whether the file open as opened is the one at path: the same file by
// another name, a link either way or the same name. Character devices, which
// may stand for both at once (/dev/null, a terminal), are never the same, nor
// is a directory, which can be neither: reading it fails with its own reason.
bool isSameFile(std::FILE *opened, const char *path);

// Readies the process before any file is opened: each of the standard
// descriptors that came closed is opened on the null device, so that no file
// of the run can take its number and receive what is meant for that stream;
// a write to a pipe whose reader has gone, or past the file-size limit,
// fails with EPIPE or EFBIG instead of ending the process.
void startProcess();

// The error of the C library call that just failed, as errno numbers it:
// EIO when the call set none (a stream's error flag set long before, say),
// and EPIPE for a pipe whose reader has gone, which Windows' C library calls
// EINVAL. Every failure the run reports goes through here.
int failedCallError();

// Writes text to standard error: as bytes, or through the console's own
// UTF-16 call when standard error is a Windows console. At most
// kLongestErrorText bytes are taken.
constexpr std::size_t kLongestErrorText = 4096;
void writeStandardError(const char *text, std::size_t n);
