#include "FrameSession.h"

#include "SmartRenderCallbacks.h"

#include <cstring>
#include <stdexcept>

namespace OrvaneHost {

namespace {
constexpr unsigned kLayerSeed = 0x1A7E2u;
constexpr unsigned kOutputSeed = 0x7F00Du;
constexpr PF_ChannelMask kAllChannels = 0xF; // alpha, red, green and blue
} // namespace

void deletePreRenderHandle(void* preRenderData) {
    Host& host = Host::current();
    auto handle = static_cast<PF_Handle>(preRenderData);
    if (!handle) return;
    if (!host.isHandleLive(handle)) {
        host.books().hostError("pre-render data is not a live handle");
        return;
    }
    while (host.handleLockCount(handle) > 0) host.unlockHandle(handle);
    host.disposeHandle(handle);
}

FrameSession::FrameSession(Host& host, const LayerSetup& setup, A_long timeValue) : host(host) {
    const int width = downsampledSize(setup.width, setup.downsampleX);
    const int height = downsampledSize(setup.height, setup.downsampleY);
    if (checkWorldShape(width, height, setup.depth, setup.rowPaddingBytes))
        throw std::invalid_argument("the host cannot make a layer of this size and depth");

    HostWorlds& worlds = hostWorlds(host);
    worlds.layer = makeWorldBuffer(width, height, setup.depth, setup.rowPaddingBytes, true);
    fillPattern(*worlds.layer, kLayerSeed);
    worlds.output = makeWorldBuffer(width, height, setup.depth, setup.rowPaddingBytes, true);
    fillPattern(*worlds.output, kOutputSeed);

    PF_InData& in = host.inData();
    in.current_time = timeValue;
    in.time_scale = kTimeScale;
    in.downsample_x = setup.downsampleX;
    in.downsample_y = setup.downsampleY;

    outputRequest.rect = PF_LRect{0, 0, width, height};
    outputRequest.field = PF_Field_FRAME;
    outputRequest.channel_mask = kAllChannels;
    preInput.output_request = outputRequest;
    preInput.bitdepth = static_cast<A_short>(setup.depth);
    preOutput.delete_pre_render_data_func = deletePreRenderHandle;
    preExtra = PF_PreRenderExtra{&preInput, &preOutput, preRenderCallbacks()};
    smartInput.output_request = outputRequest;
    smartInput.bitdepth = static_cast<A_short>(setup.depth);
    smartExtra = PF_SmartRenderExtra{&smartInput, smartRenderCallbacks()};
    smartRenderState(host) = SmartRenderState{};
}

FrameSession::~FrameSession() {
    deleteHeldData();
    smartRenderState(host) = SmartRenderState{};
    hostWorlds(host).output.reset();
}

void FrameSession::deleteHeldData() {
    void* data = heldData;
    PF_DeletePreRenderDataFunc release = heldDelete;
    heldData = nullptr;
    heldDelete = nullptr;
    if (data && release) release(data);
}

PF_Err FrameSession::preRender() {
    SmartRenderState& state = smartRenderState(host);
    state = SmartRenderState{};
    state.phase = RenderPhase::PreRender;
    host.outData() = PF_OutData{};
    const PF_Err err = host.send(PF_Cmd_SMART_PRE_RENDER, nullptr, nullptr, &preExtra);
    state.phase = RenderPhase::Idle;
    // The host owns what the effect stored from now on, whatever the command returned.
    heldData = preOutput.pre_render_data;
    heldDelete = preOutput.delete_pre_render_data_func;
    if (err) deleteHeldData();
    return err;
}

PF_Err FrameSession::smartRender() {
    SmartRenderState& state = smartRenderState(host);
    state.phase = RenderPhase::SmartRender;
    smartInput.pre_render_data = heldData;
    host.outData() = PF_OutData{};
    const PF_Err err = host.send(PF_Cmd_SMART_RENDER, nullptr, nullptr, &smartExtra);
    state.phase = RenderPhase::Idle;
    deleteHeldData();
    smartInput.pre_render_data = nullptr;
    return err;
}

std::vector<unsigned char> FrameSession::preRenderRecord() const {
    auto handle = static_cast<PF_Handle>(heldData);
    if (!handle || !host.isHandleLive(handle)) return {};
    const A_HandleSize size = host.handleSize(handle);
    const auto* bytes = static_cast<const unsigned char*>(*handle);
    return std::vector<unsigned char>(bytes, bytes + size);
}

WorldBuffer& FrameSession::layer() { return *hostWorlds(host).layer; }
WorldBuffer& FrameSession::output() { return *hostWorlds(host).output; }

bool FrameSession::outputUntouched() const {
    const WorldBuffer& out = *hostWorlds(host).output;
    WorldBuffer fresh;
    fresh.depth = out.depth;
    fresh.bytes = out.bytes;
    fresh.storage = std::make_unique<unsigned char[]>(out.bytes);
    fillPattern(fresh, kOutputSeed);
    return std::memcmp(fresh.storage.get(), out.storage.get(), out.bytes) == 0;
}

void FrameSession::copyOutput(Frame& frame) const {
    const WorldBuffer& out = *hostWorlds(host).output;
    const int pixelSize = pixelSizeOfDepth(out.depth);
    frame.width = out.world.width;
    frame.height = out.world.height;
    frame.depth = out.depth;
    frame.rowbytes = out.world.width * pixelSize;
    frame.bytes.resize(std::size_t(frame.rowbytes) * std::size_t(frame.height));
    if (frame.bytes.empty()) return; // a zero-width layer has rows of no bytes (and no data pointer to copy to)
    for (A_long y = 0; y < out.world.height; ++y)
        std::memcpy(frame.bytes.data() + std::size_t(y) * std::size_t(frame.rowbytes),
                    pixelAddress(out.world, 0, y, out.depth), std::size_t(frame.rowbytes));
}

} // namespace OrvaneHost
