// The file of an effect module, checked before it is loaded: a regular file of bounded size that is a whole
// module for this platform. The system's loader maps a module's segments straight from its file, and a
// truncated or foreign file can make it fault inside the loader; such a file is refused here with a reason.
#pragma once

#include <cstdint>
#include <string>

namespace OrvaneHost {

constexpr std::uint64_t kMaxModuleBytes = std::uint64_t(512) << 20;

// Throws FileRefused (RegularFile.h) with the reason in words that follow the file's name: "does not exist",
// "is truncated or damaged: ...", "is built for another processor ...".
void checkModuleFile(const std::string& path);

} // namespace OrvaneHost
