// A pixel buffer the plug-in allocates through the host, disposed with the suite that matches its depth
// when the last reference goes.
#pragma once

#include "PixelDepth.h"
#include "World.h"

#include "../suites/SuiteTable.h"

#include <memory>

namespace Orvane {

class NewWorld : public World {
public:
    // Allocates the zero-filled world record; no pixels yet. Throws PF_Err_BAD_CALLBACK_PARAM when the
    // host gave no basic suite.
    NewWorld(PF_InData* in_data, PF_OutData* out_data);
    ~NewWorld() override;
    NewWorld(NewWorld&&) = delete;
    NewWorld& operator=(NewWorld&&) = delete;

    // 8 and 16 bits through "PF World Suite" 1 (throws PF_Err_BAD_CALLBACK_PARAM if the host refuses
    // it), 32-bit float through a scoped "PF World Suite" 2. Returns the host's result; returns 0 without
    // pixels for a depth outside 0..2, and when the host refuses version 2 (whose message is then already
    // in out_data).
    PF_Err allocate(A_long width, A_long height, int depth);

    int pixelDepth() const { return depth; }
    bool hasPixels() const { return world->data != nullptr; }

private:
    void disposePixels();

    PF_InData* in_data;
    PF_OutData* out_data;
    SuiteTable suites;
    int depth;
};

// On success `out` takes the new world (releasing what it held); on failure `out` is left untouched.
PF_Err createNewWorld(PF_InData* in_data, PF_OutData* out_data, A_long width, A_long height, int depth,
                      std::shared_ptr<NewWorld>& out);

// A new world of the source's size (0 by 0 for a null source) at `depth`, with the source copied into it.
// Returns the allocation's error, or else the copy's result; `out` takes the world once it is allocated.
PF_Err duplicateWorld(PF_InData* in_data, PF_OutData* out_data, const std::shared_ptr<World>& source,
                      std::shared_ptr<NewWorld>& out, int depth);

} // namespace Orvane
