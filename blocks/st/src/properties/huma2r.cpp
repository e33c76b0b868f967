//#Block HUMA2R, HUMR2A, HUMH2T, HUMH, HUMH2X
//#Description
// Humid air at 101 325 Pa: relative humidity from the humidity ratio (HUMA2R), humidity
// ratio from the relative humidity (HUMR2A), temperature from humidity ratio and enthalpy
// (HUMH2T), enthalpy (HUMH), humidity ratio from temperature and enthalpy (HUMH2X).
//#Layout
//#Inputs 2
//#Outputs 1
//#Parameters 0
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs HUMA2R
//#IN[0] Humidity ratio (g/kg dry air)
//#IN[1] Temperature ($^\circ$C)
//#Inputs HUMR2A
//#IN[0] Relative humidity (-), 1 at saturation
//#IN[1] Temperature ($^\circ$C)
//#Inputs HUMH2T
//#IN[0] Humidity ratio (g/kg dry air)
//#IN[1] Enthalpy (kJ/kg dry air)
//#Inputs HUMH
//#IN[0] Humidity ratio (g/kg dry air)
//#IN[1] Temperature ($^\circ$C)
//#Inputs HUMH2X
//#IN[0] Temperature ($^\circ$C)
//#IN[1] Enthalpy (kJ/kg dry air)
//#Outputs HUMA2R
//#OUT[0] Relative humidity (-), at most 1
//#Outputs HUMR2A
//#OUT[0] Humidity ratio (g/kg dry air)
//#Outputs HUMH2T
//#OUT[0] Temperature ($^\circ$C)
//#Outputs HUMH
//#OUT[0] Enthalpy (kJ/kg dry air), 0 at 0 $^\circ$C for dry air
//#Outputs HUMH2X
//#OUT[0] Humidity ratio (g/kg dry air), at least 0
//#Parameters
//#None
//#Strings
//#None
//#Remarks
// After ASHRAE Handbook - Fundamentals, chapter 1; saturation over ice below 0.01 $^\circ$C.
// A conversion outside -100 to 200 $^\circ$C, or with a vapour pressure at the total pressure,
// is warned about at its first step; the end of the run reports how many there were. HUMH
// never warns.
//#end
#include "blocks.h"

#include "vireo_tools.h"

#include <algorithm>

namespace vireo::st {
namespace {

// IP[10]: conversions outside the range of the humid-air functions.
struct State {
    int& outside;
    explicit State(hum_block::View& b) : outside(b.ip<10>()) {}
};

}  // namespace

void hum_block::init(View& b) { b.checkOpMode(); }

void hum_block::step(View& b) {
    const float x1 = b.in(0), x2 = b.in(1);
    int status = 0;
    float result = 0.0f;
    switch (b.opMode()) {
        case 2: result = humr2a(&x1, &x2, &status); break;
        case 3: result = humh2t(&x1, &x2, &status); break;
        case 4: b.out(0) = humh(&x1, &x2); return;
        case 5: result = std::max(humh2x(&x1, &x2, &status), 0.0f); break;
        default: result = std::min(huma2r(&x1, &x2, &status), 1.0f); break;
    }
    b.out(0) = result;
    if (status != 0) b.countWarning(State(b).outside, code::humidAirOutside, {.reals = {x1, x2}, .ints = {status}});
}

void hum_block::last(View& b) { b.reportCount(State(b).outside, code::countedConversions); }

}  // namespace vireo::st
