#include "ImageOutput.h"

#include "AtomicFile.h"
#include "ImageWriters.h"
#include "Interruption.h"
#include "ToolError.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <system_error>

namespace OrvaneTools {

namespace {

// `name` names the file in a library's own messages. The output was checked against the format when the
// job was resolved; this refuses anything else all the same. Throws WriteFailure.
void writeImage(const ImageFormat& format, const FrameView& frame, std::FILE* file, const std::string& name,
                const EncodingSettings& settings) {
    if (!format.written()) throw WriteFailure(std::string("this build writes no ") + format.title + " files");
    if (!format.takes(frame.depth))
        throw WriteFailure(std::string(format.title) + " cannot hold depth " + std::to_string(frame.depth));
    format.write(frame, file, name, settings);
}

} // namespace

int rowsPerBand(std::size_t rowBytes, int height) {
    constexpr std::size_t kBandBytes = std::size_t(256) << 10;
    const std::size_t rows = rowBytes == 0 ? 1 : kBandBytes / rowBytes;
    return static_cast<int>(std::clamp<std::size_t>(rows, 1, static_cast<std::size_t>(std::max(height, 1))));
}

std::string writeFailureReason(int error) {
    return error ? std::generic_category().message(error) : std::string("the file could not take the bytes");
}

void writeBytes(std::FILE* file, const void* bytes, std::size_t count) {
    errno = 0;
    if (std::fwrite(bytes, 1, count, file) != count) throw WriteFailure(writeFailureReason(errno));
}

void writeImageFile(const ImageFormat& format, const FrameView& frame, const std::string& path, bool replaceReadOnly,
                    const EncodingSettings& settings) {
    AtomicFile file(path, replaceReadOnly);
    try {
        writeImage(format, frame, file.stream(), path, settings);
    } catch (const WriteFailure& e) {
        throw ToolError(ExitCode::OutputWrite, "cannot write " + path + ": " + e.what());
    }
    file.commit();
}

void writeImageToStandardOutput(const ImageFormat& format, const FrameView& frame, long number,
                                const EncodingSettings& settings) {
    try {
        writeImage(format, frame, stdout, "standard output", settings);
        errno = 0;
        if (std::fflush(stdout) != 0) throw WriteFailure(writeFailureReason(errno));
    } catch (const WriteFailure& e) {
        throw ToolError(ExitCode::StandardOutput,
                        "cannot write frame " + std::to_string(number) + " to standard output: " + e.what());
    }
    HoldStops hold;
    noteFrameWritten();
}

} // namespace OrvaneTools
