// Writing a file so that it is never seen half-written, not even after a power cut, and nothing but the file
// is changed: the content goes to a temporary file with a short name beside the target, which is flushed to
// the disk and then replaces the target by a rename, whose folder is flushed in turn. A symbolic link is
// written through to the file it names; a replaced file keeps its permission bits; a read-only file is
// replaced only when asked to; anything but a regular file is never replaced (ReplaceCheck.h checks all of
// this). While the temporary file exists, a stop (Interruption.h) removes it. Files may be written on several
// threads at once.
#pragma once

#include "ReplaceCheck.h"

#include <cstdio>
#include <string>

namespace OrvaneTools {

class AtomicFile {
public:
    // Checks the target as checkReplaceable does and creates the temporary file; throws the same way.
    AtomicFile(const std::string& target, bool replaceReadOnly);
    ~AtomicFile(); // removes the temporary file unless committed
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Where to write the content: the temporary file, open for writing at its start.
    std::FILE* stream() const { return file; }
    // Flushes the temporary file to the disk, closes it and renames it onto the target, counting one more
    // frame written, then flushes the folder; throws a ToolError (ExitCode::OutputWrite) with the reason when
    // the content cannot be stored (the target is then untouched) or the folder cannot be flushed.
    void commit();

private:
    void discard();

    std::string target;    // as the user named it, for messages
    std::string resolved;  // the file the name leads to through symbolic links
    std::string temporary;
    std::FILE* file = nullptr;
    bool replaceReadOnly = false;
    bool committed = false;
};

} // namespace OrvaneTools
