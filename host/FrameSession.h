// One frame request of the smart-render protocol, step by step, for the frame driver and for tests that
// look between the steps: the frame's own effect reference, in_data and out_data, its input layer and output
// buffers, the two commands with their extra blocks, and the pre-render data: the host supplies no delete
// function, holds what the effect stored, and calls the effect's delete function on it exactly once.
#pragma once

#include "FrameRender.h"
#include "FrameState.h"
#include "Worlds.h"

#include "../sdk/host_sdk.h"

#include <memory>
#include <vector>

namespace OrvaneHost {

class FrameSession {
public:
    // Makes the buffers (input with a pattern, output with another, rows padded as the host's behaviour
    // says) and the frame's in_data: the host's, with the frame's effect reference, time and downsampling.
    // Throws std::invalid_argument for a layer the host cannot make and std::bad_alloc when memory runs out.
    FrameSession(Host& host, const LayerSetup& layer, A_long timeValue);
    // Deletes pre-render data still held.
    ~FrameSession();
    FrameSession(const FrameSession&) = delete;
    FrameSession& operator=(const FrameSession&) = delete;

    // PF_Cmd_SMART_PRE_RENDER; when it fails, data the effect stored anyway is deleted at once.
    PF_Err preRender();
    // PF_Cmd_SMART_RENDER with the pre-render data, which is deleted afterwards whatever the result.
    PF_Err smartRender();

    PF_InData& inData() { return in; }
    PF_OutData& outData() { return out; }
    FrameState& state() { return frame; }
    PF_PreRenderExtra& preRenderExtra() { return preExtra; }
    PF_PreRenderOutput& preRenderOutput() { return preOutput; }
    PF_SmartRenderExtra& smartRenderExtra() { return smartExtra; }
    const PF_RenderRequest& request() const { return outputRequest; }
    bool holdsPreRenderData() const { return heldData != nullptr; }

    WorldBuffer& layer() { return *layerBuffer; }
    WorldBuffer& output() { return *outputBuffer; }
    // True while no byte of the output buffer (padding included) differs from how the host made it.
    bool outputUntouched() const;
    // True while no byte outside the width pixels of the output's rows, and no byte of the input layer,
    // differs from how the host made it.
    bool nothingWrittenOutsideTheRows() const;
    // The output's pixels, rows packed.
    void copyOutput(Frame& frame) const;

private:
    void deleteHeldData() noexcept;

    Host& host;
    FrameState frame;
    PF_InData in{};
    PF_OutData out{};
    std::unique_ptr<WorldBuffer> layerBuffer;
    std::unique_ptr<WorldBuffer> outputBuffer;
    PF_RenderRequest outputRequest{};
    PF_PreRenderInput preInput{};
    PF_PreRenderOutput preOutput{};
    PF_PreRenderExtra preExtra{};
    PF_SmartRenderInput smartInput{};
    PF_SmartRenderExtra smartExtra{};
    void* heldData = nullptr;
    PF_DeletePreRenderDataFunc heldDelete = nullptr;
};

} // namespace OrvaneHost
