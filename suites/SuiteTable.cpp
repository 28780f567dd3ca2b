#include "SuiteTable.h"

#include <algorithm>

namespace Orvane {

namespace {

constexpr SuiteSlotInfo kSlots[] = {
#define ORVANE_SUITE_INFO(number, accessor, Type, name, version) {name, version},
    ORVANE_SUITE_SLOTS(ORVANE_SUITE_INFO)
#undef ORVANE_SUITE_INFO
};
static_assert(sizeof(kSlots) / sizeof(kSlots[0]) == SuiteTable::slotCount, "one entry per slot");

struct SlotRange {
    unsigned char first, last;
};

// Release order by slot number: suites that depend on others go before them.
constexpr SlotRange kReleaseRanges[] = {
    {4, 5},   {11, 12}, {3, 3},   {2, 2},   {13, 13}, {80, 80}, {14, 16}, {1, 1},   {17, 17},
    {83, 83}, {6, 10},  {18, 21}, {23, 27}, {46, 47}, {22, 22}, {48, 50}, {28, 45}, {51, 52},
    {54, 77}, {95, 95}, {78, 79}, {81, 82}, {84, 92}, {53, 53}, {93, 94}, {96, 104},
};

struct ReleaseOrder {
    unsigned char slots[SuiteTable::slotCount] = {};
    constexpr ReleaseOrder() {
        std::size_t n = 0;
        for (const SlotRange& range : kReleaseRanges)
            for (int slot = range.first; slot <= range.last; ++slot) slots[n++] = static_cast<unsigned char>(slot);
    }
};
constexpr ReleaseOrder kReleaseOrder{};

constexpr bool releaseOrderIsPermutation() {
    bool seen[SuiteTable::slotCount] = {};
    for (unsigned char slot : kReleaseOrder.slots) {
        if (slot < 1 || slot > SuiteTable::slotCount || seen[slot - 1]) return false;
        seen[slot - 1] = true;
    }
    return true;
}
static_assert(releaseOrderIsPermutation(), "the release order names every slot exactly once");

} // namespace

SuiteTable::SuiteTable(SPBasicSuite* basicSuite) : basic(basicSuite), slots{} {
    if (!basic) throw PF_Err(PF_Err_BAD_CALLBACK_PARAM);
}

SuiteTable::~SuiteTable() {
    for (unsigned char slot : kReleaseOrder.slots) {
        const std::size_t index = slot - 1u;
        if (slots[index]) basic->ReleaseSuite(kSlots[index].name, kSlots[index].version);
    }
}

const SuiteSlotInfo& SuiteTable::slotInfo(std::size_t index) { return kSlots[index]; }

const unsigned char* SuiteTable::releaseOrder() { return kReleaseOrder.slots; }

void* SuiteTable::acquire(std::size_t index) {
    if (!slots[index]) {
        const void* suite = nullptr;
        const SPErr err = basic->AcquireSuite(kSlots[index].name, kSlots[index].version, &suite);
        if (err != 0 || !suite) throw PF_Err(PF_Err_BAD_CALLBACK_PARAM);
        slots[index] = suite;
    }
    return const_cast<void*>(slots[index]);
}

} // namespace Orvane
