#include "reference_dump.h"

#include <cstdint>
#include <cstdio>

namespace {

struct Reader {
    const std::string &input;
    std::int64_t pos; // may lie past the end after a seek
    bool pastEnd;     // a byte the input lacks has been read
};

// A byte the input lacks reads as 0xFF and nothing moves.
unsigned readOne(Reader &r) {
    if (r.pos >= static_cast<std::int64_t>(r.input.size())) {
        r.pastEnd = true;
        return 0xFF;
    }
    return static_cast<unsigned char>(r.input[static_cast<std::size_t>(r.pos++)]);
}

std::uint32_t readWord(Reader &r) {
    std::uint32_t word = 0;
    for (int i = 0; i < 4; ++i) {
        word = word << 8 | readOne(r);
    }
    return word;
}

// Appends a printf-style text; "\n" stands for the line end until the end.
template <typename... Args> void say(std::string &out, const char *format, Args... args) {
    char text[256];
    int n = std::snprintf(text, sizeof text, format, args...);
    out.append(text, static_cast<std::size_t>(n));
}

void countedName(Reader &r, std::string &out, std::int32_t &remaining) {
    unsigned n = readOne(r);
    say(out, "[%2u]\"", n);
    unsigned pad = 3 - n % 4;
    remaining -= static_cast<std::int32_t>(n + pad + 1);
    for (unsigned i = 0; i < n; ++i) {
        out += static_cast<char>(readOne(r)); // a line feed too: it ends the line
    }
    out += '"';
    if (pad != 0) {
        out += "\t\t";
        for (unsigned i = 0; i < pad; ++i) {
            say(out, "%02x", readOne(r));
        }
    }
}

void trailingBytes(Reader &r, std::string &out, std::int32_t &remaining) {
    if (remaining > 0) {
        out += "\t?? pad ?? ";
        for (; remaining > 0; --remaining) {
            say(out, "%02x", readOne(r));
        }
    }
}

// The body of one item; false when the item ends the run. readsPast says
// whether it read beyond its own end, into the bytes after it.
bool body(Reader &r, std::string &out, std::string &console, unsigned kind, std::int32_t remaining,
          bool &readsPast) {
    const std::int64_t itemEnd = r.pos + remaining - 4;
    auto tooShort = [&](std::int32_t least) {
        if (remaining < least) {
            out += "?????";
            return true;
        }
        return false;
    };
    if (kind == 5) {
        if (tooShort(8)) {
            return false;
        }
        say(out, "\t(%08x) ", readWord(r));
        remaining -= 8;
        countedName(r, out, remaining);
    } else if (kind == 4) {
        if (tooShort(16)) {
            return false;
        }
        std::uint32_t w1 = readWord(r), w2 = readWord(r), w3 = readWord(r), w4 = readWord(r);
        say(out, "\t(%08x) %08x ^%x:@%08x ", w1, w2, w3, w4);
        remaining -= 20;
        countedName(r, out, remaining);
    } else if (kind == 7) {
        if (remaining != 24) {
            out += "?????";
            return false;
        }
        std::uint32_t w1 = readWord(r), w2 = readWord(r), w3 = readWord(r), w4 = readWord(r),
                      w5 = readWord(r);
        say(out, "\t%0x %8x (%08x) %0x %0x", w1, w2, w3, w4, w5);
        return true;
    } else if (kind == 6) {
        if (tooShort(12)) {
            return false;
        }
        std::uint32_t m = readWord(r), w2 = readWord(r);
        say(out, "\t#%08x =%08x\n", m, w2);
        remaining -= 12;
        // A list ends with its item, whatever its count says.
        for (; m > 0 && remaining > 0; --m) {
            std::uint32_t e1 = readWord(r), e2 = readWord(r);
            remaining -= 8;
            say(out, "\t+%08x (%08x) ", e1, e2);
            countedName(r, out, remaining);
            out += "\n";
        }
    } else if (kind == 11) {
        if (tooShort(20)) {
            return false;
        }
        std::uint32_t w1 = readWord(r), m = readWord(r), w3 = readWord(r);
        say(out, "\t%08x #%08x %08x", w1, m, w3);
        remaining -= 16;
        for (; m > 0 && remaining > 0; --m) {
            out += "\n\t\t";
            countedName(r, out, remaining);
        }
    } else {
        say(console, "%u ", kind);
        if (remaining < 4) {
            out += "?????";
            return true;
        }
        bool inQuote = false;
        for (std::int32_t left = remaining - 4; left > 0; --left) {
            unsigned b = readOne(r);
            bool printable = b >= 0x20 && b <= 0x7E;
            if (printable && !inQuote) {
                out += "\t\"";
            } else if (!printable && inQuote) {
                out += "\"\t";
            }
            inQuote = printable;
            if (printable) {
                out += static_cast<char>(b);
            } else {
                say(out, "%02x", b);
            }
        }
        return true;
    }
    trailingBytes(r, out, remaining);
    readsPast = r.pos > itemEnd;
    r.pos = itemEnd;
    return true;
}

} // namespace

DumpResult referenceDump(const std::string &input) {
    DumpResult result{"", "", 0, ""};
    std::string text;
    std::string note; // on the first place where the input fell short
    Reader r{input, 0, false};
    const auto size = static_cast<std::int64_t>(input.size());
    // An item needs its whole 4-byte header; bytes short of one are ignored.
    while (r.pos + 4 <= size) {
        unsigned length = readOne(r) << 8;
        length |= readOne(r);
        const auto kindOffset = static_cast<unsigned long long>(r.pos);
        unsigned kind = readOne(r) << 8;
        kind |= readOne(r);
        say(text, "%06llX: (%u) [%04x] ", kindOffset, length, kind);
        bool readsPast = false;
        if (!body(r, text, result.console, kind, static_cast<std::int32_t>(length), readsPast)) {
            result.status = 1;
            say(result.message, "item at %06llX: kind %u cannot be %u bytes long", kindOffset, kind, length);
            break;
        }
        text += "\n";
        if (r.pastEnd && note.empty()) {
            say(note, "the item at %06llX runs past the end of the file; its missing bytes read as 0xFF",
                kindOffset);
        } else if (readsPast && note.empty()) {
            say(note,
                "the item at %06llX reads past its own end; the bytes after it are read into it and "
                "dumped again",
                kindOffset);
        }
    }
    if (r.pos < size && r.pos + 4 > size && note.empty()) {
        say(note, "the file ends inside the header that starts at %06llX; the dump leaves it out",
            static_cast<unsigned long long>(r.pos));
    }
    if (result.status == 0) {
        result.message = note;
    }
    // Every line end is CR LF, those of the texts and line feeds in names alike.
    for (char c : text) {
        if (c == '\n') {
            result.dump += '\r';
        }
        result.dump += c;
    }
    return result;
}
