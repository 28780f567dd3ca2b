#include "EffectObjects.h"

#include "CallingHost.h"
#include "FrameState.h"
#include "Host.h"
#include "ServeCall.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace OrvaneHost {

namespace {

constexpr const char* kEffectRef = "effect ref";
constexpr const char* kStream = "stream";
constexpr const char* kStreamValue = "stream value";

struct EffectRecord {
    PF_ProgPtr instance;
};
struct StreamRecord {
    PF_ParamIndex index;
};

// The objects behind one kind of handle. A recording host keeps each until the host goes, so a disposed
// handle never comes back as the address of a new object and its later use is always caught by the books;
// a running host frees each as it is disposed of, so its memory stays the same however many frames it renders.
template <class Record> class Records {
public:
    Record* make(const Record& record) {
        auto made = std::make_unique<Record>(record);
        Record* address = made.get();
        std::lock_guard<std::mutex> lock(mutex);
        live.emplace(address, std::move(made));
        return address;
    }
    void dispose(const void* object, bool keep) {
        std::lock_guard<std::mutex> lock(mutex);
        auto it = live.find(object);
        if (it == live.end()) return;
        if (keep) retired.push_back(std::move(it->second));
        live.erase(it);
    }

private:
    std::mutex mutex;
    std::map<const void*, std::unique_ptr<Record>> live;
    std::vector<std::unique_ptr<Record>> retired;
};

struct EffectObjectsState {
    Records<EffectRecord> effects;
    Records<StreamRecord> streams;
    Records<StreamRecord> values;
    char layer = 0; // the effect's layer and its composition are the host's own, never disposed
    char comp = 0;
};

EffectObjectsState& state(Host& host) { return host.extension<EffectObjectsState>(); }

bool knownPlugin(Host& host, AEGP_PluginID id, const char* call) {
    if (host.pluginId() != 0 && id == host.pluginId()) return true;
    host.books().hostError(std::string(call) + ": plug-in id " + std::to_string(id) + " is not registered");
    return false;
}

bool thisEffect(Host& host, PF_ProgPtr effectRef, const char* call) {
    if (host.isEffectRef(effectRef)) return true;
    host.books().hostError(std::string(call) + ": not this host's effect reference");
    return false;
}

// The stream behind a live stream handle, or null (with a host error) for any other handle.
ParamStream* streamOf(Host& host, AEGP_StreamRefH handle, const char* call) {
    if (!host.books().use(kStream, handle, call)) return nullptr;
    const auto index = static_cast<std::size_t>(reinterpret_cast<const StreamRecord*>(handle)->index);
    if (index < host.streams().size()) return &host.streams()[index];
    host.books().hostError(std::string(call) + ": the stream's parameter no longer exists");
    return nullptr;
}

// A disposal gives the object back even when the call is made to fail: the effect cannot do more than ask.
template <class Record>
A_Err dispose(Records<Record> EffectObjectsState::*records, const char* kind, const void* object, const char* call,
              const char* detail) {
    return serveCall([&](Host& host) -> A_Err {
        HostCall record(host.recorder(), call, detail, {FaultMode::Error});
        const bool wasLive = host.books().close(kind, object, call);
        if (wasLive) (state(host).*records).dispose(object, host.recorder() != nullptr);
        if (record.fault()) return record.result(record.fault()->code);
        return record.result(wasLive ? A_Err(0) : kNotLive);
    });
}

// ---- AEGP PF Interface Suite 1 ------------------------------------------------------------------------

A_Err getEffectLayer(PF_ProgPtr effectRef, AEGP_LayerH* layerPH) {
    return serveCall([&](Host& host) -> A_Err {
        HostCall call(host.recorder(), "AEGP_GetEffectLayer", "", {FaultMode::Error});
        if (call.fault()) return call.result(call.fault()->code);
        if (!layerPH) return call.result(kMissingArgument);
        if (!thisEffect(host, effectRef, "AEGP_GetEffectLayer")) return call.result(kNotLive);
        *layerPH = reinterpret_cast<AEGP_LayerH>(&state(host).layer);
        return call.result(0);
    });
}

A_Err getNewEffectForEffect(AEGP_PluginID pluginId, PF_ProgPtr effectRef, AEGP_EffectRefH* effectPH) {
    return serveCall([&](Host& host) -> A_Err {
        HostCall call(host.recorder(), "AEGP_GetNewEffectForEffect", "", {FaultMode::Error});
        if (call.fault()) return call.result(call.fault()->code);
        if (!effectPH) return call.result(kMissingArgument);
        if (!knownPlugin(host, pluginId, "AEGP_GetNewEffectForEffect")) return call.result(kUnknownPlugin);
        if (!thisEffect(host, effectRef, "AEGP_GetNewEffectForEffect")) return call.result(kNotLive);
        EffectObjectsState& objects = state(host);
        EffectRecord* effect = objects.effects.make(EffectRecord{effectRef});
        host.books().open(kEffectRef, effect);
        *effectPH = reinterpret_cast<AEGP_EffectRefH>(effect);
        return call.result(0);
    });
}

const AEGP_PFInterfaceSuite1 kPFInterfaceSuite1 = {getEffectLayer, getNewEffectForEffect};

// ---- AEGP Layer Suite 13 ------------------------------------------------------------------------------

A_Err getLayerParentComp(AEGP_LayerH layerH, AEGP_CompH* compPH) {
    return serveCall([&](Host& host) -> A_Err {
        HostCall call(host.recorder(), "AEGP_GetLayerParentComp", "", {FaultMode::Error});
        if (call.fault()) return call.result(call.fault()->code);
        if (!compPH) return call.result(kMissingArgument);
        EffectObjectsState& objects = state(host);
        if (layerH != reinterpret_cast<AEGP_LayerH>(&objects.layer)) {
            host.books().hostError("AEGP_GetLayerParentComp: not a layer of this host");
            return call.result(kNotLive);
        }
        *compPH = reinterpret_cast<AEGP_CompH>(&objects.comp);
        return call.result(0);
    });
}

const AEGP_LayerSuite13 kLayerSuite13 = {getLayerParentComp};

// ---- AEGP Effect Suite 2 and 3 --------------------------------------------------------------------------

A_Err disposeEffect2(AEGP_EffectRefH effectH) {
    return dispose(&EffectObjectsState::effects, kEffectRef, effectH, "AEGP_DisposeEffect", "Effect Suite 2");
}
A_Err disposeEffect3(AEGP_EffectRefH effectH) {
    return dispose(&EffectObjectsState::effects, kEffectRef, effectH, "AEGP_DisposeEffect", "Effect Suite 3");
}

const AEGP_EffectSuite2 kEffectSuite2 = {disposeEffect2};
const AEGP_EffectSuite3 kEffectSuite3 = {disposeEffect3};

// ---- AEGP Stream Suite 9 ------------------------------------------------------------------------------

A_Err getNewEffectStreamByIndex(AEGP_PluginID pluginId, AEGP_EffectRefH effectH, PF_ParamIndex index,
                                AEGP_StreamRefH* streamPH) {
    return serveCall([&](Host& host) -> A_Err {
        HostCall call(host.recorder(), "AEGP_GetNewEffectStreamByIndex", [&] { return "index " + std::to_string(index); },
                      {FaultMode::Error});
        if (call.fault()) return call.result(call.fault()->code);
        if (!streamPH) return call.result(kMissingArgument);
        if (!knownPlugin(host, pluginId, "AEGP_GetNewEffectStreamByIndex")) return call.result(kUnknownPlugin);
        if (!host.books().use(kEffectRef, effectH, "AEGP_GetNewEffectStreamByIndex")) return call.result(kNotLive);
        if (index < 0 || static_cast<std::size_t>(index) >= host.streams().size()) return call.result(kNoSuchParam);
        EffectObjectsState& objects = state(host);
        StreamRecord* stream = objects.streams.make(StreamRecord{index});
        host.books().open(kStream, stream);
        *streamPH = reinterpret_cast<AEGP_StreamRefH>(stream);
        return call.result(0);
    });
}

A_Err disposeStream(AEGP_StreamRefH streamH) { return dispose(&EffectObjectsState::streams, kStream, streamH, "AEGP_DisposeStream", ""); }

// Colours as alpha, red, green, blue in 0..1; points as layer pixels; everything else one-dimensional.
bool fillStreamValue(const ParamStream& stream, const A_Time& time, AEGP_StreamVal2& val) {
    const StreamValue value = valueAt(stream, time);
    switch (stream.def.param_type) {
    case PF_Param_COLOR:
        val.color = AEGP_ColorVal{value[0], value[1], value[2], value[3]};
        return true;
    case PF_Param_POINT:
        val.two_d = AEGP_TwoDVal{value[0], value[1]};
        return true;
    case PF_Param_SLIDER:
    case PF_Param_FLOAT_SLIDER:
    case PF_Param_POPUP:
        val.one_d = value[0];
        return true;
    default:
        return false;
    }
}

A_Err getNewStreamValue(AEGP_PluginID pluginId, AEGP_StreamRefH streamH, AEGP_LTimeMode timeMode,
                        const A_Time* timePT, A_Boolean, AEGP_StreamValue2* valueP) {
    return serveCall([&](Host& host) -> A_Err {
        HostCall call(host.recorder(), "AEGP_GetNewStreamValue",
                      [&] {
                          return timePT ? "time " + std::to_string(timePT->value) + "/" + std::to_string(timePT->scale)
                                        : std::string();
                      },
                      {FaultMode::Error});
        if (call.fault()) return call.result(call.fault()->code);
        if (!timePT || !valueP) return call.result(kMissingArgument);
        if (!knownPlugin(host, pluginId, "AEGP_GetNewStreamValue")) return call.result(kUnknownPlugin);
        const ParamStream* stream = streamOf(host, streamH, "AEGP_GetNewStreamValue");
        if (!stream) return call.result(kNotLive);
        // The layer starts at composition time 0, so layer and composition times coincide.
        (void)timeMode;
        AEGP_StreamValue2 value{};
        if (!fillStreamValue(*stream, *timePT, value.val)) return call.result(kNoValue);
        EffectObjectsState& objects = state(host);
        if (FrameState* frame = CallingHost::frame()) frame->noteStreamValueRequest(reinterpret_cast<const StreamRecord*>(streamH)->index);
        StreamRecord* record = objects.values.make(*reinterpret_cast<const StreamRecord*>(streamH));
        host.books().open(kStreamValue, record);
        value.streamH = reinterpret_cast<AEGP_StreamRefH>(record);
        *valueP = value;
        return call.result(0);
    });
}

A_Err disposeStreamValue(AEGP_StreamValue2* valueP) {
    if (!valueP) {
        return serveCall([&](Host& host) -> A_Err {
            HostCall call(host.recorder(), "AEGP_DisposeStreamValue", "", {FaultMode::Error});
            host.books().hostError("AEGP_DisposeStreamValue: no value");
            return call.result(call.fault() ? call.fault()->code : kMissingArgument);
        });
    }
    return dispose(&EffectObjectsState::values, kStreamValue, valueP->streamH, "AEGP_DisposeStreamValue", "");
}

const AEGP_StreamSuite9 kStreamSuite9 = {getNewEffectStreamByIndex, disposeStream, getNewStreamValue,
                                         disposeStreamValue};

// ---- AEGP Dynamic Stream Suite 5 ----------------------------------------------------------------------

A_Err setDynamicStreamFlag(AEGP_StreamRefH streamH, AEGP_DynStreamFlags flag, A_Boolean undoable, A_Boolean set) {
    return serveCall([&](Host& host) -> A_Err {
        HostCall call(host.recorder(), "AEGP_SetDynamicStreamFlag",
                      [&] {
                          return "flag " + std::to_string(flag) + " undoable " + std::to_string(undoable) + " set " +
                                 std::to_string(set);
                      },
                      {FaultMode::Error});
        if (call.fault()) return call.result(call.fault()->code);
        ParamStream* stream = streamOf(host, streamH, "AEGP_SetDynamicStreamFlag");
        if (!stream) return call.result(kNotLive);
        ++stream->flagChanges;
        if (flag == AEGP_DynStreamFlag_HIDDEN) {
            stream->hidden = set != FALSE;
            stream->hiddenChangeUndoable = undoable != FALSE;
        }
        return call.result(0);
    });
}

const AEGP_DynamicStreamSuite5 kDynamicStreamSuite5 = {setDynamicStreamFlag};

// ---- AEGP Keyframe Suite 4 ----------------------------------------------------------------------------

A_Err getStreamNumKFs(AEGP_StreamRefH streamH, A_long* numKFsPL) {
    return serveCall([&](Host& host) -> A_Err {
        HostCall call(host.recorder(), "AEGP_GetStreamNumKFs", "", {FaultMode::Error});
        if (call.fault()) return call.result(call.fault()->code);
        if (!numKFsPL) return call.result(kMissingArgument);
        const ParamStream* stream = streamOf(host, streamH, "AEGP_GetStreamNumKFs");
        if (!stream) return call.result(kNotLive);
        *numKFsPL = static_cast<A_long>(stream->keyframes.size());
        return call.result(0);
    });
}

A_Err getKeyframeTime(AEGP_StreamRefH streamH, AEGP_KeyframeIndex keyIndex, AEGP_LTimeMode, A_Time* timePT) {
    return serveCall([&](Host& host) -> A_Err {
        HostCall call(host.recorder(), "AEGP_GetKeyframeTime", [&] { return "key " + std::to_string(keyIndex); }, {FaultMode::Error});
        if (call.fault()) return call.result(call.fault()->code);
        if (!timePT) return call.result(kMissingArgument);
        const ParamStream* stream = streamOf(host, streamH, "AEGP_GetKeyframeTime");
        if (!stream) return call.result(kNotLive);
        if (keyIndex < 0 || static_cast<std::size_t>(keyIndex) >= stream->keyframes.size())
            return call.result(kNoSuchKeyframe);
        *timePT = stream->keyframes[static_cast<std::size_t>(keyIndex)].time;
        return call.result(0);
    });
}

const AEGP_KeyframeSuite4 kKeyframeSuite4 = {getStreamNumKFs, getKeyframeTime};

} // namespace

void installEffectObjects(Host& host) {
    state(host); // made now, so that no command thread creates it
    host.serveSuite("AEGP PF Interface Suite", 1, &kPFInterfaceSuite1);
    host.serveSuite("AEGP Layer Suite", 13, &kLayerSuite13);
    host.serveSuite("AEGP Effect Suite", 2, &kEffectSuite2);
    host.serveSuite("AEGP Effect Suite", 3, &kEffectSuite3);
    host.serveSuite("AEGP Stream Suite", 9, &kStreamSuite9);
    host.serveSuite("AEGP Dynamic Stream Suite", 5, &kDynamicStreamSuite5);
    host.serveSuite("AEGP Keyframe Suite", 4, &kKeyframeSuite4);
}

} // namespace OrvaneHost
