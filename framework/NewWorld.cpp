#include "NewWorld.h"

#include "ScopedWorldSuite2.h"
#include "WorldCopy.h"

namespace Orvane {

NewWorld::NewWorld(PF_InData* in_data, PF_OutData* out_data)
    : in_data(in_data), out_data(out_data), suites(in_data->pica_basicP), depth(Depth8) {
    // Made here, after the suite table, so a throwing table leaves no record behind.
    world = new PF_EffectWorld{};
}

NewWorld::~NewWorld() {
    disposePixels();
    delete world;
    world = nullptr;
}

void NewWorld::disposePixels() {
    if (!world->data) return;
    // Dispose results are ignored: nothing more can be done for pixels the host will not take back.
    if (depth == Depth8 || depth == Depth16) {
        try {
            suites.pfWorldSuite1()->dispose_world(in_data->effect_ref, world);
        } catch (PF_Err) {
            // Unreachable once the pixels exist, since allocating them acquired the suite; a destructor must
            // not throw all the same.
        }
    } else if (depth == Depth32) {
        const ScopedWorldSuite2 worlds(in_data, out_data);
        if (worlds.get()) worlds.get()->PF_DisposeWorld(in_data->effect_ref, world);
    }
    // A later allocation that fails must not leave the old pixel pointer behind to be disposed again.
    *world = PF_EffectWorld{};
}

PF_Err NewWorld::allocate(A_long width, A_long height, int newDepth) {
    // Pixels from an earlier allocation go back first, with the suite of the depth they were made at.
    disposePixels();
    depth = newDepth;
    switch (depth) {
    case Depth8:
        return suites.pfWorldSuite1()->new_world(in_data->effect_ref, width, height, PF_NewWorldFlag_CLEAR_PIXELS,
                                                 world);
    case Depth16:
        return suites.pfWorldSuite1()->new_world(in_data->effect_ref, width, height,
                                                 PF_NewWorldFlag_CLEAR_PIXELS | PF_NewWorldFlag_DEEP_PIXELS, world);
    case Depth32: {
        const ScopedWorldSuite2 worlds(in_data, out_data);
        // A refused suite has already told the user through out_data; the world stays without pixels.
        if (!worlds.get()) return PF_Err_NONE;
        return worlds.get()->PF_NewWorld(in_data->effect_ref, width, height, TRUE, PF_PixelFormat_ARGB128, world);
    }
    default:
        return PF_Err_NONE;
    }
}

PF_Err createNewWorld(PF_InData* in_data, PF_OutData* out_data, A_long width, A_long height, int depth,
                      std::shared_ptr<NewWorld>& out) {
    auto created = std::make_shared<NewWorld>(in_data, out_data);
    const PF_Err err = created->allocate(width, height, depth);
    if (err == PF_Err_NONE) out = std::move(created);
    return err;
}

PF_Err duplicateWorld(PF_InData* in_data, PF_OutData* out_data, const std::shared_ptr<World>& source,
                      std::shared_ptr<NewWorld>& out, int depth) {
    const A_long width = source ? source->width() : 0;
    const A_long height = source ? source->height() : 0;
    auto created = std::make_shared<NewWorld>(in_data, out_data);
    const PF_Err err = created->allocate(width, height, depth);
    if (err != PF_Err_NONE) return err;
    out = std::move(created);
    return copyWorld(in_data, source, out);
}

} // namespace Orvane
