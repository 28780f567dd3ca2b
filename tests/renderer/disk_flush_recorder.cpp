// Put before the C library (LD_PRELOAD) of an orvane-render a test runs: records every flush to the disk
// (fsync, fdatasync) with what was flushed, and every rename, one line each, in the file ORVANE_FLUSH_LOG
// names; with ORVANE_FLUSH_FAILS set, every flush of a regular file fails as a dying disk's would (EIO).
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// One write of the whole line, so that the lines of writers on several threads do not mix.
void record(const std::string& line) {
    const char* log = std::getenv("ORVANE_FLUSH_LOG");
    if (!log) return;
    const int fd = open(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return;
    const std::string text = line + "\n";
    if (write(fd, text.data(), text.size()) < 0) {
    }
    close(fd);
}

std::string pathOf(int fd) {
    char link[64], target[4096];
    std::snprintf(link, sizeof(link), "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, target, sizeof(target) - 1);
    return n > 0 ? std::string(target, static_cast<std::size_t>(n)) : "?";
}

template <class Function> Function next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

int flush(int fd, const char* name) {
    struct stat st {};
    const bool folder = fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
    record(std::string(folder ? "flush folder " : "flush file ") + pathOf(fd));
    if (!folder && std::getenv("ORVANE_FLUSH_FAILS")) {
        errno = EIO;
        return -1;
    }
    return next<int (*)(int)>(name)(fd);
}

} // namespace

extern "C" int fsync(int fd) { return flush(fd, "fsync"); }
extern "C" int fdatasync(int fd) { return flush(fd, "fdatasync"); }

extern "C" int rename(const char* from, const char* to) {
    const int result = next<int (*)(const char*, const char*)>("rename")(from, to);
    if (result == 0) record(std::string("rename ") + from + " " + to);
    return result;
}
