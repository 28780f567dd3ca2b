// libFuzzer target: each input is one whole frame request — layer size, downsampling, every parameter's
// value, keyframes with their sides and a point's tangents, time, thread count, pixel depth, how the host behaves (row padding, the order of
// iterations, handles that move) and a host call to fail — run through the host's full command sequence on
// the effect module. A crash, a sanitizer report, anything left in the
// host's books, or a frame that differs between 1 and 3 threads stops the fuzzer.
#include "FuzzInput.h"

#include "host/FrameRender.h"
#include "host/Host.h"
#include "host/HostThreads.h"
#include "host/ParameterControls.h"
#include "host/Scene.h"
#include "params/ParamIndex.h"

#include <dlfcn.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace OrvaneHost;
using OrvaneFuzz::FuzzInput;

namespace {

using namespace Orvane;

[[noreturn]] void finding(const std::string& what) {
    std::fprintf(stderr, "orvane fuzz finding: %s\n", what.c_str());
    std::abort();
}

void requireCleanBooks(const Host& host, const char* after) {
    const auto problems = host.bookProblems();
    if (problems.empty()) return;
    std::string all = std::string("books not clean after ") + after + ":";
    for (const auto& p : problems) all += " " + p + ";";
    finding(all);
}

// The module is loaded once; every input gets a fresh host over its entry point.
PF_EntryPointFunc moduleEntry() {
    static PF_EntryPointFunc entry = [] {
        void* module = dlopen(ORVANE_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
        if (!module) finding(std::string("cannot load the module: ") + dlerror());
        auto found = reinterpret_cast<PF_EntryPointFunc>(dlsym(module, "EntryPointFunc"));
        if (!found) finding("the module exports no EntryPointFunc");
        return found;
    }();
    return entry;
}

struct Request {
    LayerSetup layer;
    HostBehaviour behaviour;
    A_long time = 0;
    int threads = 1;
    bool refreshFirst = false;
    std::uint32_t faultAt = 0; // 0: no fault
    FaultMode faultMode = FaultMode::Error;
};

PF_RationalScale downsample(FuzzInput& in) {
    // Mostly the factors a host uses, sometimes anything (zero and negative denominators included).
    if (in.u8() & 1) return PF_RationalScale{1, static_cast<A_u_long>(1 + in.below(4))};
    return PF_RationalScale{static_cast<A_long>(static_cast<std::int8_t>(in.u8())), static_cast<A_u_long>(in.u8() % 5)};
}

PF_Fixed fixedPoint(FuzzInput& in) {
    switch (in.below(4)) {
    case 0: return static_cast<PF_Fixed>(0x7FFFFFFF);
    case 1: return static_cast<PF_Fixed>(-0x7FFFFFFF - 1);
    case 2: return in.i32();
    default: return static_cast<PF_Fixed>(static_cast<std::int32_t>(in.u8() % 80) - 8) * 65536 +
                    static_cast<PF_Fixed>(in.u16());
    }
}

A_long keyTime(FuzzInput& in) {
    switch (in.below(4)) {
    case 0: return in.i32();
    case 1: return -static_cast<A_long>(in.u16());
    default: return static_cast<A_long>(in.u8()) * 6000; // frames around the first few seconds, repeats likely
    }
}

// Keyframed tables hold one host-sampled entry per pixel of ramp length; past a short ramp they only make
// each input slower (extreme points are still fuzzed, with constant colour and opacity).
constexpr double kLongestKeyframedRamp = 256.0;

// A point in layer pixels from its 16.16 value (every 32-bit value is exact in a double, and back).
StreamValue fixedPointValue(PF_Fixed x, PF_Fixed y) { return pointValue(x / 65536.0, y / 65536.0); }

struct ControlKey {
    PF_ParamIndex index;
    Keyframe key;
};

void addKeys(std::vector<ControlKey>& keys, PF_ParamIndex index, double rampLength, FuzzInput& in, bool colour) {
    const unsigned count = rampLength <= kLongestKeyframedRamp ? in.below(6) : 0;
    for (unsigned i = 0; i < count; ++i) {
        const A_Time time{keyTime(in), kTimeScale};
        StreamValue value{};
        if (colour) {
            for (double& channel : value) channel = in.hostileDouble();
        } else {
            value[0] = in.hostileDouble() * 100.0;
        }
        keys.push_back({index, Keyframe{time, value}});
    }
}

// A keyframe side as a user may set it: linear, hold, or bezier with any finite speed and an influence the
// host accepts.
KeyframeSide sideOf(FuzzInput& in) {
    switch (in.below(3)) {
    case 0: return {};
    case 1: return {Interpolation::Hold, {}};
    default: break;
    }
    double speed = in.hostileDouble() * 100.0;
    if (!std::isfinite(speed)) speed = 0;
    const double influence = kMinInfluence + (kMaxInfluence - kMinInfluence) * (in.u8() / 255.0);
    return {Interpolation::Bezier, Ease{speed, influence}};
}

// Pixels within a short reach (so that a keyed point keeps the ramp, and the keyframed tables, short).
double nearby(FuzzInput& in) { return static_cast<std::int8_t>(in.u8()) / 2.0; }

// Keyframes of a point near its value, with tangents, and of a popup with any value.
void addAnimatedControls(std::vector<ControlKey>& keys, const StreamValue& point1, FuzzInput& in) {
    for (unsigned i = in.below(4); i > 0; --i) {
        Keyframe key{A_Time{keyTime(in), kTimeScale}, pointValue(point1[0] + nearby(in), point1[1] + nearby(in))};
        key.tangentIn = {nearby(in), nearby(in)};
        key.tangentOut = {nearby(in), nearby(in)};
        keys.push_back({kParamPoint1, key});
    }
    for (unsigned i = in.below(3); i > 0; --i)
        keys.push_back({in.u8() & 1 ? kParamShape : kParamRepeat,
                        Keyframe{A_Time{keyTime(in), kTimeScale}, popupValue(static_cast<std::int8_t>(in.u8()))}});
}

Request decodeRequest(Host& host, FuzzInput& in) {
    Request r;
    r.layer.width = static_cast<int>(in.below(40));
    r.layer.height = static_cast<int>(in.below(40));
    static const int depths[] = {8, 16, 32};
    r.layer.depth = depths[in.below(3)];
    r.behaviour.rowPaddingBytes = static_cast<int>(in.below(40));
    r.layer.downsampleX = downsample(in);
    r.layer.downsampleY = downsample(in);

    // Popup values as any byte gives them, valid or not; the bytes are read in this order.
    Scene scene;
    scene.set(kParamShape, popupValue(static_cast<std::int8_t>(in.u8())));
    scene.set(kParamRepeat, popupValue(static_cast<std::int8_t>(in.u8())));
    const PF_Fixed x1 = fixedPoint(in), y1 = fixedPoint(in), x2 = fixedPoint(in), y2 = fixedPoint(in);
    scene.set(kParamPoint1, fixedPointValue(x1, y1)).set(kParamPoint2, fixedPointValue(x2, y2));
    const double rampLength = std::hypot((double(x2) - x1) / 65536.0, (double(y2) - y1) / 65536.0);
    const A_u_char alpha = in.u8(), red = in.u8(), green = in.u8(), blue = in.u8();
    scene.set(kParamColor, colorValue(PF_Pixel8{alpha, red, green, blue}));
    scene.set(kParamOpacity, sliderValue(in.hostileDouble() * 100.0));
    std::vector<ControlKey> keys;
    addKeys(keys, kParamColor, rampLength, in, true);
    addKeys(keys, kParamOpacity, rampLength, in, false);

    r.time = keyTime(in);
    r.threads = 1 + static_cast<int>(in.below(8));
    r.refreshFirst = in.u8() & 1;
    r.faultAt = in.u16() % 512;
    r.faultMode = in.u8() & 1 ? FaultMode::Null : FaultMode::Error;
    // Read last, so that inputs written before the host had these behaviours keep their meaning.
    r.behaviour.order = static_cast<IterationOrder>(in.below(3));
    r.behaviour.relocateUnlockedHandles = in.u8() & 1;
    r.behaviour.threadZeroSpawned = in.u8() & 1;
    // Read after all of the above, so that inputs written before keyframes had sides keep their meaning: the
    // sides of the colour and opacity keyframes, then keyframes of Point 1 and the popups with theirs.
    if (rampLength <= kLongestKeyframedRamp) addAnimatedControls(keys, fixedPointValue(x1, y1), in);
    for (ControlKey& k : keys) {
        k.key.in = sideOf(in);
        k.key.out = sideOf(in);
        scene.key(k.index, k.key);
    }
    applyScene(host, scene);
    return r;
}

PF_Err render(Host& host, const Request& r, int threads, Frame& frame) {
    HostBehaviour behaviour = r.behaviour;
    behaviour.reportedThreads = threads;
    host.setBehaviour(behaviour);
    host.calls().reset();
    return renderFrame(host, r.layer, r.time, frame);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    Host host(moduleEntry(), Recording::On);
    if (host.about() != PF_Err_NONE) finding("About failed");
    if (applyEffect(host) != PF_Err_NONE) finding("the effect could not be applied");
    requireCleanBooks(host, "applying the effect");
    const Request r = decodeRequest(host, in);
    if (r.refreshFirst) {
        pressButton(host, kParamRefreshButton);
        requireCleanBooks(host, "Refresh");
    }

    Frame one, three;
    const PF_Err errOne = render(host, r, 1, one);
    requireCleanBooks(host, "a frame on 1 thread");
    const PF_Err errThree = render(host, r, 3, three);
    requireCleanBooks(host, "a frame on 3 threads");
    if (errOne != errThree) finding("1 and 3 threads return " + std::to_string(errOne) + " and " + std::to_string(errThree));
    if (errOne == PF_Err_NONE && one.bytes != three.bytes) finding("1 and 3 threads render different frames");

    if (r.faultAt != 0) {
        Frame faulted;
        HostBehaviour behaviour = r.behaviour;
        behaviour.reportedThreads = r.threads;
        host.setBehaviour(behaviour);
        host.calls().reset();
        host.calls().addRule({"", "", r.faultAt, false, {r.faultMode, 7}});
        const PF_Err err = renderFrame(host, r.layer, r.time, faulted);
        const bool injected = host.calls().injectedCount() != 0;
        host.calls().clearRules();
        requireCleanBooks(host, "a frame with a failed host call");
        if (injected && err == PF_Err_NONE && r.faultMode == FaultMode::Error) {
            // An error answered by a call whose failure the effect may ignore (a check-in) is fine; a frame
            // that reports success after a failed checkout, lock or suite is not.
            const auto records = host.calls().records();
            for (const auto& call : records)
                if (call.injected && (call.name == "AcquireSuite" || call.name.rfind("checkout", 0) == 0))
                    finding("a failed " + call.name + " was reported as success");
        }
    }

    if (host.globalSetdown() != PF_Err_NONE) finding("global setdown failed");
    requireCleanBooks(host, "global setdown");
    if (host.liveHandles() != 0) finding("handles live after global setdown");
    return 0;
}
