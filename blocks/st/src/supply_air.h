// What the two desiccant-cooling loop controllers share: how much of the nominal air flow
// a cooling load needs, and the parameter rules of their common part.
#ifndef VIREO_ST_SUPPLY_AIR_H
#define VIREO_ST_SUPPLY_AIR_H

#include "finite.h"

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
inline int searchLimit(const BlockView& b, int parameter) { return std::clamp(b.whole(parameter), 0, kMostSearchSteps); }

// Every parameter a finite number, the nominal air flow above 0 and the heater power not
// negative.
inline bool checkParameters(BlockView& b, int nominalFlow, int heaterPower) {
    const auto rule = [&b](const Rule& r) { return b.check(r, b.par(r.parameter)); };
    bool passed = true;
    for (int i = 0; i < 10; ++i) passed = rule(finiteParameter(i)) && passed;
    if (!passed) return false;
    passed = rule(positiveParameter(nominalFlow, code::parameterNotAbove));
    return rule(Rule{.parameter = heaterPower, .low = 0.0f, .high = FLT_MAX, .code = code::badHeaterPower}) && passed;
}

}  // namespace vireo::st::supply

#endif
