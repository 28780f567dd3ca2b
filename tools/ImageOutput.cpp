#include "ImageOutput.h"

#include "AtomicFile.h"
#include "ImageWriters.h"
#include "ToolError.h"

#include <cerrno>
#include <system_error>

namespace OrvaneTools {

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
        switch (format) {
        case ImageFormat::Png:
#if ORVANE_HAVE_PNG
            writePng(frame, file.stream());
            break;
#else
            throw WriteFailure("this build writes no PNG files");
#endif
        case ImageFormat::Exr:
#if ORVANE_HAVE_EXR
            writeExr(frame, file.stream(), path);
            break;
#else
            throw WriteFailure("this build writes no EXR files");
#endif
        case ImageFormat::Pam:
            writePam(frame, file.stream());
            break;
        }
    } catch (const WriteFailure& e) {
        throw ToolError(ExitCode::OutputWrite, "cannot write " + path + ": " + e.what());
    }
    file.commit();
}

} // namespace OrvaneTools
