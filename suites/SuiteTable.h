// A table of host suites for the length of one handler call or one object: each suite is acquired by name
// and version the first time it is asked for, and every acquired suite is released when the table goes.
#pragma once

#include "SuiteSlotList.h"

#include "../sdk/host_sdk.h"

#include <cstddef>

namespace Orvane {

struct SuiteSlotInfo {
    const char* name;
    A_long version;
};

class SuiteTable {
public:
    static constexpr std::size_t slotCount = 104;

    // Throws PF_Err_BAD_CALLBACK_PARAM (as a PF_Err) when the host gave no basic suite.
    explicit SuiteTable(SPBasicSuite* basic);
    ~SuiteTable();
    SuiteTable(const SuiteTable&) = delete;
    SuiteTable& operator=(const SuiteTable&) = delete;

    // One accessor per slot; each returns the host's table or throws PF_Err_BAD_CALLBACK_PARAM.
#define ORVANE_SUITE_ACCESSOR(number, accessor, Type, name, version) \
    Type* accessor() { return static_cast<Type*>(acquire(number - 1)); }
    ORVANE_SUITE_SLOTS(ORVANE_SUITE_ACCESSOR)
#undef ORVANE_SUITE_ACCESSOR

    // Name and version of slot `index` (0-based), and the order in which slots are released.
    static const SuiteSlotInfo& slotInfo(std::size_t index);
    static const unsigned char* releaseOrder(); // slotCount 1-based slot numbers

private:
    void* acquire(std::size_t index);

    SPBasicSuite* basic;
    const void* slots[slotCount];
};

} // namespace Orvane
