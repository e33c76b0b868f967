//#Block EVCOOL
//#Description
// Evaporative humidifier with a partial flow: the share of the air led through the
// humidifier is moistened along its line of constant enthalpy, part of the way to
// saturation, and mixed with the rest; the outlet humidity ratio is held at a set point.
//#Layout
//#Inputs 4
//#Outputs 4
//#Parameters 4
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Air inlet temperature ($^\circ$C)
//#IN[1] Air inlet relative humidity (-), 1 at saturation
//#IN[2] Operating quantity, such as the flow led through the humidifier; taken within 0 and parameter 2 (unit of parameter 2)
//#IN[3] Highest humidity ratio of the outlet air, the set point (g/kg dry air)
//#Outputs
//#OUT[0] Air outlet temperature ($^\circ$C)
//#OUT[1] Air outlet relative humidity (-)
//#OUT[2] Power, parameter 3 in the share of input 3 over parameter 2 (unit of parameter 3)
//#OUT[3] Water, parameter 4 times the rise of the humidity ratio (unit of parameter 4 times g/kg)
//#Parameters
//#BP[0] Humidifier efficiency, the share of the way to saturation reached by the air that passes it; also the highest inlet relative humidity at which it works (-)
//#BP[1] Nominal operating quantity, the largest it takes, above 0 (any unit)
//#BP[2] Power at the nominal operating quantity, such as that of the pump (any unit)
//#BP[3] Factor from the rise of the humidity ratio to output 4, such as the air mass flow (any unit)
//#Strings
//#None
//#Remarks
// The humidity ratio rises by the operating share (input 3 over parameter 2, taken
// within 0 and 1) times the efficiency times the way to saturation, and the temperature
// follows the line of constant enthalpy. The saturation state is found by secant steps on
// the humidity ratio with a bisection fallback, to 1e-4 in relative humidity. The air
// passes unchanged when its humidity ratio lies above the set point or its relative
// humidity above parameter 1: output 3 then shows parameter 3 whenever input 3 lies above
// 0, and output 4 keeps its last value. The air also passes unchanged, with a warning,
// when no saturation state is found (only for states outside the range of the humid-air
// functions). A step with an input that is not a finite number changes no output and is
// warned about.
//#end
#include "blocks.h"

#include "enthalpy_line.h"
#include "finite.h"

#include <algorithm>

namespace vireo::st {

void evcool_block::step(View& b) {
    if (!inputsFinite(b)) return;
    const float quantity = b.in(2);
    const float share = std::clamp(quantity / b.par<P::nominal>(), 0.0f, 1.0f);
    line::humidify(b, {.on = quantity > 0.0f,
                       .share = share,
                       .efficiency = b.par<P::efficiency>(),
                       .shownOn = b.par<P::power>(),
                       .power = toOutput(double(share) * b.par<P::power>()),
                       .waterFactor = b.par<P::waterFactor>()});
}

}  // namespace vireo::st
