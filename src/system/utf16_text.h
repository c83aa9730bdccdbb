// Names between UTF-16, which Windows passes and takes, and UTF-8, which the
// program uses inside. Written over any type of 16-bit unit: char16_t, and
// Windows' wchar_t, which its calls take and which may not alias char16_t.
#pragma once

#include <cstddef>

namespace utf16_detail {

inline bool isHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
inline bool isLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

inline char *putUtf8(char *out, char32_t cp) {
    if (cp < 0x80) {
        *out++ = static_cast<char>(cp);
        return out;
    }
    static const unsigned char kLeads[] = {0, 0xC0, 0xE0, 0xF0};
    int trailing = cp < 0x800 ? 1 : cp < 0x10000 ? 2 : 3;
    *out++ = static_cast<char>(kLeads[trailing] | (cp >> (6 * trailing)));
    for (int i = trailing - 1; i >= 0; --i) {
        *out++ = static_cast<char>(0x80 | ((cp >> (6 * i)) & 0x3F));
    }
    return out;
}

// Decodes the sequence at bytes[0..n); returns its length, 0 when it is not
// a valid one. A lone surrogate's three bytes are valid here.
inline std::size_t decodeSequence(const unsigned char *bytes, std::size_t n, char32_t &cp) {
    unsigned char lead = bytes[0];
    std::size_t length;
    char32_t least; // below this the sequence is longer than it need be
    if (lead < 0x80) {
        cp = lead;
        return 1;
    } else if (lead >= 0xC0 && lead < 0xE0) {
        length = 2, least = 0x80, cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead < 0xF0) {
        length = 3, least = 0x800, cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead < 0xF5) {
        length = 4, least = 0x10000, cp = lead & 0x07;
    } else {
        return 0;
    }
    if (n < length) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((bytes[k] & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (bytes[k] & 0x3F);
    }
    return cp >= least && cp <= 0x10FFFF ? length : 0;
}

} // namespace utf16_detail

// Writes the n units of UTF-16 at units as UTF-8 at out, which must have room
// for 3 * n bytes, and returns the number of bytes written. A surrogate
// without its partner, which Windows allows in a name, becomes the three
// bytes a code point of its value would take, so that utf16FromUtf8 gives the
// same name back.
template <typename Unit> std::size_t utf8FromUtf16(const Unit *units, std::size_t n, char *out) {
    using namespace utf16_detail;
    char *start = out;
    for (std::size_t i = 0; i < n; ++i) {
        char32_t cp = static_cast<char16_t>(units[i]);
        if (isHighSurrogate(cp) && i + 1 < n && isLowSurrogate(static_cast<char16_t>(units[i + 1]))) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<char16_t>(units[i + 1]) - 0xDC00);
            ++i;
        }
        out = putUtf8(out, cp);
    }
    return static_cast<std::size_t>(out - start);
}

// The inverse of utf8FromUtf16: out must have room for n units. A byte that
// starts no valid sequence becomes U+FFFD.
template <typename Unit> std::size_t utf16FromUtf8(const char *bytes, std::size_t n, Unit *out) {
    using namespace utf16_detail;
    const unsigned char *in = reinterpret_cast<const unsigned char *>(bytes);
    std::size_t written = 0;
    std::size_t i = 0;
    while (i < n) {
        char32_t cp;
        std::size_t length = decodeSequence(in + i, n - i, cp);
        if (length == 0) {
            cp = 0xFFFD;
            length = 1;
        }
        if (cp < 0x10000) {
            out[written++] = static_cast<Unit>(cp);
        } else {
            out[written++] = static_cast<Unit>(0xD800 + ((cp - 0x10000) >> 10));
            out[written++] = static_cast<Unit>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        }
        i += length;
    }
    return written;
}
