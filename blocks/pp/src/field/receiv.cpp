//#Block RECEIV
//#Description
// Heat balance of a receiver tube with the thermal mass of its wall: the outlet
// temperature of the fluid and the temperature of the mass.
//#Layout
//#Inputs 5
//#Outputs 3
//#Parameters 9
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Irradiance on the receiver (W/m2)
//#IN[1] Inlet temperature (degC)
//#IN[2] Mass flow (kg/s)
//#IN[3] Ambient temperature (degC)
//#IN[4] Model time (s)
//#Outputs
//#OUT[0] Outlet temperature (degC)
//#OUT[1] Mass flow, input 3 (kg/s)
//#OUT[2] Temperature of the thermal mass (degC)
//#Parameters
//#BP[0] Receiver area, above 0 (m2)
//#BP[1] Specific heat of the fluid, above 0 (J/(kg K))
//#BP[2] Linear heat-loss coefficient (W/(m2 K))
//#BP[3] Emittance (-)
//#BP[4] First efficiency factor (-)
//#BP[5] Second efficiency factor (-)
//#BP[6] Number of iterations per step, 0 to 1000 (-)
//#BP[7] Heat capacity of the thermal mass, above 0 (J/K)
//#BP[8] Heat-transfer coefficient between fluid and mass, at least 0 (W/(m2 K))
//#Strings
//#None
//#Remarks
// The radiation loss is the Stefan-Boltzmann law on the mean fluid and the ambient
// temperature in kelvin. The mass temperature moves once per iteration. A
// call at the time of the call before repeats the step from the state at its start, so
// the block may sit in a loop; a time that runs backwards integrates nothing. A mass
// that one step would move past the temperature it is pulled towards stops there, and
// one warmed by a gain the fluid cannot take stops where it would start to heat the
// fluid. An iteration that would leave the float range (a flow far too small for the
// iteration to settle) ends the iterations of the step.
//#end
#include "blocks.h"

#include "Numbers.h"

#include <algorithm>
#include <cmath>

namespace vireo::pp {
namespace {

struct State {
    int& started;           // IP[10] 1 once the first step has run
    float& lastTime;        // RP[0] time of the last call
    float& stepStart;       // RP[1] start time of the current time step
    float& mass;            // RP[2] mass temperature after the last call
    float& massAtStepStart; // RP[3] mass temperature at the start of the current time step
    explicit State(receiv_block::View& b)
        : started(b.ip<10>()), lastTime(b.rp<0>()), stepStart(b.rp<1>()), mass(b.rp<2>()),
          massAtStepStart(b.rp<3>()) {}
};

constexpr float kSigma = 5.67e-08f;
constexpr float kZeroCelsius = 273.15f;

float fourth(float x) {
    const float square = x * x;
    return square * square;
}

}  // namespace

void receiv_block::init(View& b) {
    if (refused(b)) return;  // a refused block starts nothing
    State s(b);
    s.lastTime = s.stepStart = 0.0f;
    s.mass = s.massAtStepStart = 20.0f;
}

void receiv_block::step(View& b) {
    State s(b);
    const float irradiance = b.in(0), inlet = b.in(1), flow = b.in(2), ambient = b.in(3), time = b.in(4);
    const float area = b.par<P::area>(), cp = b.par<P::cp>(), lossCoefficient = b.par<P::lossCoefficient>();
    const float emittance = b.par<P::emittance>(), capacity = b.par<P::capacity>(), coupling = b.par<P::coupling>();

    if (s.started == 0) {
        s.lastTime = s.stepStart = time;
        s.mass = s.massAtStepStart = ambient;
        s.started = 1;
    }
    float mass;
    float ts;
    if (time <= s.lastTime) {
        mass = s.massAtStepStart;
        ts = time - s.stepStart;
    } else {
        mass = s.mass;
        s.massAtStepStart = s.mass;
        ts = time - s.lastTime;
        s.stepStart = s.lastTime;
    }
    s.lastTime = time;
    ts = forwardOnly(ts);

    // The mass relaxes towards a temperature; a step too long for that stops it there.
    const float pull = area * coupling * ts / capacity;
    const bool explicitStep = withinOneStep({{pull, 0.0f}});
    auto relaxed = [&](float toward) {
        return explicitStep ? mass + (toward - mass) * area * coupling * ts / capacity : toward;
    };
    // Without useful heat the mass takes the whole gain; in a step that long it warms at
    // most to where it would start to heat the fluid.
    auto absorbing = [&](float gain, float mean) {
        const float warmed = mass + ts * gain / capacity;
        if (explicitStep || !(gain > 0.0f)) return warmed;
        return std::min(warmed, mean - gain / (area * coupling));
    };

    float outlet;
    if (flow <= 0.0f) {
        mass = relaxed(ambient);
        outlet = mass;
    } else {
        outlet = inlet;
        const int passes = block::toInt(b.par<P::iterations>());
        for (int i = 0; i < passes; ++i) {
            const float mean = (outlet + inlet) / 2.0f;
            const float gain = b.par<P::efficiency2>() * area * irradiance * b.par<P::efficiency1>() -
                               (mean - ambient) * lossCoefficient * area -
                               area * emittance * kSigma * (fourth(mean + kZeroCelsius) - fourth(ambient + kZeroCelsius));
            float useful = gain - (mean - mass) * area * coupling;
            if (!(useful > 0.0f)) useful = 0.0f;
            const float nextOutlet = useful / (cp * flow) + inlet;
            const float nextMass = useful == 0.0f ? absorbing(gain, mean) : relaxed(mean);
            // A flow too small for the fixed point lets the iteration swing ever wider;
            // once it leaves the float range it ends with the values it had.
            if (!std::isfinite(nextOutlet) || !std::isfinite(nextMass)) break;
            outlet = nextOutlet;
            mass = nextMass;
        }
    }
    b.out(0) = outlet;
    b.out(1) = flow;
    b.out(2) = mass;
    s.mass = mass;
}

}  // namespace vireo::pp
