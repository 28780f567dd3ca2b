// "PF World Suite" 1 (new_world, dispose_world) and 2 (PF_NewWorld, PF_DisposeWorld, PF_GetPixelFormat).
#include "Host.h"
#include "ServeCall.h"
#include "Worlds.h"

#include <new>
#include <string>

namespace OrvaneHost {

namespace {

std::string sizeDetail(A_long width, A_long height, const std::string& what) {
    return std::to_string(width) + "x" + std::to_string(height) + " " + what;
}

// Makes a world for a suite and copies its record into the effect's; books it as a live "world".
PF_Err allocateWorld(Host& host, A_long width, A_long height, int depth, bool clear, int suiteVersion,
                     PF_EffectWorld* world) {
    HostWorlds& worlds = hostWorlds(host);
    const int padding = host.behaviour().rowPaddingBytes;
    if (const PF_Err err = checkWorldShape(width, height, depth, padding)) return err;
    std::unique_ptr<WorldBuffer> buffer;
    try {
        buffer = makeWorldBuffer(width, height, depth, padding, clear);
    } catch (const std::bad_alloc&) {
        return PF_Err_OUT_OF_MEMORY;
    }
    buffer->suiteVersion = suiteVersion;
    *world = buffer->world;
    host.books().open("world", buffer->world.data);
    worlds.allocated[buffer->world.data] = std::move(buffer);
    return PF_Err_NONE;
}

// Gives a suite-made world back; a world made by the other suite version is refused as a host error.
PF_Err disposeWorld(Host& host, PF_EffectWorld* world, int suiteVersion, const char* call) {
    HostWorlds& worlds = hostWorlds(host);
    const void* pixels = world ? static_cast<const void*>(world->data) : nullptr;
    auto it = worlds.allocated.find(pixels);
    if (it == worlds.allocated.end()) {
        host.books().close("world", pixels, call); // records the host error
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    if (it->second->suiteVersion != suiteVersion) {
        host.books().hostError(std::string(call) + ": world was made by PF World Suite " +
                               std::to_string(it->second->suiteVersion));
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    host.books().close("world", pixels, call);
    worlds.allocated.erase(it);
    return PF_Err_NONE;
}

bool checkEffectRef(Host& host, PF_ProgPtr effect_ref, const char* call) {
    if (host.isEffectRef(effect_ref)) return true;
    host.books().hostError(std::string(call) + ": not this effect's reference");
    return false;
}

PF_Err newWorld1(PF_ProgPtr effect_ref, A_long width, A_long height, PF_NewWorldFlags flags, PF_EffectWorld* world) {
    return serveCall([&](Host& host) -> PF_Err {
        HostCall call(host.recorder(), "new_world", sizeDetail(width, height, "flags " + std::to_string(flags)),
                      {FaultMode::Error});
        if (call.fault()) return call.result(call.fault()->code);
        if (!checkEffectRef(host, effect_ref, "new_world") || !world) return call.result(PF_Err_BAD_CALLBACK_PARAM);
        const int depth = (flags & PF_NewWorldFlag_DEEP_PIXELS) ? 16 : 8;
        const bool clear = (flags & PF_NewWorldFlag_CLEAR_PIXELS) != 0;
        return call.result(allocateWorld(host, width, height, depth, clear, 1, world));
    });
}

PF_Err disposeWorld1(PF_ProgPtr effect_ref, PF_EffectWorld* world) {
    return serveCall([&](Host& host) -> PF_Err {
        HostCall call(host.recorder(), "dispose_world", "", {FaultMode::Error});
        if (call.fault()) return call.result(call.fault()->code);
        if (!checkEffectRef(host, effect_ref, "dispose_world")) return call.result(PF_Err_BAD_CALLBACK_PARAM);
        return call.result(disposeWorld(host, world, 1, "dispose_world"));
    });
}

PF_Err newWorld2(PF_ProgPtr effect_ref, A_long width, A_long height, PF_Boolean clear, PF_PixelFormat format,
                 PF_EffectWorld* world) {
    return serveCall([&](Host& host) -> PF_Err {
        HostCall call(host.recorder(), "PF_NewWorld", sizeDetail(width, height, "format " + std::to_string(format)),
                      {FaultMode::Error});
        if (call.fault()) return call.result(call.fault()->code);
        if (!checkEffectRef(host, effect_ref, "PF_NewWorld") || !world) return call.result(PF_Err_BAD_CALLBACK_PARAM);
        const int depth = depthOfPixelFormat(format);
        if (depth == 0) return call.result(PF_Err_BAD_CALLBACK_PARAM);
        return call.result(allocateWorld(host, width, height, depth, clear != 0, 2, world));
    });
}

PF_Err disposeWorld2(PF_ProgPtr effect_ref, PF_EffectWorld* world) {
    return serveCall([&](Host& host) -> PF_Err {
        HostCall call(host.recorder(), "PF_DisposeWorld", "", {FaultMode::Error});
        if (call.fault()) return call.result(call.fault()->code);
        if (!checkEffectRef(host, effect_ref, "PF_DisposeWorld")) return call.result(PF_Err_BAD_CALLBACK_PARAM);
        return call.result(disposeWorld(host, world, 2, "PF_DisposeWorld"));
    });
}

PF_Err getPixelFormat(const PF_EffectWorld* world, PF_PixelFormat* format) {
    return serveCall([&](Host& host) -> PF_Err {
        HostCall call(host.recorder(), "PF_GetPixelFormat", "", {FaultMode::Error});
        if (call.fault()) return call.result(call.fault()->code);
        const WorldBuffer* buffer = findWorld(host, world);
        if (!buffer || !format) {
            host.books().hostError("PF_GetPixelFormat: not a world of this host");
            return call.result(PF_Err_BAD_CALLBACK_PARAM);
        }
        const HostWorlds& worlds = hostWorlds(host);
        *format = worlds.reportedFormat ? *worlds.reportedFormat : pixelFormatOfDepth(buffer->depth);
        return call.result(PF_Err_NONE);
    });
}

const PF_WorldSuite1 kWorldSuite1 = {newWorld1, disposeWorld1};
const PF_WorldSuite2 kWorldSuite2 = {newWorld2, disposeWorld2, getPixelFormat};

} // namespace

void installWorldSuites(Host& host) {
    host.serveSuite("PF World Suite", 1, &kWorldSuite1);
    host.serveSuite("PF World Suite", 2, &kWorldSuite2);
}

} // namespace OrvaneHost
