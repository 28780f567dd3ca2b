// One frame request of the smart-render protocol, step by step, for the frame driver and for tests that
// look between the steps: the input layer and output buffers, the two commands with their extra blocks, and
// the release of the pre-render data through the delete function the host supplied.
#pragma once

#include "FrameRender.h"
#include "Worlds.h"

#include "../sdk/host_sdk.h"

namespace OrvaneHost {

class FrameSession {
public:
    // Makes the buffers (input with a pattern, output with another) and sets the frame's time and
    // downsampling in the host's in_data. Throws std::invalid_argument for a layer the host cannot make and
    // std::bad_alloc when memory runs out.
    FrameSession(Host& host, const LayerSetup& layer, A_long timeValue);
    // Deletes pre-render data still held and drops the output buffer.
    ~FrameSession();
    FrameSession(const FrameSession&) = delete;
    FrameSession& operator=(const FrameSession&) = delete;

    // PF_Cmd_SMART_PRE_RENDER; when it fails, data the effect stored anyway is deleted at once.
    PF_Err preRender();
    // PF_Cmd_SMART_RENDER with the pre-render data, which is deleted afterwards whatever the result.
    PF_Err smartRender();

    PF_PreRenderExtra& preRenderExtra() { return preExtra; }
    PF_PreRenderOutput& preRenderOutput() { return preOutput; }
    PF_SmartRenderExtra& smartRenderExtra() { return smartExtra; }
    const PF_RenderRequest& request() const { return outputRequest; }
    // The 60 bytes of the pre-render record while the data is held (empty otherwise).
    std::vector<unsigned char> preRenderRecord() const;
    bool holdsPreRenderData() const { return heldData != nullptr; }

    WorldBuffer& layer();
    WorldBuffer& output();
    // True while no byte of the output buffer (padding included) differs from how the host made it.
    bool outputUntouched() const;
    // The output's pixels, rows packed.
    void copyOutput(Frame& frame) const;

private:
    void deleteHeldData();

    Host& host;
    PF_RenderRequest outputRequest{};
    PF_PreRenderInput preInput{};
    PF_PreRenderOutput preOutput{};
    PF_PreRenderExtra preExtra{};
    PF_SmartRenderInput smartInput{};
    PF_SmartRenderExtra smartExtra{};
    void* heldData = nullptr;
    PF_DeletePreRenderDataFunc heldDelete = nullptr;
};

// The delete function the host supplies: unlocks the pre-render handle as often as it is locked and
// disposes of it.
void deletePreRenderHandle(void* preRenderData);

} // namespace OrvaneHost
