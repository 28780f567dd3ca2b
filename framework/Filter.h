// Filters fill a destination buffer as large as a source buffer of the same depth, in bands of rows on the
// host's worker threads: from a pixel function applied to every source pixel, or from a row function.
#pragma once

#include "FilterFunctions.h"

#include "../sdk/host_sdk.h"
#include "../suites/SuiteTable.h"

namespace Orvane::Filter {

class Filter {
public:
    // Throws PF_Err_BAD_CALLBACK_PARAM when in_data carries no basic suite.
    Filter(PF_InData* in_data, int depth);
    virtual ~Filter();
    Filter(const Filter&) = delete;
    Filter& operator=(const Filter&) = delete;

    // The source is walked over its width and height; the destination must be at least as large.
    void setWorlds(PF_EffectWorld* source, PF_EffectWorld* destination);
    // Renders, once both buffers are set; without them does nothing and returns 0.
    PF_Err run();
    virtual PF_Err render() = 0;

protected:
    // Every pixel the band loops address lies inside both buffers.
    bool buffersFit() const;
    // The band function once per host thread, after the buffer check.
    PF_Err renderBands(BandFunction band);

    PF_InData* in_data;
    SuiteTable suites; // for derived filters' own host calls
    int depth;         // PixelDepth code; at any other value nothing is rendered
    PF_EffectWorld* source = nullptr;
    PF_EffectWorld* destination = nullptr;
};

class SimpleFilter : public Filter {
public:
    SimpleFilter(PF_InData* in_data, int depth);

    // The caller keeps the function alive until run returns.
    void setFunction(const PixelFunction* pixelFunction) { function = pixelFunction; }
    PF_Err render() override;
    PF_Err renderBand(int index, int count);

private:
    const PixelFunction* function = nullptr;
};

// Paints each destination row with a row function and never reads the source (which still gives the size).
class RowFilter : public Filter {
public:
    RowFilter(PF_InData* in_data, int depth);

    // The caller keeps the function alive until run returns.
    void setFunction(const RowFunction* rowFunction) { function = rowFunction; }
    PF_Err render() override;
    PF_Err renderBand(int index, int count);

private:
    const RowFunction* function = nullptr;
};

} // namespace Orvane::Filter
