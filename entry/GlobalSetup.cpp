#include "GlobalData.h"
#include "Handlers.h"

#include "../suites/HandleLock.h"
#include "../suites/SuiteTable.h"

namespace Orvane {

namespace {

// The new global handle until it is stored: disposed of on every path that does not keep it (a failed
// lock, a failed registration, a suite refused while the handle exists), so nothing leaks.
class PendingGlobalHandle {
public:
    PendingGlobalHandle(PF_HandleSuite2& suite, PF_Handle handle) : suite(suite), handle(handle) {}
    ~PendingGlobalHandle() {
        if (!kept) suite.host_dispose_handle(handle);
    }
    PendingGlobalHandle(const PendingGlobalHandle&) = delete;
    PendingGlobalHandle& operator=(const PendingGlobalHandle&) = delete;

    PF_Handle keep() {
        kept = true;
        return handle;
    }

private:
    PF_HandleSuite2& suite;
    PF_Handle handle;
    bool kept = false;
};

} // namespace

PF_Err globalSetup(const PluginVersion& version, PF_OutFlags outFlags, PF_OutFlags2 outFlags2, PF_InData* in_data,
                   PF_OutData* out_data) {
    out_data->my_version = packVersion(version);
    out_data->out_flags = outFlags;
    out_data->out_flags2 = outFlags2;

    SuiteTable suites(in_data->pica_basicP);
    PF_HandleSuite2& handles = *suites.pfHandleSuite2();
    PF_Handle handle = handles.host_new_handle(sizeof(GlobalData));
    if (!handle) return PF_Err_INTERNAL_STRUCT_DAMAGED;

    PendingGlobalHandle pending(handles, handle);
    const HandleLock lock(handles.host_lock_handle, handles.host_unlock_handle, handle); // unlocked before disposal
    GlobalData* data = lock.get<GlobalData>();
    if (!data) return PF_Err_OUT_OF_MEMORY;

    const PF_Err err = suites.aegpUtilitySuite7()->AEGP_RegisterWithAEGP(nullptr, "Error!", &data->pluginId);
    if (err == PF_Err_NONE) out_data->global_data = pending.keep();
    return err;
}

PF_Err globalSetdown(PF_InData* in_data) {
    SuiteTable suites(in_data->pica_basicP);
    if (in_data->global_data) suites.pfHandleSuite2()->host_dispose_handle(in_data->global_data);
    return PF_Err_NONE;
}

} // namespace Orvane
