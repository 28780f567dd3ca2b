// What an output name may lead to and what may be replaced there, checked before a frame is written: a
// symbolic link is followed only where the system itself would follow it, a name must be one the system
// takes, and an existing file is replaced only when this user may write it (or --force says so).
#pragma once

#include <filesystem>
#include <string>

namespace OrvaneTools {

// The folder a file is in ("." for a name without one).
std::filesystem::path folderOf(const std::filesystem::path& file);

// Why the system takes no file of this name, in words that follow the name ("its name ... is longer than
// ..."); empty when its length is one the system takes.
std::string nameLengthProblem(const std::string& path);

// The file `target` leads to through symbolic links (a link to a file not made yet leads to where it will
// be). In a sticky folder that everyone may write (as /tmp), a link is followed only when it belongs to this
// user or to the folder's owner, as the system follows links there: another user may have left it to turn
// the write onto a file of this user. Throws a ToolError (ExitCode::OutputWrite) for a link not followed, one
// that cannot be read, or a chain of more than 40.
std::filesystem::path followLinks(const std::string& target);

// Whether `file` (what `target` leads to) exists and so is to be replaced. Throws a ToolError
// (ExitCode::OutputWrite) when it may not be written: its name is too long, its folder is missing, it is not
// a regular file, or this user may not write it and `replaceReadOnly` (--force) is false.
bool checkTarget(const std::string& target, const std::filesystem::path& file, bool replaceReadOnly);

// Both checks above for `target`; makes nothing.
void checkReplaceable(const std::string& target, bool replaceReadOnly);

// Whether `target` leads (through symbolic links) to a regular file: a frame written before. A missing file,
// a dangling link, a folder or a device is not one; nor is the temporary file of a run that was killed,
// which has a name of its own.
bool regularFileExists(const std::string& target);

} // namespace OrvaneTools
