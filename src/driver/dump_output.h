// Writing the dump file through the output buffer of DumpState, and the ways
// a run ends. Every line end of the dump file is CR LF, written here.
#pragma once

#include <cstddef>
#include <cstdint>

#include "driver/dump_state.h"

constexpr const char *kDumpFileName = "OutPut.txt";

// Returns room for at least n bytes (n up to kOutputBufferSize) at the end of
// the buffer; the caller writes there and then adds what it wrote to
// output.len.
char *reserveOutput(DumpState &state, std::size_t n);

void writeBytes(DumpState &state, const char *text, std::size_t n);
void writeText(DumpState &state, const char *text);
void writeChar(DumpState &state, char c);
void writeLineEnd(DumpState &state);
// Name bytes as they stand, except that each line feed becomes CR LF.
void writeNameBytes(DumpState &state, const unsigned char *data, std::size_t n);
// Two lowercase hex digits for each byte ("%02x" a byte).
void writeHexBytes(DumpState &state, const unsigned char *data, std::size_t n);
// Lowercase hex, zero-filled to at least minDigits digits ("%08x", "%0x").
void writeHex(DumpState &state, std::uint64_t value, int minDigits);
// Uppercase hex, zero-filled to at least minDigits digits ("%06X").
void writeHexUpper(DumpState &state, std::uint64_t value, int minDigits);
// Lowercase hex right-aligned in at least width columns of spaces ("%8x").
void writeHexPadded(DumpState &state, std::uint32_t value, int width);
// Decimal right-aligned in at least width columns of spaces ("%d", "%2d").
void writeDecimal(DumpState &state, std::uint32_t value, int width);
// Two lowercase hex digits for each of count bytes of value b ("%02x").
void writeHexBytesRepeated(DumpState &state, unsigned char b, std::int64_t count);

// Writes the kind of an opaque item to standard output as "%d ".
void writeKindToConsole(std::uint16_t kind);

// Writes the buffer out; a failed write ends the run through failRun.
void flushOutput(DumpState &state);
// Flushes and closes the dump file, checking both.
void closeDumpFile(DumpState &state);
// Flushes standard output and checks that everything written there arrived.
void finishConsole();

// One line on standard error: "symtext: <what>: <reason>". reason may be null.
void reportFailure(const char *what, const char *reason);

// Ends a run that cannot go on: the message, whatever of the dump can still be
// written, and exit status 1.
[[noreturn]] void failRun(DumpState &state, const char *what, int err);
// Ends the run with the given status after everything buffered is written.
[[noreturn]] void endRun(DumpState &state, int status);
// The end of the process. It stands alone so that a fuzzing build can put
// its own in place and keep the harness alive.
[[noreturn]] void endProcess(int status);
