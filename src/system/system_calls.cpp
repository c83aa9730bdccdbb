#include "system/system_calls.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <cwchar>

#define WIN32_LEAN_AND_MEAN
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>

#include "system/utf16_text.h"
#else
#include <csignal>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
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

namespace {

// The file behind a C library stream.
HANDLE handleOf(std::FILE *file) { return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file))); }

// A file on disk is known by its volume and its index there, as a POSIX one
// by its device and inode.
struct DiskFileKey {
    DWORD volume;
    ULONGLONG index[2];
};

// The key of the file a handle leads to; false for anything but a file on
// disk: a console, a pipe, NUL.
bool diskFileKey(HANDLE handle, DiskFileKey &key) {
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr || GetFileType(handle) != FILE_TYPE_DISK) {
        return false;
    }
    // This asks for no access right, so it answers for a handle opened only
    // to write, as a shell opens a redirected stream. Windows before 8 does
    // not know it, and the older call answers there.
    FILE_ID_INFO id;
    if (GetFileInformationByHandleEx(handle, FileIdInfo, &id, sizeof id)) {
        key.volume = static_cast<DWORD>(id.VolumeSerialNumber);
        std::memcpy(key.index, id.FileId.Identifier, sizeof key.index);
        return true;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle, &info)) {
        return false;
    }
    key.volume = info.dwVolumeSerialNumber;
    key.index[0] = ULONGLONG{info.nFileIndexHigh} << 32 | info.nFileIndexLow;
    key.index[1] = 0;
    return true;
}

bool sameDiskFile(const DiskFileKey &a, const DiskFileKey &b) {
    // wine cannot tell the volume of a stream that the shell handed it, and
    // says 0: the index then decides alone.
    return a.index[0] == b.index[0] && a.index[1] == b.index[1] &&
           (a.volume == b.volume || a.volume == 0 || b.volume == 0);
}

} // namespace

std::FILE *openFileToRead(const char *path) {
    const wchar_t *name = wideName(path);
    return name != nullptr ? _wfopen(name, L"rb") : nullptr;
}

std::FILE *openFileToWrite(const char *path) {
    // Shared for reading and writing, as _wfopen shares a file: lockFile,
    // not the share mode, keeps a second run out, so that a standard stream
    // the shell opened on the file is found and named instead. The C
    // library keeps the numbers 0 to 2 for the standard streams even when
    // the process was started without them, and a new handle is never a
    // standard one, so the file cannot take a standard stream's place.
    const wchar_t *name = wideName(path);
    int fd = name != nullptr
                 ? _wsopen(name, _O_WRONLY | _O_CREAT | _O_BINARY, _SH_DENYNO, _S_IREAD | _S_IWRITE)
                 : -1;
    std::FILE *file = fd >= 0 ? _fdopen(fd, "wb") : nullptr;
    if (fd >= 0 && file == nullptr) {
        _close(fd);
    }
    return file;
}

bool emptyFile(std::FILE *file) {
    // Only a file on disk has anything to empty: NUL or a console takes none.
    return GetFileType(handleOf(file)) != FILE_TYPE_DISK || _chsize(_fileno(file), 0) == 0;
}

const char *standardStreamWriting(std::FILE *file) {
    DiskFileKey ours;
    DiskFileKey theirs;
    if (!diskFileKey(handleOf(file), ours)) {
        return nullptr;
    }
    if (diskFileKey(GetStdHandle(STD_OUTPUT_HANDLE), theirs) && sameDiskFile(ours, theirs)) {
        return "standard output";
    }
    if (diskFileKey(GetStdHandle(STD_ERROR_HANDLE), theirs) && sameDiskFile(ours, theirs)) {
        return "standard error";
    }
    return nullptr;
}

bool lockFile(std::FILE *file) {
    // One byte far past any file's end stands for the whole file: a lock on
    // Windows keeps others from reading what it covers, and a reader of the
    // dump must not be kept out while it is written.
    HANDLE handle = handleOf(file);
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        return true;
    }
    OVERLAPPED farByte = {};
    farByte.Offset = 0xFFFFFFFE;
    farByte.OffsetHigh = 0x7FFFFFFF;
    if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &farByte)) {
        return true;
    }
    return GetLastError() != ERROR_LOCK_VIOLATION;
}

