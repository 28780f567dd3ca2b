// What the host keeps behind each memory handle it hands out (HostHandles.cpp serves them).
#pragma once

#include "Host.h"

#include <memory>
#include <vector>

namespace OrvaneHost {

struct Host::HandleBlock {
    void* master = nullptr; // the handle is the address of this pointer
    std::unique_ptr<unsigned char[]> bytes;
    A_HandleSize size = 0;
    int locks = 0;
    // Where the block was before it moved: kept, as garbage, until the handle goes, so a pointer kept past
    // an unlock reads garbage rather than freed memory.
    std::vector<std::unique_ptr<unsigned char[]>> earlier;
};

} // namespace OrvaneHost
