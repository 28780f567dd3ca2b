// A host over the effect module file as the build produced it, and helpers the tests share.
#pragma once

#include "host/Host.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace OrvaneTest {

// The code an injected error returns: distinct from every code the effect makes up itself.
constexpr long kInjectedError = 7;

// The tests' host records every call and can fail any of them.
inline std::unique_ptr<OrvaneHost::Host> loadModuleHost() {
    return std::make_unique<OrvaneHost::Host>(std::string(ORVANE_MODULE_PATH), OrvaneHost::Recording::On);
}

// Every suite released, no handle leaked, nothing left live, no host-side error.
inline ::testing::AssertionResult booksAreClean(const OrvaneHost::Host& host) {
    const auto problems = host.bookProblems();
    if (problems.empty()) return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure();
    for (const auto& p : problems) failure << p << "; ";
    return failure;
}

} // namespace OrvaneTest
