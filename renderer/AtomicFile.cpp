#include "AtomicFile.h"

#include "Interruption.h"
#include "ReplaceCheck.h"
#include "ToolError.h"

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <mutex>
#include <random>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>

#if defined(_WIN32)
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace OrvaneTools {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void refuse(const std::string& target, const std::string& why) {
    throw ToolError(ExitCode::OutputWrite, "cannot write " + target + ": " + why);
}

std::string systemReason(int error) { return std::generic_category().message(error); }

// Random names drawn before a file system that says every name is taken is believed.
constexpr int kNameAttempts = 100;

unsigned randomNumber() {
    static std::mutex lock;
    static std::mt19937 numbers{std::random_device{}()};
    std::lock_guard<std::mutex> hold(lock);
    return static_cast<unsigned>(numbers());
}

#if defined(_WIN32)

long processId() { return static_cast<long>(_getpid()); }

// Shared for deletion, so that a stop can remove the file while it is still open.
std::FILE* openExclusive(const std::string& path, std::string& reason, bool& taken) {
    const HANDLE handle = CreateFileW(fs::u8path(path).wstring().c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                      nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        taken = error == ERROR_FILE_EXISTS;
        reason = std::system_category().message(static_cast<int>(error));
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    std::FILE* file = fd < 0 ? nullptr : _fdopen(fd, "wb");
    if (!file) {
        reason = "cannot open it for writing";
        fd < 0 ? CloseHandle(handle) : _close(fd);
        DeleteFileW(fs::u8path(path).wstring().c_str());
    }
    return file;
}

// Windows keeps one permission of its own: the read-only attribute, which a replaced file keeps.
void keepAttributes(std::FILE*, const fs::path&) {}

// Returns 0, or the reason the file's content could not be brought to the disk.
int flushToDisk(std::FILE* file) { return _commit(_fileno(file)) == 0 ? 0 : errno; }

// The rename below is written through to the disk before it returns, folder entry included.
int flushFolder(const fs::path&) { return 0; }

void moveOnto(const std::string& from, const std::string& to, std::error_code& ec) {
    const std::wstring target = fs::u8path(to).wstring();
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    if (readOnly) SetFileAttributesW(target.c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
    if (!MoveFileExW(fs::u8path(from).wstring().c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ec = std::error_code(static_cast<int>(GetLastError()), std::system_category());
        if (readOnly) SetFileAttributesW(target.c_str(), attributes);
        return;
    }
    if (readOnly) SetFileAttributesW(target.c_str(), GetFileAttributesW(target.c_str()) | FILE_ATTRIBUTE_READONLY);
}

#else

long processId() { return static_cast<long>(getpid()); }

std::FILE* openExclusive(const std::string& path, std::string& reason, bool& taken) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        taken = errno == EEXIST;
        reason = systemReason(errno);
        return nullptr;
    }
    std::FILE* file = fdopen(fd, "wb");
    if (!file) {
        reason = systemReason(errno);
        close(fd);
        unlink(path.c_str());
    }
    return file;
}

// The replaced file's permission bits (the umask shapes new files only) and, where the system allows it,
// its owner and group.
void keepAttributes(std::FILE* file, const fs::path& replaced) {
    struct stat st {};
    if (stat(replaced.c_str(), &st) != 0) return;
    const int fd = fileno(file);
    if (fchown(fd, st.st_uid, st.st_gid) != 0) {
        // Only the owner can give a file away: the new file stays the writer's, as any new file would.
    }
    if (fchmod(fd, st.st_mode & 0777) != 0) throw std::system_error(errno, std::generic_category());
}

int flushToDisk(std::FILE* file) { return fsync(fileno(file)) == 0 ? 0 : errno; }

// The folder's entry for the renamed file. A file system that cannot flush a folder says so (EINVAL): its
// renames need no flush.
int flushFolder(const fs::path& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    const int error = fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    close(fd);
    return error;
}

void moveOnto(const std::string& from, const std::string& to, std::error_code& ec) {
    if (std::rename(from.c_str(), to.c_str()) != 0) ec = std::error_code(errno, std::generic_category());
}

#endif

} // namespace

AtomicFile::AtomicFile(const std::string& targetPath, bool replace) : target(targetPath), replaceReadOnly(replace) {
    const fs::path path = followLinks(target);
    const bool replacing = checkTarget(target, path, replaceReadOnly);
    resolved = path.u8string();
    // A short name of its own, so that it fits wherever the target's name fits: the process and a number,
    // the next of this process's or, where that name is taken (a killed run of a process with the same
    // number left it), one drawn at random, so that no number of leftovers can block a render.
    static std::atomic<unsigned> counter{0};
    const std::string prefix = ".orvane-" + std::to_string(processId()) + "-";
    for (int attempt = 0; !file; ++attempt) {
        const unsigned number = attempt == 0 ? counter++ : randomNumber();
        // Named and noted for a stop before the file is made: once it exists, nothing that can fail for want
        // of memory is left before the constructor ends and the destructor takes charge of removing it.
        temporary = (folderOf(path) / (prefix + std::to_string(number) + ".tmp")).u8string();
        std::string reason;
        bool taken = false;
        HoldStops hold;
        noteTemporaryFile(temporary);
        file = openExclusive(temporary, reason, taken);
        if (file) continue;
        forgetTemporaryFile(temporary);
        if (!taken || attempt == kNameAttempts) {
            temporary.clear();
            refuse(target, "cannot make a temporary file beside it: " + reason);
        }
    }
    try {
        if (replacing) keepAttributes(file, path);
    } catch (const std::system_error& e) {
        discard();
        refuse(target, "cannot give it the permissions of the file it replaces: " + e.code().message());
    }
}

AtomicFile::~AtomicFile() { discard(); }

void AtomicFile::discard() {
    if (file) std::fclose(file);
    file = nullptr;
    if (committed || temporary.empty()) return;
    HoldStops hold;
    std::error_code ignored;
    fs::remove(fs::u8path(temporary), ignored);
    forgetTemporaryFile(temporary);
}

void AtomicFile::commit() {
    std::FILE* closing = file;
    file = nullptr;
    errno = 0;
    int error = 0;
    if (std::fflush(closing) != 0 || std::ferror(closing)) error = errno ? errno : EIO;
    // On the disk before its name is: a frame's name never leads to a file that a power cut left empty.
    if (!error) error = flushToDisk(closing);
    errno = 0;
    if (std::fclose(closing) != 0 && !error) error = errno ? errno : EIO;
    if (error) refuse(target, systemReason(error));
    std::error_code ec;
    {
        HoldStops hold;
        moveOnto(temporary, resolved, ec);
        if (!ec) {
            committed = true;
            forgetTemporaryFile(temporary);
            noteFrameWritten();
        }
    }
    if (ec) throw ToolError(ExitCode::OutputWrite, "cannot replace " + target + ": " + ec.message());
    if (const int folderError = flushFolder(folderOf(fs::u8path(resolved))))
        refuse(target, "its folder cannot be flushed to the disk: " + systemReason(folderError));
}

} // namespace OrvaneTools
