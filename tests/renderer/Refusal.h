// What orvane-render's parts refuse: the message of the error an action throws, its exit code checked.
#pragma once

#include "renderer/ToolError.h"

#include <gtest/gtest.h>

#include <string>

namespace OrvaneToolsTest {

// The whole message of the ToolError `action` throws, or "" when it throws none; its code must be `expected`.
template <class F>
std::string refusal(F action, OrvaneTools::ExitCode expected = OrvaneTools::ExitCode::Usage) {
    try {
        action();
    } catch (const OrvaneTools::ToolError& e) {
        EXPECT_EQ(e.code(), expected);
        return e.message();
    }
    return "";
}

} // namespace OrvaneToolsTest
