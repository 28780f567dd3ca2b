// Renders one frame of the applied effect as the host does: smart pre-render, then smart render of the one
// request, over a host-owned input layer whose content must never show, into a host-owned output buffer.
//
// Before calling: the effect is applied (global setup, parameter setup) and the parameters hold their values
// and keyframes (host.streams()). The frame's in_data is the host's with the frame's time (current_time =
// timeValue in units of the behaviour's time scale; time_step as the host has it) and the layer's
// downsampling. The host behaves as host.behaviour() says, buffer padding included.
#pragma once

#include "Host.h"
#include "HostThreads.h"

#include "../sdk/host_sdk.h"

#include <cstddef>
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

struct FrameReport {
    PF_Err err = 0;
    std::vector<unsigned char> preRenderRecord; // the 60 bytes pre-render stored, when it succeeded
    // Entries of the effect's colour and opacity tables (0 for a constant), and every stream value the
    // effect requested while rendering this frame.
    std::size_t colorEntries = 0, opacityEntries = 0, streamValueRequests = 0;
    double renderSeconds = 0; // wall time of smart render
    std::string message;      // what failed, empty on success
};

// The frame at time `timeValue` (host units). The output is copied into `out` also when a command fails (it
// then holds whatever the effect left in the buffer). Returns the first error. A byte written outside the
// width pixels of the output's rows, or into the input layer, is a host error in the books. With the behaviour's
// concurrentFrames above 1 the same request also renders that many times less one on threads of their own
// at the same time; a copy that returns another result or other pixels is a host error in the books.
PF_Err renderFrame(Host& host, const LayerSetup& layer, A_long timeValue, Frame& out, FrameReport* report = nullptr);

// The pre-render record's fields, read from its 60 bytes (shape, the two points in buffer pixels, repeat,
// colour alpha, red, green, blue, opacity). False when the bytes are not a record.
struct PreRenderRecordView {
    A_long shape = 0;
    double point1[2] = {0, 0};
    double point2[2] = {0, 0};
    A_long repeat = 0;
    float color[4] = {0, 0, 0, 0};
    float opacity = 0;
};
bool decodePreRenderRecord(const std::vector<unsigned char>& bytes, PreRenderRecordView& view);

} // namespace OrvaneHost
