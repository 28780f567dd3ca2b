// Where the file name starts in a path, as this system reads paths: after the last '/', and on Windows also
// after the last '\' or a drive's ':'. Elsewhere a backslash is an ordinary character of a name.
#pragma once

#include <cstddef>
#include <string>

namespace OrvaneTools {

#if defined(_WIN32)
constexpr const char* kFolderSeparators = "/\\:";
#else
constexpr const char* kFolderSeparators = "/";
#endif

inline std::size_t fileNameStart(const std::string& path) {
    const std::size_t separator = path.find_last_of(kFolderSeparators);
    return separator == std::string::npos ? 0 : separator + 1;
}

} // namespace OrvaneTools
