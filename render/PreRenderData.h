// The frame's pre-render data: the record's host handle, locked for as long as the data lives, and the
// handle suite it is given back through. The host calls the delete function with nothing but the data, and
// the effect keeps no state of its own, so the data carries everything its release needs.
#pragma once

#include "RampRenderParams.h"

#include "../sdk/host_sdk.h"
#include "../suites/HandleLock.h"

namespace Orvane {

struct PreRenderData {
    SPBasicSuite* basic;      // gives `handles` back
    PF_HandleSuite2* handles; // acquired for as long as the data lives, so the release needs no acquisition
    PF_Handle record;         // the 60-byte RampRenderParams
    // Held from pre-render until the host deletes the data: the record is filled after pre-render has handed
    // the data over, and smart render of the same request reads it through a lock of its own.
    HandleLock lock;
};

// Acquires "PF Handle Suite" 2, allocates the record's handle and locks it. On success `data` holds the new
// data and `record` its locked record; on failure both stay null and whatever was obtained has been given
// back: 516 when there is no basic suite or the suite is refused, out of memory for the block, the handle or
// the lock.
PF_Err makePreRenderData(SPBasicSuite* basic, PreRenderData*& data, RampRenderParams*& record);

// The delete function the effect hands the host: unlocks and disposes of the handle, releases the suite and
// frees the block. None of its host calls can fail.
void deletePreRenderData(void* data);

// Smart render's read of the record: locks the handle through the utility callbacks, copies the record and
// unlocks it again. False when there is no data or the lock fails.
bool readPreRenderRecord(PF_InData* in_data, const void* data, RampRenderParams& record);

} // namespace Orvane