bool isSameFile(std::FILE *opened, const char *path) {
    DiskFileKey ours;
    const wchar_t *name = wideName(path);
    if (name == nullptr || !diskFileKey(handleOf(opened), ours)) {
        return false;
    }
    // Opened to read its information only, sharing everything, so that it
    // stands as it was.
    HANDLE other = CreateFileW(name, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (other == INVALID_HANDLE_VALUE) {
        return false;
    }
    DiskFileKey theirs;
    bool same = diskFileKey(other, theirs) && sameDiskFile(ours, theirs);
    CloseHandle(other);
    return same;
}

void startProcess() {
    // Nothing to do. A standard stream the process lacks keeps its number in
    // the C library (see openFileToWrite), and Windows has no signal for a
    // closed pipe or a file-size limit: such a write fails already.
}

int failedCallError() {
    // The system's own error tells a closed pipe: ERROR_NO_DATA ("the pipe
    // is being closed") on Windows, ERROR_PIPE_NOT_CONNECTED under wine.
    DWORD last = GetLastError();
    bool closedPipe = last == ERROR_NO_DATA || last == ERROR_PIPE_NOT_CONNECTED || last == ERROR_BROKEN_PIPE;
    if (errno == EINVAL && closedPipe) {
        return EPIPE;
    }
    return errno != 0 ? errno : EIO;
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

std::FILE *openFileToRead(const char *path) { return std::fopen(path, "rb"); }

std::FILE *openFileToWrite(const char *path) {
    int fd = open(path, O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    std::FILE *file = fd >= 0 ? fdopen(fd, "wb") : nullptr;
    if (fd >= 0 && file == nullptr) {
        close(fd);
    }
    return file;
}

bool emptyFile(std::FILE *file) {
    // Only a file that stores what it is given has anything to empty: a
    // FIFO or a device, /dev/null say, takes none.
    struct stat ours;
    int fd = fileno(file);
    return fstat(fd, &ours) == 0 && (!S_ISREG(ours.st_mode) || ftruncate(fd, 0) == 0);
}

namespace {

// One file, whatever the names that led to it: the same number on the same
// file system. The number alone is not enough: two file systems number
// their files each from its own start.
bool sameFile(const struct stat &ours, const struct stat &theirs) {
    return ours.st_dev == theirs.st_dev && ours.st_ino == theirs.st_ino;
}

bool sameRegularFile(const struct stat &ours, int fd) {
    struct stat theirs;
    return fstat(fd, &theirs) == 0 && sameFile(ours, theirs);
}

} // namespace

const char *standardStreamWriting(std::FILE *file) {
    struct stat ours;
    if (fstat(fileno(file), &ours) != 0 || !S_ISREG(ours.st_mode)) {
        return nullptr;
    }
    if (sameRegularFile(ours, STDOUT_FILENO)) {
        return "standard output";
    }
    return sameRegularFile(ours, STDERR_FILENO) ? "standard error" : nullptr;
}

bool lockFile(std::FILE *file) {
    // Only another holder of the lock says no; a file system that cannot
    // lock (ENOLCK, EOPNOTSUPP) leaves the file to be written as it is.
    struct stat ours;
    int fd = fileno(file);
    if (fstat(fd, &ours) != 0 || !S_ISREG(ours.st_mode)) {
        return true;
    }
    return flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
}

bool isSameFile(std::FILE *opened, const char *path) {
    // stat follows a symbolic link at path; fstat sees the file that was
    // opened, through whatever link led to it.
    struct stat ours;
    struct stat theirs;
    return fstat(fileno(opened), &ours) == 0 && stat(path, &theirs) == 0 && !S_ISCHR(ours.st_mode) &&
           !S_ISDIR(ours.st_mode) && sameFile(ours, theirs);
}

void startProcess() {
    // A standard descriptor that came closed would be the next file's
    // number, and the kinds list or a message would be written into the
    // dump. Each is opened on /dev/null the other way round, as input for
    // output and output for input, so that using it still fails and that
    // failure is reported. Opening takes the lowest free number, which is
    // the one found closed, since those below it are open by then.
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
        }
    }
    // The dump is the product and the kinds list a side channel: a reader of
    // the list that leaves early must not end the run with the dump cut
    // short. A file-size limit must not end it unexplained either. Such a
    // write fails instead, which the run reports.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
}

int failedCallError() { return errno != 0 ? errno : EIO; }

void writeStandardError(const char *text, std::size_t n) {
    std::fwrite(text, 1, n < kLongestErrorText ? n : kLongestErrorText, stderr);
}

#endif
