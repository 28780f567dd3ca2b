#include "PreRenderData.h"

#include <cstring>
#include <new>

namespace Orvane {

namespace {
constexpr const char* kHandleSuiteName = "PF Handle Suite";
constexpr A_long kHandleSuiteVersion = 2;

// What the data holds besides its lock, given back in the reverse of its making: the handle (already
// unlocked), then the suite.
void giveBack(SPBasicSuite* basic, PF_HandleSuite2* handles, PF_Handle record) {
    if (record) handles->host_dispose_handle(record);
    basic->ReleaseSuite(kHandleSuiteName, kHandleSuiteVersion);
}
} // namespace

PF_Err makePreRenderData(SPBasicSuite* basic, PreRenderData*& data, RampRenderParams*& record) {
    data = nullptr;
    record = nullptr;
    if (!basic) return PF_Err_BAD_CALLBACK_PARAM;
    const void* suite = nullptr;
    if (basic->AcquireSuite(kHandleSuiteName, kHandleSuiteVersion, &suite) || !suite) return PF_Err_BAD_CALLBACK_PARAM;
    auto* handles = static_cast<PF_HandleSuite2*>(const_cast<void*>(suite));
    const PF_Handle handle = handles->host_new_handle(sizeof(RampRenderParams));
    PreRenderData* made = nullptr;
    if (handle) {
        const HandleLock::UnlockFunction unlock = handles->host_unlock_handle;
        made = new (std::nothrow) PreRenderData{basic, handles, handle, {handles->host_lock_handle, unlock, handle}};
    }
    if (!made || !made->lock.get<void>()) {
        // Never handed to the host, so everything is ours to give back.
        delete made;
        giveBack(basic, handles, handle);
        return PF_Err_OUT_OF_MEMORY;
    }
    data = made;
    record = made->lock.get<RampRenderParams>();
    return PF_Err_NONE;
}

void deletePreRenderData(void* data) {
    auto* held = static_cast<PreRenderData*>(data);
    if (!held) return;
    SPBasicSuite* basic = held->basic;
    PF_HandleSuite2* handles = held->handles;
    const PF_Handle record = held->record;
    delete held; // unlocks the record
    giveBack(basic, handles, record);
}

bool readPreRenderRecord(PF_InData* in_data, const void* data, RampRenderParams& record) {
    const auto* held = static_cast<const PreRenderData*>(data);
    if (!held) return false;
    const HandleLock lock(in_data->utils->host_lock_handle, in_data->utils->host_unlock_handle, held->record);
    if (!lock.get<void>()) return false;
    std::memcpy(&record, lock.get<void>(), sizeof record);
    return true;
}

} // namespace Orvane
