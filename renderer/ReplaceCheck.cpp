#include "ReplaceCheck.h"

#include "ToolError.h"

#include <system_error>

#if !defined(_WIN32)
#include <algorithm>
#include <cerrno>
#include <climits>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace OrvaneTools {

namespace fs = std::filesystem;

namespace {

constexpr int kMostLinksFollowed = 40; // as the system follows at most

[[noreturn]] void refuse(const std::string& target, const std::string& why) {
    throw ToolError(ExitCode::OutputWrite, "cannot write " + target + ": " + why);
}

#if defined(_WIN32)

// Windows has no folders where the system declines to follow another user's link.
void checkLinkMayBeFollowed(const std::string&, const fs::path&) {}

// Windows keeps one permission of its own: the read-only attribute.
std::string whyNotWritable(const fs::path&, const fs::file_status& status) {
    return (status.permissions() & fs::perms::owner_write) == fs::perms::none ? "it is read-only" : "";
}

#else

std::string systemReason(int error) { return std::generic_category().message(error); }

// A sticky folder that everyone may write, as /tmp: anyone can leave a link there, and only its owner (and
// the folder's) can remove it. The system follows a link there only for the link's owner or when the link
// belongs to the folder's owner, so that nobody can turn another user's write onto a file of that user.
void checkLinkMayBeFollowed(const std::string& target, const fs::path& link) {
    const fs::path folder = folderOf(link);
    struct stat linkStat {}, folderStat {};
    if (lstat(link.c_str(), &linkStat) != 0 || stat(folder.c_str(), &folderStat) != 0)
        refuse(target, "cannot examine the symbolic link " + link.u8string() + ": " + systemReason(errno));
    const bool sharedSticky = (folderStat.st_mode & S_ISVTX) && (folderStat.st_mode & S_IWOTH);
    if (!sharedSticky || linkStat.st_uid == geteuid() || linkStat.st_uid == folderStat.st_uid) return;
    refuse(target, "the symbolic link " + link.u8string() + " belongs to user " + std::to_string(linkStat.st_uid) +
                       ", neither this user nor the owner of " + folder.u8string() +
                       ", a sticky folder that everyone may write; such a link is not followed, as the system "
                       "would not follow it either");
}

bool inGroup(gid_t group) {
    if (getegid() == group) return true;
    const int count = getgroups(0, nullptr);
    if (count <= 0) return false;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    const int n = getgroups(count, groups.data());
    return n > 0 && std::find(groups.begin(), groups.begin() + n, group) != groups.begin() + n;
}

// "rw-r--r--"
std::string permissionText(mode_t mode) {
    std::string text;
    for (const mode_t bit : {S_IRUSR, S_IWUSR, S_IXUSR, S_IRGRP, S_IWGRP, S_IXGRP, S_IROTH, S_IWOTH, S_IXOTH})
        text += (mode & bit) ? "rwx"[text.size() % 3] : '-';
    return text;
}

// Why this user may not write the file, or "" when they may (or when only the write itself can tell). The system's own check for the effective user
// sees the permission bits, access lists and a read-only file system, but lets the superuser write anything;
// the write bit of the class the user falls in (owner, group or others) is asked for as well, so that a file
// kept read-only is replaced only with --force by any user.
std::string whyNotWritable(const fs::path& file, const fs::file_status&) {
    struct stat st {};
    if (stat(file.c_str(), &st) != 0) return std::string(); // gone since it was seen: nothing is replaced
    errno = 0;
    const bool systemLets = faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) == 0;
    // A read-only file system, say: --force would not help, and making the temporary file says why.
    if (!systemLets && errno != EACCES && errno != EPERM) return std::string();
    const uid_t user = geteuid();
    const mode_t classBit = st.st_uid == user ? S_IWUSR : inGroup(st.st_gid) ? S_IWGRP : S_IWOTH;
    if (systemLets && (st.st_mode & classBit)) return std::string();
    if (st.st_uid == user) return "it is read-only";
    return "it is read-only for this user (it belongs to user " + std::to_string(st.st_uid) + ", permissions " +
           permissionText(st.st_mode) + ")";
}

#endif

} // namespace

fs::path folderOf(const fs::path& file) { return file.has_parent_path() ? file.parent_path() : fs::path("."); }

std::string nameLengthProblem(const std::string& path) {
#if defined(_WIN32)
    (void)path;
    return std::string(); // the system says so when the file is made
#else
    if (path.size() >= PATH_MAX)
        return "the name is " + std::to_string(path.size()) + " bytes long, more than the system takes in a path (" +
               std::to_string(PATH_MAX - 1) + ")";
    for (std::size_t start = 0; start <= path.size();) {
        const std::size_t slash = path.find('/', start);
        const std::size_t end = slash == std::string::npos ? path.size() : slash;
        if (end - start > NAME_MAX)
            return std::string(slash == std::string::npos ? "the file name" : "a folder name in it") + " is " +
                   std::to_string(end - start) + " bytes long, more than a file system takes (" +
                   std::to_string(NAME_MAX) + ")";
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    return std::string();
#endif
}

fs::path followLinks(const std::string& target) {
    fs::path path = fs::u8path(target);
    for (int hops = 0; hops < kMostLinksFollowed; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
        checkLinkMayBeFollowed(target, path);
        const fs::path next = fs::read_symlink(path, ec);
        if (ec) refuse(target, "cannot read the symbolic link: " + ec.message());
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    refuse(target, "too many levels of symbolic links");
}

bool checkTarget(const std::string& target, const fs::path& file, bool replaceReadOnly) {
    const std::string tooLong = nameLengthProblem(file.u8string());
    if (!tooLong.empty()) refuse(target, tooLong);
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (!fs::exists(status)) {
        if (ec == std::errc::filename_too_long) refuse(target, "the name is longer than the system takes");
        if (!fs::is_directory(folderOf(file), ec))
            refuse(target, "the folder " + folderOf(file).u8string() + " does not exist");
        return false;
    }
    if (fs::is_directory(status)) refuse(target, "it is a folder");
    if (!fs::is_regular_file(status))
        refuse(target, "it is not a regular file (a device, pipe or socket is never replaced)");
    if (replaceReadOnly) return true;
    const std::string notWritable = whyNotWritable(file, status);
    if (!notWritable.empty())
        throw ToolError(ExitCode::OutputWrite, "cannot replace " + target + ": " + notWritable +
                                                   " (give --force to replace it)");
    return true;
}

void checkReplaceable(const std::string& target, bool replaceReadOnly) {
    checkTarget(target, followLinks(target), replaceReadOnly);
}

bool regularFileExists(const std::string& target) {
    std::error_code ec;
    return fs::is_regular_file(fs::status(fs::u8path(target), ec));
}

} // namespace OrvaneTools
