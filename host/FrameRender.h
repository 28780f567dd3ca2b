// Renders one frame of the applied effect as the host does: smart pre-render, then smart render of the one
// request, over a host-owned input layer whose content must never show, into a host-owned output buffer.
//
// Before calling: the effect is applied (global setup, parameter setup) and the parameters hold their values
// and keyframes (host.streams()). The frame's in_data is the host's with the frame's time (current_time =
// timeValue in units of the behaviour's time scale; time_step as the host has it) and the layer's
// downsampling. The host behaves as host.behaviour() says, buffer padding included.
#pragma once

#include "FrameState.h"
#include "Host.h"
#include "HostThreads.h"

#include "../sdk/host_sdk.h"

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace OrvaneHost {

struct LayerSetup {
    int width = 1920, height = 1080; // the layer at full resolution
    int depth = 8;                   // bits per channel: 8, 16 or 32
    PF_RationalScale downsampleX{1, 1}, downsampleY{1, 1};
};

// Buffers of a layer downsampled by num/den are ceil(size * num / den) pixels (full size for a factor that
// is not a positive fraction).
int downsampledSize(int size, const PF_RationalScale& factor);

struct Frame {
    int width = 0, height = 0, depth = 8;
    A_long rowbytes = 0; // width * pixel size: the rows are packed
    // pixel (x, y) at bytes.data() + y * rowbytes + x * pixelSize, channels alpha, red, green, blue;
    // 8-bit 0..255, 16-bit 0..32768, or 32-bit float
    std::vector<unsigned char> bytes;
};

// What the host saw of a frame: what it handed out and was asked for (never what the effect keeps for itself).
struct FrameReport {
    PF_Err err = 0;
    // The parameters pre-render checked out, with the values handed out, in the order asked.
    std::vector<CheckedOutValue> checkedOut;
    // The stream values smart render asked for, in all and by parameter index.
    std::size_t streamValueRequests = 0;
    std::map<PF_ParamIndex, std::size_t> streamValueRequestsByParam;
    double renderSeconds = 0; // wall time of smart render
    std::string message;      // what failed, empty on success
};

// The frame at time `timeValue` (host units). The output is copied into `out` also when a command fails (it
// then holds whatever the effect left in the buffer). Returns the first error. A byte written outside the
// width pixels of the output's rows, or into the input layer, is a host error in the books. With the behaviour's
// concurrentFrames above 1 the same request also renders that many times less one on threads of their own
// at the same time; a copy that returns another result or other pixels is a host error in the books.
PF_Err renderFrame(Host& host, const LayerSetup& layer, A_long timeValue, Frame& out, FrameReport* report = nullptr);

} // namespace OrvaneHost
