// Parameters 0 to 17 of the two air collectors (SCAIRC and SCAIRCD): their checks at
// initialisation and the build they describe.
#ifndef VIREO_ST_AIR_COLLECTOR_PARAMETERS_H
#define VIREO_ST_AIR_COLLECTOR_PARAMETERS_H

#include "air_collector.h"
#include "blocks.h"

namespace vireo::st {

// Reports every refused parameter 0 to 17, and the two warnings of a channel wider than
// 1.5 times its height; true when none is refused.
bool checkAirCollector(BlockView& b);

// The build as the parameters give it now (counts rounded, tilt at most 75 degrees);
// parameters changed during the run may make it unusable (Build::usable).
aircollector::Build airCollectorOf(const BlockView& b);

// The air pressure of the step: the input when connected, else 100 000 Pa.
float airPressure(const BlockView& b, int input);

}  // namespace vireo::st

#endif
