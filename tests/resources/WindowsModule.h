// The real Windows module the build produced, read once; the reader tests skip loudly when this build has
// no cross toolchain to produce it.
#pragma once

#include "host/pe/PeImage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace OrvaneTest {

inline std::string windowsModulePath() { return ORVANE_WINDOWS_MODULE_PATH; }

inline const std::vector<std::uint8_t>& windowsModuleBytes() {
    static const std::vector<std::uint8_t> bytes =
        windowsModulePath().empty() ? std::vector<std::uint8_t>() : OrvaneHost::Pe::readModuleFile(windowsModulePath());
    return bytes;
}

} // namespace OrvaneTest

#define ORVANE_REQUIRE_WINDOWS_MODULE()                                                                        \
    do {                                                                                                     \
        if (OrvaneTest::windowsModulePath().empty())                                                         \
            GTEST_SKIP() << "SKIPPED LOUDLY: this build has no mingw-w64 toolchain, so there is no Windows "  \
                            "module to read";                                                                \
        ASSERT_FALSE(OrvaneTest::windowsModuleBytes().empty()) << OrvaneTest::windowsModulePath();           \
    } while (0)
