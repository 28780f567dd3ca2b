#include "RegularFile.h"

#include <cerrno>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>

#if defined(_WIN32)
#include <filesystem>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace OrvaneHost {

namespace {

#if defined(_WIN32)
using FileStatus = struct _stat64;
// _wstat64 fails on a folder named with a trailing separator; the library's status reads it.
int statusOf(const std::string& path, FileStatus& status) {
    std::error_code ec;
    const std::filesystem::file_status found = std::filesystem::status(std::filesystem::u8path(path), ec);
    if (!std::filesystem::exists(found)) {
        errno = ENOENT;
        return -1;
    }
    status = FileStatus{};
    status.st_mode = std::filesystem::is_directory(found) ? _S_IFDIR
                     : std::filesystem::is_regular_file(found) ? _S_IFREG
                                                               : 0;
    return 0; // the size is taken from the open file
}
int statusOf(int fd, FileStatus& status) { return _fstat64(fd, &status); }
int openForReading(const std::string& path) {
    return _wopen(std::filesystem::u8path(path).wstring().c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}
void closeFile(int fd) { _close(fd); }
bool isRegular(const FileStatus& s) { return (s.st_mode & _S_IFMT) == _S_IFREG; }
bool isFolder(const FileStatus& s) { return (s.st_mode & _S_IFMT) == _S_IFDIR; }
#else
using FileStatus = struct stat;
int statusOf(const std::string& path, FileStatus& status) { return stat(path.c_str(), &status); }
int statusOf(int fd, FileStatus& status) { return fstat(fd, &status); }
// Never waits for a writer (a FIFO) or a carrier (a terminal); the file is checked before it is read.
int openForReading(const std::string& path) { return open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY); }
void closeFile(int fd) { close(fd); }
bool isRegular(const FileStatus& s) { return S_ISREG(s.st_mode); }
bool isFolder(const FileStatus& s) { return S_ISDIR(s.st_mode); }
#endif

std::string reasonOf(int error) {
    switch (error) {
    case ENOENT: return "does not exist";
    case ENOTDIR: return "does not exist (a part of its path is not a folder)";
    case EACCES: return "cannot be read: permission denied";
    default: return "cannot be opened: " + std::generic_category().message(error);
    }
}

void refuseUnlessRegular(const FileStatus& status, std::uint64_t maxBytes) {
    if (isFolder(status)) throw FileRefused("is a folder, not a file");
    if (!isRegular(status)) throw FileRefused("is not a regular file (a pipe, device or socket is not read)");
    if (status.st_size < 0 || static_cast<std::uint64_t>(status.st_size) > maxBytes)
        throw FileRefused("is larger than " + std::to_string(maxBytes >> 20) + " MiB, the most that is read");
}

} // namespace

RegularFile::RegularFile(const std::string& path, std::uint64_t maxBytes) {
    if (path.empty()) throw FileRefused("is an empty file name");
    if (path.find('\0') != std::string::npos) throw FileRefused("holds a NUL character, which no file name can");
    FileStatus status{};
    if (statusOf(path, status) != 0) throw FileRefused(reasonOf(errno));
    refuseUnlessRegular(status, maxBytes);
    const int fd = openForReading(path);
    if (fd < 0) throw FileRefused(reasonOf(errno));
    // The file may have been replaced between the two looks: what counts is what was opened.
    try {
        if (statusOf(fd, status) != 0) throw FileRefused(reasonOf(errno));
        refuseUnlessRegular(status, maxBytes);
    } catch (...) {
        closeFile(fd);
        throw;
    }
    descriptor = fd;
    bytes = static_cast<std::uint64_t>(status.st_size);
}

RegularFile::~RegularFile() { closeFile(descriptor); }

void RegularFile::readAt(std::uint64_t offset, void* into, std::size_t count) const {
    auto* out = static_cast<unsigned char*>(into);
    if (offset > bytes || count > bytes - offset) throw FileRefused("is shorter than its own headers say");
#if defined(_WIN32)
    if (_lseeki64(descriptor, static_cast<__int64>(offset), SEEK_SET) < 0)
        throw FileRefused("cannot be read: " + std::generic_category().message(errno));
#endif
    while (count > 0) {
        const unsigned chunk = count > (1u << 30) ? (1u << 30) : static_cast<unsigned>(count);
#if defined(_WIN32)
        const int got = _read(descriptor, out, chunk);
#else
        const ssize_t got = pread(descriptor, out, chunk, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) continue;
#endif
        if (got < 0) throw FileRefused("cannot be read: " + std::generic_category().message(errno));
        if (got == 0) throw FileRefused("became shorter while it was read");
        out += got;
        offset += static_cast<std::uint64_t>(got);
        count -= static_cast<std::size_t>(got);
    }
}

std::vector<std::uint8_t> RegularFile::readAll() const {
    std::vector<std::uint8_t> content(static_cast<std::size_t>(bytes));
    if (!content.empty()) readAt(0, content.data(), content.size());
    return content;
}

} // namespace OrvaneHost
