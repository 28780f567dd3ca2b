#include "ImageOutput.h"

#include "AtomicFile.h"
#include "ImageWriters.h"
#include "Interruption.h"
#include "ToolError.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

namespace OrvaneTools {

namespace {

// `name` names the file in the EXR library's own messages. Throws WriteFailure.
void writeImage(ImageFormat format, const FrameView& frame, std::FILE* file, const std::string& name) {
    switch (format) {
    case ImageFormat::Png:
#if ORVANE_HAVE_PNG
        writePng(frame, file);
        return;
#else
        throw WriteFailure("this build writes no PNG files");
#endif
    case ImageFormat::Exr:
#if ORVANE_HAVE_EXR
        writeExr(frame, file, name);
        return;
#else
        (void)name;
        throw WriteFailure("this build writes no EXR files");
#endif
    case ImageFormat::Pam:
        writePam(frame, file);
        return;
    case ImageFormat::Pfm:
        writePfm(frame, file);
        return;
    }
}

} // namespace

std::string writeFailureReason(int error) {
    return error ? std::generic_category().message(error) : std::string("the file could not take the bytes");
}

void writeBytes(std::FILE* file, const void* bytes, std::size_t count) {
    errno = 0;
    if (std::fwrite(bytes, 1, count, file) != count) throw WriteFailure(writeFailureReason(errno));
}

void writeImageFile(ImageFormat format, const FrameView& frame, const std::string& path, bool replaceReadOnly) {
    AtomicFile file(path, replaceReadOnly);
    try {
        writeImage(format, frame, file.stream(), path);
    } catch (const WriteFailure& e) {
        throw ToolError(ExitCode::OutputWrite, "cannot write " + path + ": " + e.what());
    }
    file.commit();
}

void writeImageToStandardOutput(ImageFormat format, const FrameView& frame, long number) {
    try {
        writeImage(format, frame, stdout, "standard output");
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
