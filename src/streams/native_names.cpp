#include "streams/native_names.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <cwchar>

#define WIN32_LEAN_AND_MEAN
#include <io.h>
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace {

bool isHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

char *putUtf8(char *out, char32_t cp) {
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
std::size_t decodeSequence(const unsigned char *bytes, std::size_t n, char32_t &cp) {
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

// The conversions over any type of 16-bit unit: char16_t, and on Windows
// wchar_t, which its calls take and which may not alias char16_t.
template <typename Unit> std::size_t encodeUtf8(const Unit *units, std::size_t n, char *out) {
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

template <typename Unit> std::size_t decodeUtf8(const char *bytes, std::size_t n, Unit *out) {
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

} // namespace

std::size_t utf8FromUtf16(const char16_t *units, std::size_t n, char *out) {
    return encodeUtf8(units, n, out);
}

std::size_t utf16FromUtf8(const char *bytes, std::size_t n, char16_t *out) {
    return decodeUtf8(bytes, n, out);
}

#ifdef _WIN32

namespace {

// The UTF-8 text as a new string of wide characters, ended by a zero; null
// when there is no memory for it. Free it with std::free.
wchar_t *wideFromUtf8(const char *text, std::size_t n, std::size_t &length) {
    wchar_t *wide = static_cast<wchar_t *>(std::malloc((n + 1) * sizeof(wchar_t)));
    if (wide != nullptr) {
        length = decodeUtf8(text, n, wide);
        wide[length] = 0;
    }
    return wide;
}

} // namespace

char *utf8FromWide(const wchar_t *text) {
    std::size_t n = std::wcslen(text);
    char *bytes = static_cast<char *>(std::malloc(3 * n + 1));
    if (bytes != nullptr) {
        bytes[encodeUtf8(text, n, bytes)] = '\0';
    }
    return bytes;
}

std::FILE *openSymbolFile(const char *path) {
    std::size_t length;
    wchar_t *wide = wideFromUtf8(path, std::strlen(path), length);
    if (wide == nullptr) {
        errno = ENOMEM;
        return nullptr;
    }
    std::FILE *file = _wfopen(wide, L"rb");
    int err = errno;
    std::free(wide);
    errno = err;
    return file;
}

bool isSameFile(std::FILE *opened, const char *path) {
    // A file is known by its volume and its index there, as a POSIX one by
    // its device and inode.
    auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(opened)));
    BY_HANDLE_FILE_INFORMATION ours;
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &ours)) {
        return false;
    }
    std::size_t length;
    wchar_t *wide = wideFromUtf8(path, std::strlen(path), length);
    if (wide == nullptr) {
        return false;
    }
    // Opened to read its information only, sharing everything, so that it
    // stands as it was.
    HANDLE other = CreateFileW(wide, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    std::free(wide);
    if (other == INVALID_HANDLE_VALUE) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION theirs;
    bool same = GetFileInformationByHandle(other, &theirs) &&
                ours.dwVolumeSerialNumber == theirs.dwVolumeSerialNumber &&
                ours.nFileIndexHigh == theirs.nFileIndexHigh && ours.nFileIndexLow == theirs.nFileIndexLow;
    CloseHandle(other);
    return same;
}

int writeFailure(int err) {
    // Windows says ERROR_NO_DATA ("the pipe is being closed"), wine
    // ERROR_PIPE_NOT_CONNECTED.
    DWORD last = GetLastError();
    bool closedPipe = last == ERROR_NO_DATA || last == ERROR_PIPE_NOT_CONNECTED || last == ERROR_BROKEN_PIPE;
    return closedPipe ? EPIPE : err;
}

void writeStandardError(const char *text, std::size_t n) {
    HANDLE console = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode;
    if (console != INVALID_HANDLE_VALUE && console != nullptr && GetConsoleMode(console, &mode)) {
        std::size_t length;
        wchar_t *wide = wideFromUtf8(text, n, length);
        DWORD written;
        bool shown = wide != nullptr &&
                     WriteConsoleW(console, wide, static_cast<DWORD>(length), &written, nullptr) != 0;
        std::free(wide);
        if (shown) {
            return;
        }
    }
    // Redirected to a file or a pipe: the UTF-8 bytes, which keep every
    // character of the name.
    std::fwrite(text, 1, n, stderr);
}

#else

std::FILE *openSymbolFile(const char *path) { return std::fopen(path, "rb"); }

bool isSameFile(std::FILE *opened, const char *path) {
    // stat follows a symbolic link at path; fstat sees the file that was
    // opened, through whatever link led to it.
    struct stat ours;
    struct stat theirs;
    return fstat(fileno(opened), &ours) == 0 && stat(path, &theirs) == 0 && !S_ISCHR(ours.st_mode) &&
           ours.st_dev == theirs.st_dev && ours.st_ino == theirs.st_ino;
}

int writeFailure(int err) { return err; }

void writeStandardError(const char *text, std::size_t n) { std::fwrite(text, 1, n, stderr); }

#endif
