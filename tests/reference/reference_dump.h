// The dump written plainly from the behaviour, for the tests only: it shares
// no code with the program, reads the input a byte at a time from memory and
// formats with snprintf. Every test that holds the program's own code to the
// exact dump compares with it.
#pragma once

#include <cstddef>
#include <string>

struct DumpResult {
    std::string dump;    // the bytes of "OutPut.txt"
    std::string console; // the kinds listed on standard output
    int status;          // the exit status
    std::string message; // the line on standard error after "symtext: <path>: ", if any, without its end
};

DumpResult referenceDump(const std::string &input);
