#include "PreRenderData.h"

#include "../suites/HandleLock.h"

#include <cstring>
#include <new>

namespace Orvane {

namespace {
constexpr const char* kHandleSuiteName = "PF Handle Suite";
constexpr A_long kHandleSuiteVersion = 2;

void releaseHandleSuite(SPBasicSuite* basic) { basic->ReleaseSuite(kHandleSuiteName, kHandleSuiteVersion); }
} // namespace

PF_Err makePreRenderData(SPBasicSuite* basic, PreRenderData*& data, RampRenderParams*& record) {
    data = nullptr;
    record = nullptr;
    if (!basic) return PF_Err_BAD_CALLBACK_PARAM;
    const void* suite = nullptr;
    if (basic->AcquireSuite(kHandleSuiteName, kHandleSuiteVersion, &suite) || !suite) return PF_Err_BAD_CALLBACK_PARAM;
    auto* handles = static_cast<PF_HandleSuite2*>(const_cast<void*>(suite));
    auto* made = new (std::nothrow) PreRenderData{basic, handles, nullptr};
    if (made) made->record = handles->host_new_handle(sizeof(RampRenderParams));
    void* locked = made && made->record ? handles->host_lock_handle(made->record) : nullptr;
    if (!locked) {
        // Never handed to the host, so everything is ours to give back.
        if (made && made->record) handles->host_dispose_handle(made->record);
        delete made;
        releaseHandleSuite(basic);
        return PF_Err_OUT_OF_MEMORY;
    }
    data = made;
    record = static_cast<RampRenderParams*>(locked);
    return PF_Err_NONE;
}

void deletePreRenderData(void* data) {
    auto* held = static_cast<PreRenderData*>(data);
    if (!held) return;
    held->handles->host_unlock_handle(held->record);
    held->handles->host_dispose_handle(held->record);
    releaseHandleSuite(held->basic);
    delete held;
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
