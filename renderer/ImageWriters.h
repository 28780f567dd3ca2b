// What every image writer (PngWriter.cpp, ExrWriter.cpp, ...) shares: the failure a writer throws when the
// file cannot take the bytes, with the reason, and the write that throws it. The caller names the file.
#pragma once

#include <cstddef>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace OrvaneTools {

// Why a frame could not be written, in words that follow the file's name: "No space left on device".
class WriteFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Rows converted and written at once, of `rowBytes` bytes each: about 256 KiB, at least one row.
int rowsPerBand(std::size_t rowBytes, int height);

// Writes `count` bytes or throws WriteFailure with the system's reason.
void writeBytes(std::FILE* file, const void* bytes, std::size_t count);
// The system's reason for the last failed write (errno), or a general one when it gave none.
std::string writeFailureReason(int error);

} // namespace OrvaneTools
