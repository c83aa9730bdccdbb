#include "system/system_calls.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <cwchar>

#define WIN32_LEAN_AND_MEAN
#include <io.h>
#include <windows.h>

#include "system/utf16_text.h"
#else
#include <csignal>

#include <sys/stat.h>
#endif

#ifdef _WIN32

namespace {

// The longest name Windows takes, in UTF-16 units; a command line is no
// longer.
constexpr std::size_t kLongestName = 32767;

// The UTF-8 path as a wide name ended by a zero, in a buffer of this file's;
// null, with errno set, when the name is longer than Windows takes.
const wchar_t *wideName(const char *path) {
    static wchar_t wide[kLongestName + 1];
    std::size_t n = std::strlen(path);
    if (n > kLongestName) { // a UTF-8 name has no fewer bytes than units
        errno = ENAMETOOLONG;
        return nullptr;
    }
    wide[utf16FromUtf8(path, n, wide)] = 0;
    return wide;
}

} // namespace

const char *utf8Argument(const wchar_t *argument) {
    static char bytes[3 * kLongestName + 1];
    std::size_t n = std::wcslen(argument);
    n = n < kLongestName ? n : kLongestName;
    bytes[utf8FromUtf16(argument, n, bytes)] = '\0';
    return bytes;
}

std::FILE *openFile(const char *path, const char *mode) {
    const wchar_t *name = wideName(path);
    wchar_t wideMode[4] = {};
    for (std::size_t i = 0; i < 3 && mode[i] != '\0'; ++i) {
        wideMode[i] = static_cast<wchar_t>(mode[i]);
    }
    return name != nullptr ? _wfopen(name, wideMode) : nullptr;
}

bool isSameFile(std::FILE *opened, const char *path) {
    // A file is known by its volume and its index there, as a POSIX one by
    // its device and inode.
    auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(opened)));
    BY_HANDLE_FILE_INFORMATION ours;
    const wchar_t *name = wideName(path);
    if (name == nullptr || GetFileType(handle) != FILE_TYPE_DISK ||
        !GetFileInformationByHandle(handle, &ours)) {
        return false;
    }
    // Opened to read its information only, sharing everything, so that it
    // stands as it was.
    HANDLE other = CreateFileW(name, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
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

void ignoreBrokenPipes() {
    // Windows has no SIGPIPE: a write to such a pipe fails already.
}

int writeFailure(int err) {
    // Windows says ERROR_NO_DATA ("the pipe is being closed"), wine
    // ERROR_PIPE_NOT_CONNECTED.
    DWORD last = GetLastError();
    bool closedPipe = last == ERROR_NO_DATA || last == ERROR_PIPE_NOT_CONNECTED || last == ERROR_BROKEN_PIPE;
    return closedPipe ? EPIPE : err;
}

void writeStandardError(const char *text, std::size_t n) {
    n = n < kLongestErrorText ? n : kLongestErrorText;
    HANDLE console = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode;
    if (console != INVALID_HANDLE_VALUE && console != nullptr && GetConsoleMode(console, &mode)) {
        wchar_t wide[kLongestErrorText];
        DWORD written;
        if (WriteConsoleW(console, wide, static_cast<DWORD>(utf16FromUtf8(text, n, wide)), &written,
                          nullptr)) {
            return;
        }
    }
    // Redirected to a file or a pipe: the UTF-8 bytes, which keep every
    // character of the name.
    std::fwrite(text, 1, n, stderr);
}

#else

std::FILE *openFile(const char *path, const char *mode) { return std::fopen(path, mode); }

bool isSameFile(std::FILE *opened, const char *path) {
    // stat follows a symbolic link at path; fstat sees the file that was
    // opened, through whatever link led to it.
    struct stat ours;
    struct stat theirs;
    return fstat(fileno(opened), &ours) == 0 && stat(path, &theirs) == 0 && !S_ISCHR(ours.st_mode) &&
           ours.st_dev == theirs.st_dev && ours.st_ino == theirs.st_ino;
}

void ignoreBrokenPipes() {
    // The dump is the product and the kinds list a side channel: a reader of
    // the list that leaves early must not end the run with the dump cut
    // short. A write to it then fails instead, which the run's end reports.
    std::signal(SIGPIPE, SIG_IGN);
}

int writeFailure(int err) { return err; }

void writeStandardError(const char *text, std::size_t n) {
    std::fwrite(text, 1, n < kLongestErrorText ? n : kLongestErrorText, stderr);
}

#endif
