#include "AtomicFile.h"

#include "ToolError.h"

#include <atomic>
#include <utility>
#include <filesystem>
#include <system_error>

#if defined(_WIN32)
#include <process.h>
#define ORVANE_GETPID _getpid
#else
#include <unistd.h>
#define ORVANE_GETPID getpid
#endif

namespace OrvaneTools {

namespace {
std::string uniqueSuffix() {
    static std::atomic<unsigned> counter{0};
    return ".tmp-" + std::to_string(static_cast<long>(ORVANE_GETPID())) + "-" + std::to_string(counter++);
}
} // namespace

AtomicFile::AtomicFile(std::string targetPath) : target(std::move(targetPath)), temporary(target + uniqueSuffix()) {}

AtomicFile::~AtomicFile() {
    if (committed) return;
    std::error_code ignored;
    std::filesystem::remove(std::filesystem::u8path(temporary), ignored);
}

void AtomicFile::commit() {
    std::error_code ec;
    std::filesystem::rename(std::filesystem::u8path(temporary), std::filesystem::u8path(target), ec);
    if (ec) throw ToolError(ExitCode::OutputWrite, "cannot replace " + target + ": " + ec.message());
    committed = true;
}

} // namespace OrvaneTools
