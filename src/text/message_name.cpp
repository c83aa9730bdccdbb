#include "text/message_name.h"

#include <cstring>

namespace {

bool isControl(unsigned char b) { return b < 0x20 || b == 0x7F; }

// The size of the UTF-8 character that starts s, of n bytes, or 0 when the
// bytes there are none: a stray continuation byte, a character cut off, an
// overlong form, a surrogate or a value past U+10FFFF.
std::size_t utf8Size(const unsigned char *s, std::size_t n) {
    unsigned char lead = s[0];
    std::size_t size = 0;
    unsigned char low = 0x80; // the second byte's range
    unsigned char high = 0xBF;
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        size = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        size = 3;
        low = lead == 0xE0 ? 0xA0 : low;   // not overlong
        high = lead == 0xED ? 0x9F : high; // no surrogate
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        size = 4;
        low = lead == 0xF0 ? 0x90 : low;   // not overlong
        high = lead == 0xF4 ? 0x8F : high; // not past U+10FFFF
    } else {
        return 0;
    }
    if (n < size || s[1] < low || s[1] > high) {
        return 0;
    }
    for (std::size_t i = 2; i < size; ++i) {
        if ((s[i] & 0xC0) != 0x80) {
            return 0;
        }
    }
    return size;
}

// One piece of the name as shown: a character as it stands, or an escape.
// It is never split when the name is cut.
struct Piece {
    std::size_t taken; // bytes of the name
    std::size_t size;  // bytes of text
    char text[4];
};

Piece nextPiece(const unsigned char *s, std::size_t n, bool quoted) {
    std::size_t size = utf8Size(s, n);
    Piece piece{size, size, {}};
    if (size != 0 && !(size == 1 && (isControl(s[0]) || (quoted && (s[0] == '\'' || s[0] == '\\'))))) {
        std::memcpy(piece.text, s, size);
        return piece;
    }
    // Named escapes where the shell has them, three octal digits otherwise.
    constexpr char kNamed[] = "\a\b\t\n\v\f\r'\\";
    constexpr char kNames[] = "abtnvfr'\\";
    piece.taken = 1;
    piece.text[0] = '\\';
    const char *named = s[0] != 0 ? std::strchr(kNamed, s[0]) : nullptr;
    if (named != nullptr) {
        piece.text[1] = kNames[named - kNamed];
        piece.size = 2;
    } else {
        piece.text[1] = static_cast<char>('0' + (s[0] >> 6));
        piece.text[2] = static_cast<char>('0' + (s[0] >> 3 & 7));
        piece.text[3] = static_cast<char>('0' + (s[0] & 7));
        piece.size = 4;
    }
    return piece;
}

} // namespace

char *putMessageName(char *p, std::size_t room, const char *name) {
    const auto *s = reinterpret_cast<const unsigned char *>(name);
    const std::size_t n = std::strlen(name);
    bool quoted = false;
    std::size_t shown = 0; // the size of the whole text between the quotes
    for (std::size_t i = 0; i < n;) {
        std::size_t size = utf8Size(s + i, n - i);
        quoted = quoted || size == 0 || isControl(s[i]);
        i += size != 0 ? size : 1;
    }
    for (std::size_t i = 0; i < n;) {
        Piece piece = nextPiece(s + i, n - i, quoted);
        shown += piece.size;
        i += piece.taken;
    }
    constexpr char kCut[] = "...";
    const std::size_t quotes = quoted ? 3 : 0; // $' and '
    const bool cut = quotes + shown > room;
    const std::size_t limit = cut ? room - quotes - (sizeof kCut - 1) : shown;
    if (quoted) {
        *p++ = '$';
        *p++ = '\'';
    }
    std::size_t used = 0;
    for (std::size_t i = 0; i < n;) {
        Piece piece = nextPiece(s + i, n - i, quoted);
        if (used + piece.size > limit) {
            break;
        }
        std::memcpy(p, piece.text, piece.size);
        p += piece.size;
        used += piece.size;
        i += piece.taken;
    }
    if (quoted) {
        *p++ = '\'';
    }
    if (cut) {
        std::memcpy(p, kCut, sizeof kCut - 1);
        p += sizeof kCut - 1;
    }
    return p;
}
