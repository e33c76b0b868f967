#include "air_collector_parameters.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace vireo::st {
namespace {

constexpr float kAny = FLT_MAX;
constexpr float kShortest = 0.1f;  // the laminar correlation averages the length beyond it

constexpr Rule above(int parameter, float low, block::Code code) {
    return {.parameter = parameter, .low = low, .high = kAny, .code = code, .aboveLow = true};
}
constexpr Rule count(int parameter, block::Code code) {
    return {.parameter = parameter, .low = 1, .high = kAny, .whole = true, .code = code};
}
constexpr Rule fraction(int parameter) { return {.parameter = parameter, .low = 0, .high = 1, .code = code::badEmissivity}; }

// In the order of the reports: the collector, its channels, the counts, the materials.
constexpr Rule kCollector[] = {above(4, 0, code::badCollectorSize), above(3, 0, code::badCollectorSize),
                               above(3, kShortest, code::collectorTooShort)};
constexpr Rule kChannels[] = {{.parameter = 7, .low = 0, .high = kAny, .whole = true, .code = code::badAirChannel, .aboveLow = true}, above(5, 0, code::badAirChannel),
                              above(6, 0, code::badAirChannel), above(8, 0, code::badAirChannel)};
constexpr Rule kMaterials[] = {
    count(1, code::badCollectorCount), count(0, code::badCollectorCount), above(9, 0, code::badTauAlpha),
    {.parameter = 10, .low = 0, .high = kAny, .code = code::badInsulationThickness},
    above(11, 0, code::badThermalConductivity), above(12, 0, code::badThermalConductivity),
    fraction(13), fraction(14), fraction(15), fraction(16), above(17, 0, code::badSize)};

}  // namespace

bool checkAirCollector(BlockView& b) {
    bool passed = b.check(kCollector);
    passed = b.check(kChannels) && passed;
    const float height = b.par(5), width = b.par(6);
    // The channel correlations are those of channels not much wider than high.
    if (height > 0 && width > 0 && width / height > 1.5f) {
        b.report(code::wideChannel, {.reals = {width / height}});
        b.report(code::wideChannelResults);
    }
    passed = b.check(kMaterials) && passed;
    const float tilt = b.par(2);
    if (!(tilt >= 0 && tilt <= kAny)) {
        b.report(code::badAngle, {.reals = {tilt}, .text = "a number of at least 0 (above 75 it counts as 75)",
                                  .ints = {3}});
        passed = false;
    }
    return passed;
}

aircollector::Build airCollectorOf(const BlockView& b) {
    aircollector::Build c;
    c.series = std::round(b.par(0));
    c.rows = std::round(b.par(1));
    c.tilt = std::min(b.par(2), 75.0f);
    c.length = b.par(3);
    c.width = b.par(4);
    c.height = b.par(5);
    c.channelWidth = b.par(6);
    c.channels = std::round(b.par(7));
    c.finThickness = b.par(8);
    c.tauAlpha = b.par(9);
    c.insulationThickness = b.par(10);
    c.insulationConductivity = b.par(11);
    c.finConductivity = b.par(12);
    c.coverEmissivity = b.par(13);
    c.absorberEmissivity = b.par(14);
    c.underEmissivity = b.par(15);
    c.backEmissivity = b.par(16);
    c.gap = b.par(17);
    return c;
}

float airPressure(const BlockView& b, int input) { return b.connected(input) ? b.in(input) : 100000.0f; }

}  // namespace vireo::st
