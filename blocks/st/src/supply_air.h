// What the two desiccant-cooling loop controllers share: how much of the nominal air flow
// a cooling load needs.
#ifndef VIREO_ST_SUPPLY_AIR_H
#define VIREO_ST_SUPPLY_AIR_H

#include "blocks.h"

#include <algorithm>

namespace vireo::st::supply {

// The least share of the nominal flow the plant is run at: the minimum air flow's share,
// or a trickle when none is given, so that the supply-temperature relation never divides
// by a zero flow.
inline double lowestShare(double minimumFlow, double nominalFlow) {
    return minimumFlow > 0.0 ? std::min(minimumFlow / nominalFlow, 1.0) : 0.001;
}

// The share of the nominal flow that carries `load` with supply air `dt` below the room,
// held within [lowest, 1]: a room no warmer than the supply air can only be given all the
// air there is.
inline double loadShare(double load, double nominalFlow, double dt, double cpair, double lowest) {
    if (!(dt > 0.0)) return 1.0;
    return std::clamp(load / (nominalFlow * dt * cpair), lowest, 1.0);
}

// The supply temperature that carries `load` at a share of the nominal flow.
inline double requiredSupply(double room, double load, double nominalFlow, double share, double cpair) {
    return room - load / (nominalFlow * share * cpair);
}

// A search's step limit as a count the pass sequence can afford: a model's 1e9 would keep
// the engine inside one time step for hours.
inline constexpr int kMostSearchSteps = 1000;
inline int searchLimit(int steps) { return std::clamp(steps, 0, kMostSearchSteps); }

}  // namespace vireo::st::supply

#endif
