// Reading a file that must be a regular file of bounded size: scene files, module files and files to inspect.
// A pipe, device or folder given in their place is refused without being read, so nothing blocks or runs away.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace OrvaneHost {

// Why a file was refused, in words that follow its name: "does not exist", "is a folder, not a file".
class FileRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class RegularFile {
public:
    // Opens `path` for reading. Throws FileRefused when the path is empty or holds a NUL, when the file does
    // not exist or cannot be opened, is not a regular file, or is larger than `maxBytes`.
    RegularFile(const std::string& path, std::uint64_t maxBytes);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    std::uint64_t size() const { return bytes; }
    // Reads `count` bytes at `offset`; throws FileRefused when the file holds fewer or cannot be read.
    void readAt(std::uint64_t offset, void* into, std::size_t count) const;
    std::vector<std::uint8_t> readAll() const;

private:
    int descriptor = -1;
    std::uint64_t bytes = 0;
};

} // namespace OrvaneHost
