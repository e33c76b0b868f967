// Parameters 0 to 17 of the two air collectors (SCAIRC and SCAIRCD), declared once: their
// table, the build they describe and the warning their channels' shape may give.
#ifndef VIREO_ST_AIR_COLLECTOR_PARAMETERS_H
#define VIREO_ST_AIR_COLLECTOR_PARAMETERS_H

#include "BlockView.h"
#include "Params.h"
#include "air_collector.h"
#include "messages.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstddef>

namespace vireo::st::aircollector {

struct Parameters {
    enum : int {
        series, rows, tilt, length, width, height, channelWidth, channels, finThickness, tauAlpha,
        insulationThickness, insulationConductivity, finConductivity, coverEmissivity, absorberEmissivity,
        underEmissivity, backEmissivity, gap, count
    };
};

// The laminar channel correlation averages the length beyond 0.1 m.
inline constexpr float kShortest = 0.1f;

// The shared rows, parameter 8 named as the block's page names it (SCAIRCD's fins are
// its absorber's thickness too), followed by a block's own.
template <std::size_t N = 0>
constexpr std::array<block::Param, Parameters::count + N> buildTable(const char* finThickness,
                                                                     const std::array<block::Param, N>& more = {}) {
    using block::above;
    constexpr block::Bound kCount = block::whole(1, FLT_MAX);
    constexpr block::Bound kFraction = block::within(0, 1);
    const std::array<block::Param, Parameters::count> shared = {{
        {"Collectors in series", "-", kCount, code::badCollectorCount},
        {"Rows in parallel", "-", kCount, code::badCollectorCount},
        {"Tilt", "degrees", block::atLeast(0), code::badAngle},
        {"Collector length along the flow", "m", above(kShortest), code::collectorTooShort},
        {"Collector width", "m", above(0), code::badCollectorSize},
        {"Height of the air channels and the fins", "m", above(0), code::badAirChannel},
        {"Width of one air channel", "m", above(0), code::badAirChannel},
        {"Channels per collector", "-", kCount, code::badAirChannel},
        {finThickness, "m", above(0), code::badAirChannel},
        {"Transmittance-absorptance product", "-", above(0), code::badTauAlpha},
        {"Insulation thickness", "m", block::atLeast(0), code::badInsulationThickness},
        {"Insulation conductivity", "W/(m K)", above(0), code::badThermalConductivity},
        {"Conductivity of absorber and fins", "W/(m K)", above(0), code::badThermalConductivity},
        {"Cover emissivity", "-", kFraction, code::badEmissivity},
        {"Absorber emissivity on the cover side", "-", kFraction, code::badEmissivity},
        {"Absorber emissivity on the channel side", "-", kFraction, code::badEmissivity},
        {"Back-plate emissivity", "-", kFraction, code::badEmissivity},
        {"Width of the gap between absorber and cover", "m", above(0), code::badSize},
    }};
    std::array<block::Param, Parameters::count + N> all{};
    std::copy(shared.begin(), shared.end(), all.begin());
    std::copy(more.begin(), more.end(), all.begin() + Parameters::count);
    return all;
}

// The build as the parameters give it (counts rounded, tilt at most 75 degrees).
template <class View>
Build buildOf(const View& b) {
    using P = typename View::Params;
    Build c;
    c.series = std::round(b.template par<P::series>());
    c.rows = std::round(b.template par<P::rows>());
    c.tilt = std::min(b.template par<P::tilt>(), 75.0f);
    c.length = b.template par<P::length>();
    c.width = b.template par<P::width>();
    c.height = b.template par<P::height>();
    c.channelWidth = b.template par<P::channelWidth>();
    c.channels = std::round(b.template par<P::channels>());
    c.finThickness = b.template par<P::finThickness>();
    c.tauAlpha = b.template par<P::tauAlpha>();
    c.insulationThickness = b.template par<P::insulationThickness>();
    c.insulationConductivity = b.template par<P::insulationConductivity>();
    c.finConductivity = b.template par<P::finConductivity>();
    c.coverEmissivity = b.template par<P::coverEmissivity>();
    c.absorberEmissivity = b.template par<P::absorberEmissivity>();
    c.underEmissivity = b.template par<P::underEmissivity>();
    c.backEmissivity = b.template par<P::backEmissivity>();
    c.gap = b.template par<P::gap>();
    return c;
}

// The two warnings of channels wider than 1.5 times their height, among the collectors'
// checks (at initialisation and after a change): the channel correlations are those of
// channels not much wider than high. Warnings only: always true.
bool warnWideChannels(block::BlockView& b, float height, float width);

// The air pressure of the step: the input when connected, else 100 000 Pa.
float airPressure(const block::BlockView& b, int input);

}  // namespace vireo::st::aircollector

#endif
