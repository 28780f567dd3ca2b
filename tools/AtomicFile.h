// Writing a file so that it is never seen half-written: the content goes to a temporary file beside the
// target, which replaces the target by a rename only once it is complete.
#pragma once

#include <string>

namespace OrvaneTools {

class AtomicFile {
public:
    explicit AtomicFile(std::string target);
    ~AtomicFile(); // removes the temporary file unless committed
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Where to write the content.
    const std::string& temporaryPath() const { return temporary; }
    // Renames the temporary file to the target; throws a ToolError (ExitCode::OutputWrite) on failure.
    void commit();

private:
    std::string target;
    std::string temporary;
    bool committed = false;
};

} // namespace OrvaneTools
