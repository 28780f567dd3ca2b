#include "ImageOutput.h"

#include "AtomicFile.h"
#include "ImageWriters.h"
#include "ToolError.h"

namespace OrvaneTools {

void writeImageFile(ImageFormat format, const FrameView& frame, const std::string& path) {
    AtomicFile file(path);
    switch (format) {
    case ImageFormat::Png:
#if ORVANE_HAVE_PNG
        writePng(frame, file.temporaryPath());
        break;
#else
        throw ToolError(ExitCode::OutputWrite, path + ": this build writes no PNG files");
#endif
    case ImageFormat::Exr:
#if ORVANE_HAVE_EXR
        writeExr(frame, file.temporaryPath());
        break;
#else
        throw ToolError(ExitCode::OutputWrite, path + ": this build writes no EXR files");
#endif
    case ImageFormat::Pam:
        writePam(frame, file.temporaryPath());
        break;
    }
    file.commit();
}

} // namespace OrvaneTools
