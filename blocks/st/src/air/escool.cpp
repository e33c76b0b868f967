//#Block ESCOOL
//#Description
// Evaporative humidifier under a control signal: the air is moistened along its line of
// constant enthalpy, the signal times the efficiency of the way to saturation; the outlet
// humidity ratio is held at a set point.
//#Layout
//#Inputs 4
//#Outputs 4
//#Parameters 3
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Air inlet temperature ($^\circ$C)
//#IN[1] Air inlet relative humidity (-), 1 at saturation
//#IN[2] Control signal (-): 0 or less off, 1 full efficiency; taken as at most 1
//#IN[3] Highest humidity ratio of the outlet air, the set point (g/kg dry air)
//#Outputs
//#OUT[0] Air outlet temperature ($^\circ$C)
//#OUT[1] Air outlet relative humidity (-)
//#OUT[2] Power: parameter 2 while on, 0 when off (unit of parameter 2)
//#OUT[3] Water, parameter 3 times the rise of the humidity ratio (unit of parameter 3 times g/kg)
//#Parameters
//#BP[0] Humidifier efficiency, the share of the way to saturation at a signal of 1; also the highest inlet relative humidity at which it works (-)
//#BP[1] Power while on, such as that of the pump (any unit)
//#BP[2] Factor from the rise of the humidity ratio to output 4, such as the air mass flow (any unit)
//#Strings
//#None
//#Remarks
// The humidity ratio rises by the signal (taken within 0 and 1) times the efficiency
// times the way to saturation, and the temperature follows the line of constant enthalpy.
// The saturation state is found by secant steps on the humidity ratio with a bisection
// fallback, to 1e-4 in relative humidity. The air passes unchanged when its humidity
// ratio lies above the set point or its relative humidity above parameter 1: output 3
// then shows parameter 2 whenever the signal lies above 0, and output 4 keeps its last
// value. The air also passes unchanged, with a warning, when no saturation state is found
// (only for states outside the range of the humid-air functions). A step with an input
// that is not a finite number changes no output and is warned about.
//#end
#include "blocks.h"

#include "enthalpy_line.h"
#include "finite.h"

#include <algorithm>

namespace vireo::st {

void escool_block::step(View& b) {
    if (!inputsFinite(b)) return;
    const float signal = b.in(2);
    // A signal above 1 would drive the air past saturation.
    line::humidify(b, {.on = signal > 0.0f,
                       .share = std::clamp(signal, 0.0f, 1.0f),
                       .efficiency = b.par<P::efficiency>(),
                       .shownOn = b.par<P::power>(),
                       .power = b.par<P::power>(),
                       .waterFactor = b.par<P::waterFactor>()});
}

}  // namespace vireo::st
