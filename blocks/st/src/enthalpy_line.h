// Air treated without heat exchange, in an evaporative humidifier or a sorption wheel,
// keeps its enthalpy: its end state lies on the line of constant enthalpy through its
// inlet state, where the relative humidity reaches a target. Every state comes from the
// utility library's humid-air functions (humidity ratio in g/kg dry air, enthalpy in kJ/kg
// dry air), which stay finite and monotone below zero humidity and past saturation; their
// status is not read.
#ifndef VIREO_ST_ENTHALPY_LINE_H
#define VIREO_ST_ENTHALPY_LINE_H

#include "blocks.h"

#include <optional>

namespace vireo::st::line {

struct AirState {
    float x;    // humidity ratio
    float t;    // temperature
    float phi;  // relative humidity
};

// A state of humid air with the enthalpy of its line.
struct Inlet {
    AirState state;
    float h;
};

// Air at temperature t and relative humidity phi.
Inlet inlet(float t, float phi);

// The state of humidity ratio x on the line of enthalpy h.
AirState at(float x, float h);

struct Target {
    float phi;         // the relative humidity sought
    float tolerance;   // on the relative humidity
    float firstTrial;  // the humidity ratio tried first
};

// The state on the inlet's line whose relative humidity meets the target: secant steps
// on the humidity ratio, kept inside the bracket of the states seen on either side and
// replaced by halving it (or, before a state beyond the target is known, by widening
// steps towards it) where they leave it or stall. Nothing when no such state turns up
// within the step limit, which only inputs outside the humid-air functions' range reach.
std::optional<AirState> find(const Inlet& from, const Target& target);

// The saturated state on the line through `from` (within 1e-4 in relative humidity): the
// end of a humidifier's line and a cooling tower's wet bulb.
std::optional<AirState> saturated(const Inlet& from);

// An evaporative humidifier of EVCOOL and ESCOOL: the share of the way to saturation
// that the block's operating input gives, and what it puts out beside the air.
struct Humidifier {
    bool on;           // the operating input lies above 0
    float share;       // of the humidifier's efficiency used, 0 to 1
    float efficiency;  // share of the way to saturation at full operation; also the highest
                       // inlet relative humidity at which the humidifier works
    float shownOn;     // output 3 whenever the operating input lies above 0 and the air passes
    float power;       // output 3 while the humidifier works
    float waterFactor; // output 4 per unit rise of the humidity ratio
};

// A humidifier's step on inputs temperature, relative humidity, operating quantity and
// set point of the outlet humidity ratio.
void humidify(BlockView& b, const Humidifier& u);

}  // namespace vireo::st::line

#endif
