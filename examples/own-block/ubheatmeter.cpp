//#Block HEATMETER
//#Description
// Heat carried by a stream of water, and the heat counted since the start of the run.
//#Layout
//#Inputs 3
//#Outputs 2
//#Parameters 2
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Mass flow (kg/s)
//#IN[1] Supply temperature ($^\circ$C)
//#IN[2] Return temperature ($^\circ$C)
//#Outputs
//#OUT[0] Heat flow: mass flow times specific heat times the supply less the return
// temperature (W)
//#OUT[1] Heat counted since the start of the run (kWh)
//#Parameters
//#BP[0] Specific heat capacity of the water, above 0 (J/(kg K))
//#BP[1] Time step, above 0 (s)
//#Strings
//#None
//#Remarks
// Each step counts the heat flow of that step over one time step.
//#end
#include "BlockFrame.h"
#include "water.h"

namespace {

using vireo::block::above;
using vireo::block::BlockIdentity;
using vireo::block::Group;
using vireo::block::Param;

// Function, names; nameCount, minInputs, maxInputs, outputCount, ipSize (the ten protocol
// slots and the block's own), rpSize, dpSize, minParameters, maxParameters, minStrings,
// maxStrings, group. DP[0] holds the heat counted so far, in J.
constexpr BlockIdentity kHeatMeter{"ubheatmeter", "HEATMETER", 1, 3, 3, 2, 10, 0, 1, 2, 2, 0, 0, Group::standard};
static_assert(wellFormed(kHeatMeter));

constexpr auto kRefused = vireo::block::frameCode::badParameter;

struct HeatMeter {
    // The parameters, once: names and units as the page above gives them, and the bound
    // each must keep. The frame checks them before init and again after the editor changes
    // one during a run, and never steps the block on a refused value.
    struct P {
        enum : int { heatCapacity, timeStep };
        static constexpr Param table[] = {
            {"Specific heat capacity of the water", "J/(kg K)", above(0), kRefused},
            {"Time step", "s", above(0), kRefused},
        };
    };
    using View = vireo::block::View<kHeatMeter, P>;

    static void init(View& b) { b.dp<0>() = 0.0; }

    static void step(View& b) {
        double& joules = b.dp<0>();
        const double heatFlow = heatmeter::heatFlow(b.in(0), b.par<P::heatCapacity>(), b.in(1), b.in(2));
        joules += heatFlow * b.par<P::timeStep>();
        b.out(0) = static_cast<float>(heatFlow);
        b.out(1) = static_cast<float>(joules / 3.6e6);
    }
};

}  // namespace

VIREO_BLOCK(ubheatmeter, kHeatMeter, HeatMeter)
