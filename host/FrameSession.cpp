#include "FrameSession.h"

#include "CallingHost.h"
#include "SmartRenderCallbacks.h"

#include <cstring>
#include <exception>
#include <stdexcept>

namespace OrvaneHost {

namespace {
constexpr unsigned kLayerSeed = 0x1A7E2u;
constexpr unsigned kOutputSeed = 0x7F00Du;
constexpr PF_ChannelMask kAllChannels = 0xF; // alpha, red, green and blue
} // namespace

FrameSession::FrameSession(Host& host, const LayerSetup& setup, A_long timeValue) : host(host) {
    const int width = downsampledSize(setup.width, setup.downsampleX);
    const int height = downsampledSize(setup.height, setup.downsampleY);
    const int padding = host.behaviour().rowPaddingBytes;
    if (checkWorldShape(width, height, setup.depth, padding))
        throw std::invalid_argument("the host cannot make a layer of this size and depth");

    layerBuffer = makePatternedWorldBuffer(width, height, setup.depth, padding, kLayerSeed);
    outputBuffer = makePatternedWorldBuffer(width, height, setup.depth, padding, kOutputSeed);
    frame.layer = layerBuffer.get();
    frame.output = outputBuffer.get();

    in = host.inData();
    in.current_time = timeValue;
    in.downsample_x = setup.downsampleX;
    in.downsample_y = setup.downsampleY;

    outputRequest.rect = PF_LRect{0, 0, width, height};
    outputRequest.field = PF_Field_FRAME;
    outputRequest.channel_mask = kAllChannels;
    preInput.output_request = outputRequest;
    preInput.bitdepth = static_cast<A_short>(setup.depth);
    preExtra = PF_PreRenderExtra{&preInput, &preOutput, preRenderCallbacks()};
    smartInput.output_request = outputRequest;
    smartInput.bitdepth = static_cast<A_short>(setup.depth);
    smartExtra = PF_SmartRenderExtra{&smartInput, smartRenderCallbacks()};
    in.effect_ref = host.beginFrame(frame);
}

FrameSession::~FrameSession() {
    deleteHeldData();
    host.endFrame(frame);
}

// The data goes back to the effect through the function it set, once; without one, the host only forgets it.
// It goes back also when the books cannot note its return for want of memory.
void FrameSession::deleteHeldData() noexcept {
    void* data = heldData;
    PF_DeletePreRenderDataFunc release = heldDelete;
    heldData = nullptr;
    heldDelete = nullptr;
    if (!data) return;
    try {
        host.books().close("pre-render data", data, "delete_pre_render_data_func");
    } catch (const std::exception&) {
        // The books miss one return; the effect's data is not lost for that.
    }
    if (!release) return;
    CallingHost serving(host, &frame); // the effect's function gives the data's handle back to this host
    release(data);
}

PF_Err FrameSession::preRender() {
    deleteHeldData(); // a second pre-render of the request replaces the first one's data
    frame.phase = RenderPhase::PreRender;
    frame.checkouts.clear();
    frame.preRenderHandles.clear();
    frame.checkedOut.clear();
    out = PF_OutData{};
    preOutput.pre_render_data = nullptr;
    preOutput.delete_pre_render_data_func = nullptr; // a host supplies none: the effect sets its own
    const PF_Err err = host.send(frame, in, out, PF_Cmd_SMART_PRE_RENDER, &preExtra);
    frame.phase = RenderPhase::Idle;
    // The host holds what the effect stored from now on, whatever the command returned.
    heldData = preOutput.pre_render_data;
    heldDelete = preOutput.delete_pre_render_data_func;
    if (heldData) host.books().open("pre-render data", heldData);
    if (err) deleteHeldData();
    return err;
}

PF_Err FrameSession::smartRender() {
    frame.phase = RenderPhase::SmartRender;
    frame.pixelCheckouts = 0;
    frame.outputCheckouts = 0;
    frame.streamValueRequests = 0;
    frame.streamValueRequestsByParam.clear();
    smartInput.pre_render_data = heldData;
    out = PF_OutData{};
    const PF_Err err = host.send(frame, in, out, PF_Cmd_SMART_RENDER, &smartExtra);
    frame.phase = RenderPhase::Idle;
    deleteHeldData();
    smartInput.pre_render_data = nullptr;
    return err;
}

bool FrameSession::outputUntouched() const { return holdsPattern(*outputBuffer, kOutputSeed, false); }

bool FrameSession::nothingWrittenOutsideTheRows() const {
    return holdsPattern(*outputBuffer, kOutputSeed, true) && holdsPattern(*layerBuffer, kLayerSeed, false);
}

void FrameSession::copyOutput(Frame& into) const {
    const WorldBuffer& buffer = *outputBuffer;
    const int pixelSize = pixelSizeOfDepth(buffer.depth);
    into.width = buffer.world.width;
    into.height = buffer.world.height;
    into.depth = buffer.depth;
    into.rowbytes = buffer.world.width * pixelSize;
    into.bytes.resize(std::size_t(into.rowbytes) * std::size_t(into.height));
    if (into.bytes.empty()) return; // a zero-width layer has rows of no bytes (and no data pointer to copy to)
    for (A_long y = 0; y < buffer.world.height; ++y)
        std::memcpy(into.bytes.data() + std::size_t(y) * std::size_t(into.rowbytes),
                    pixelAddress(buffer.world, 0, y, buffer.depth), std::size_t(into.rowbytes));
}

} // namespace OrvaneHost
