//#Block TRETURN
//#Description
// Return temperature of a stream of water that gives off a heat flow.
//#Layout
//#Inputs 3
//#Outputs 1
//#Parameters 1
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Mass flow (kg/s)
//#IN[1] Supply temperature ($^\circ$C)
//#IN[2] Heat flow given off (W)
//#Outputs
//#OUT[0] Return temperature: the supply temperature less the heat flow over mass flow
// times specific heat; the supply temperature while nothing flows ($^\circ$C)
//#Parameters
//#BP[0] Specific heat capacity of the water, above 0 (J/(kg K))
//#Strings
//#None
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
// maxStrings, group.
constexpr BlockIdentity kReturn{"ubtreturn", "TRETURN", 1, 3, 3, 1, 10, 0, 0, 1, 1, 0, 0, Group::standard};
static_assert(wellFormed(kReturn));

struct ReturnTemperature {
    struct P {
        enum : int { heatCapacity };
        static constexpr Param table[] = {
            {"Specific heat capacity of the water", "J/(kg K)", above(0), vireo::block::frameCode::badParameter},
        };
    };
    using View = vireo::block::View<kReturn, P>;

    // Nothing to set up: the frame checks the table before the first step.
    static void step(View& b) {
        b.out(0) = static_cast<float>(
            heatmeter::temperatureAfter(b.in(0), b.par<P::heatCapacity>(), b.in(1), b.in(2)));
    }
};

}  // namespace

VIREO_BLOCK(ubtreturn, kReturn, ReturnTemperature)
