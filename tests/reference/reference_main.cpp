// The reference dump and the generator as a command, for the process tests
// and the fuzz corpus:
//   symtext_reference dump FILE DUMP        the dump of FILE into DUMP, the
//                                           console text on standard output,
//                                           its message on standard error,
//                                           and the program's exit status
//   symtext_reference generate SEED SIZE FILE
//   symtext_reference constants             the program's buffer sizes and
//                                           the dump's bound, a "name value"
//                                           line each, so that the tests take
//                                           them from the build
// The constants come from the program's headers alone: nothing of the
// program is linked in.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "driver/dump_state.h"
#include "driver/dump_symbol_file.h"
#include "output_bound.h"
#include "reference_dump.h"
#include "stream_text.h"
#include "symbol_generator.h"

namespace {

bool readFile(const char *path, std::string &text) {
    std::FILE *file = std::fopen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    bool ok = readToEnd(file, text);
    return std::fclose(file) == 0 && ok;
}

bool writeFile(const char *path, const std::string &text) {
    std::FILE *file = std::fopen(path, "wb");
    if (file == nullptr) {
        return false;
    }
    bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && ok;
}

} // namespace

int main(int argc, char **argv) {
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "dump" && argc == 4) {
        std::string input;
        if (!readFile(argv[2], input)) {
            std::perror(argv[2]);
            return 2;
        }
        DumpResult result = referenceDump(input);
        if (!writeFile(argv[3], result.dump)) {
            std::perror(argv[3]);
            return 2;
        }
        std::fwrite(result.console.data(), 1, result.console.size(), stdout);
        if (!result.message.empty()) {
            std::fprintf(stderr, "%s\n", result.message.c_str());
        }
        return std::fflush(stdout) == 0 ? result.status : 2;
    }
    if (command == "generate" && argc == 5) {
        std::string text =
            generateSymbolFile(std::strtoull(argv[2], nullptr, 10), std::strtoull(argv[3], nullptr, 10));
        if (!writeFile(argv[4], text)) {
            std::perror(argv[4]);
            return 2;
        }
        return 0;
    }
    if (command == "constants" && argc == 2) {
        const struct {
            const char *name;
            std::size_t value;
        } constants[] = {
            {"kInputBufferSize", kInputBufferSize},
            {"kOutputBufferSize", kOutputBufferSize},
            {"kConsoleBufferSize", kConsoleBufferSize},
            {"kLeastSizes.input", kLeastSizes.input},
            {"kLeastSizes.output", kLeastSizes.output},
            {"kLeastSizes.console", kLeastSizes.console},
            {"kDumpBytesPerInputByte", kDumpBytesPerInputByte},
            {"kDumpBytesPastTheEnd", kDumpBytesPastTheEnd},
        };
        for (const auto &constant : constants) {
            std::string line = std::string(constant.name) + " " + std::to_string(constant.value) + "\n";
            std::fputs(line.c_str(), stdout);
        }
        return std::fflush(stdout) == 0 ? 0 : 2;
    }
    std::fputs("usage: symtext_reference dump FILE DUMP | generate SEED SIZE FILE | constants\n", stderr);
    return 2;
}
