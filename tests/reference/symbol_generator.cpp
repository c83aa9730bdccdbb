#include "symbol_generator.h"

namespace {

// splitmix64: a sequence fixed by the seed on every machine, as no standard
// distribution is.
struct Random {
    std::uint64_t state;
    std::uint64_t next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    std::uint32_t below(std::uint32_t n) { return static_cast<std::uint32_t>(next() % n); }
    bool percent(std::uint32_t p) { return below(100) < p; }
};

void be16(std::string &out, std::uint32_t v) {
    out += static_cast<char>(v >> 8 & 0xFF);
    out += static_cast<char>(v & 0xFF);
}

void be32(std::string &out, std::uint32_t v) {
    be16(out, v >> 16);
    be16(out, v & 0xFFFF);
}

// A byte of one of the styles that the dump tells apart.
char byteOf(Random &rng, int style) {
    switch (style) {
    case 0: // printable
        return static_cast<char>(0x20 + rng.below(95));
    case 1: // printable with line feeds among them
        return rng.percent(20) ? '\n' : static_cast<char>(0x20 + rng.below(95));
    default: // anything
        return static_cast<char>(rng.below(256));
    }
}

void bytes(Random &rng, std::string &out, std::size_t n) {
    int style = static_cast<int>(rng.below(3));
    for (std::size_t i = 0; i < n; ++i) {
        if (rng.percent(3)) {
            style = static_cast<int>(rng.below(3));
        }
        out += byteOf(rng, style);
    }
}

// A word: a small number, all ones, or anything.
std::uint32_t word(Random &rng) {
    switch (rng.below(4)) {
    case 0:
        return rng.below(300);
    case 1:
        return 0xFFFFFFFF;
    default:
        return static_cast<std::uint32_t>(rng.next());
    }
}

// A counted name: count, characters, pad to a multiple of four.
void countedName(Random &rng, std::string &out) {
    std::uint32_t n = rng.percent(80) ? rng.below(41) : rng.percent(50) ? rng.below(256) : 250 + rng.below(6);
    out += static_cast<char>(n);
    bytes(rng, out, n);
    bytes(rng, out, 3 - n % 4);
}

// The body of an item of a known kind, and the least length its kind takes.
std::uint32_t knownBody(Random &rng, std::string &body, std::uint32_t kind) {
    switch (kind) {
    case 5:
        be32(body, word(rng));
        countedName(rng, body);
        return 8;
    case 4:
        for (int i = 0; i < 4; ++i) {
            be32(body, word(rng));
        }
        countedName(rng, body);
        return 16;
    case 7:
        for (int i = 0; i < 5; ++i) {
            be32(body, word(rng));
        }
        return 24;
    default: { // 6 and 11, lists whose count may say more or less than they hold
        std::uint32_t members = rng.percent(90) ? rng.below(6) : rng.below(200);
        std::uint32_t count = rng.percent(80) ? members : rng.percent(50) ? 0xFFFFFFFF : rng.below(8);
        if (kind == 11) {
            be32(body, word(rng));
        }
        be32(body, count);
        be32(body, word(rng));
        for (std::uint32_t i = 0; i < members && body.size() < 60000; ++i) {
            if (kind == 6) {
                be32(body, word(rng));
                be32(body, word(rng));
            }
            countedName(rng, body);
        }
        return kind == 6 ? 12 : 20;
    }
    }
}

void item(Random &rng, std::string &out, bool refused) {
    static const std::uint32_t kKnown[] = {4, 5, 6, 7, 11};
    std::string body;
    std::uint32_t kind = 0;
    std::uint32_t length = 0;
    bool overreach = false; // the length claims the items that follow
    if (refused || rng.percent(55)) {
        kind = kKnown[rng.below(5)];
        std::uint32_t least = knownBody(rng, body, kind);
        if (4 + body.size() < least) {
            bytes(rng, body, least - 4 - body.size()); // a list of kind 11 without names
        }
        length = static_cast<std::uint32_t>(4 + body.size());
        if (refused) {
            // A length the kind cannot have: under its least, or for kind 7
            // also over its one length.
            length = kind == 7 && rng.percent(50) ? 25 + rng.below(1000) : rng.below(least);
        } else if (kind != 7 && rng.percent(15)) {
            // Bytes the layout does not explain.
            std::size_t extra = 1 + rng.below(12);
            bytes(rng, body, extra);
            length += static_cast<std::uint32_t>(extra);
        } else if (kind != 7 && rng.percent(15)) {
            // Shorter than what it holds: the last name or entry runs past
            // the item into the next one.
            length = least + rng.below(length - least + 1);
        } else if (kind != 7 && rng.percent(6)) {
            // Far longer than what it holds: the items drawn after it are
            // read as its names or entries, and the next item is read
            // wherever its length ends, in the middle of one of them.
            overreach = true;
            length += 1 + (rng.percent(50) ? rng.below(300) : rng.below(65536));
        }
    } else {
        // Opaque kinds, those next to the known ones and at the ends of the
        // range often among them.
        static const std::uint32_t kEdges[] = {0, 1, 8, 10, 12, 255, 256, 0xFFFF};
        do {
            kind = rng.percent(30) ? kEdges[rng.below(8)] : rng.below(65536);
        } while (kind == 4 || kind == 5 || kind == 6 || kind == 7 || kind == 11);
        std::uint32_t size = rng.percent(80)   ? rng.below(61)
                             : rng.percent(80) ? rng.below(1000)
                             : rng.percent(50) ? rng.below(65532)
                                               : 65531;
        bytes(rng, body, size);
        length = rng.percent(4) ? rng.below(4) : 4 + size;
    }
    if (length > 65535) {
        length = 65535;
    }
    be16(out, length);
    be16(out, kind);
    // A refused item and an opaque one shorter than its header end there;
    // any other item holds length bytes, the header included.
    std::size_t held = length < 4 ? 0 : length - 4;
    out += body.substr(0, held < body.size() ? held : body.size());
    if (held > body.size() && !overreach) {
        bytes(rng, out, held - body.size());
    }
}

} // namespace

std::string generateSymbolFile(std::uint64_t seed, std::size_t size) {
    Random rng{seed};
    // One file in four ends its run, in its last eighth, with a length its
    // kind cannot have.
    std::size_t refusedAt = rng.percent(25) ? size - rng.next() % (size / 8 + 1) : size + 1;
    std::string out;
    while (out.size() < size) {
        bool refused = out.size() >= refusedAt;
        item(rng, out, refused);
        if (refused) {
            refusedAt = size + 1;
        }
    }
    out.resize(size);
    return out;
}
