// "PF World Suite" 2, the suite of 32-bit worlds and of the pixel-format query, held for one operation
// through the single-suite pair: a refusal tells the user through out_data, and the suite goes back when
// the object goes.
#pragma once

#include "../suites/ScopedSuite.h"

namespace Orvane {

class ScopedWorldSuite2 {
public:
    ScopedWorldSuite2(PF_InData* in_data, PF_OutData* out_data) : in_data(in_data), out_data(out_data) {
        acquired = AEFX_AcquireSuite(in_data, out_data, kName, kVersion, "Couldn't load suite.", &suite);
    }
    ~ScopedWorldSuite2() { release(); }
    ScopedWorldSuite2(const ScopedWorldSuite2&) = delete;
    ScopedWorldSuite2& operator=(const ScopedWorldSuite2&) = delete;

    // Null when the host refused the suite; acquisition() is then its code.
    PF_WorldSuite2* get() const { return static_cast<PF_WorldSuite2*>(suite); }
    PF_Err acquisition() const { return acquired; }

    // Gives the suite back now and returns the answer. Only a suite the host handed out goes back: releasing
    // one it refused would release someone else's reference.
    PF_Err release() {
        if (!suite) return PF_Err_NONE;
        suite = nullptr;
        return AEFX_ReleaseSuite(in_data, out_data, kName, kVersion, "Couldn't release suite.");
    }

private:
    static constexpr const char* kName = "PF World Suite";
    static constexpr A_long kVersion = 2;

    PF_InData* in_data;
    PF_OutData* out_data;
    void* suite = nullptr;
    PF_Err acquired = PF_Err_NONE;
};

} // namespace Orvane
