// Helpers the parameter tests and the host's AEGP service tests share: a module host with the effect applied
// (and a fixture that ends with its books checked), and suite access as the effect has it.
#pragma once

#include "support/ModuleHost.h"

#include "params/ParamIndex.h"

#include "host/ParameterControls.h"

#include <string>

namespace OrvaneTest {

using namespace Orvane; // the effect's parameter indices and popup values

inline std::unique_ptr<OrvaneHost::Host> appliedHost() {
    auto host = loadModuleHost();
    EXPECT_EQ(OrvaneHost::applyEffect(*host), PF_Err_NONE);
    return host;
}

// A test of the applied effect, after which the host's books are clean: everything given back, no host error.
struct AppliedEffect : ::testing::Test {
    std::unique_ptr<OrvaneHost::Host> host = appliedHost();
    void TearDown() override { EXPECT_TRUE(booksAreClean(*host)); }
};

// A suite table from the host, the way the effect acquires it (the caller releases it with releaseSuite).
template <class Suite> const Suite* acquire(OrvaneHost::Host& host, const char* name, A_long version) {
    const void* suite = nullptr;
    EXPECT_EQ(host.basicSuite()->AcquireSuite(name, version, &suite), 0) << name << " " << version;
    return static_cast<const Suite*>(suite);
}

inline A_long counterValue(OrvaneHost::Host& host) { return host.streams().at(kParamRefreshCounter).current.u.sd.value; }

// The names of the calls the effect made, in order, leaving out suite acquisition and release.
inline std::vector<std::string> hostCallNames(OrvaneHost::Host& host) {
    std::vector<std::string> names;
    for (const auto& record : host.calls().records())
        if (record.name != "AcquireSuite" && record.name != "ReleaseSuite") names.push_back(record.name);
    return names;
}

} // namespace OrvaneTest
