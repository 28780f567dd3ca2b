// A host pixel buffer seen by the framework. A World owns nothing: the host keeps the buffer, and
// destroying the World releases and checks in nothing. Owning kinds derive from it.
#pragma once

#include "../sdk/host_sdk.h"

#include <utility>

namespace Orvane {

class World {
public:
    explicit World(PF_EffectWorld* world = nullptr) : world(world) {}
    virtual ~World() = default;
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    PF_EffectWorld* get() const { return world; }
    A_long width() const { return world ? world->width : 0; }
    A_long height() const { return world ? world->height : 0; }
    PF_Rect rect() const { return PF_Rect{0, 0, width(), height()}; }
    std::pair<A_long, A_long> origin() const {
        return world ? std::make_pair(world->origin_x, world->origin_y) : std::make_pair(A_long(0), A_long(0));
    }

protected:
    PF_EffectWorld* world;
};

} // namespace Orvane
