// The bytes of a stream, for the test tools that read back what a run wrote.
#pragma once

#include <cstdio>
#include <string>

// Appends the bytes of file from where it stands to its end to text; false
// when a read failed.
inline bool readToEnd(std::FILE *file, std::string &text) {
    char chunk[65536];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        text.append(chunk, n);
    }
    return !std::ferror(file);
}
