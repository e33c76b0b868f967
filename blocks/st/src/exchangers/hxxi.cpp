//#Block HXXI
//#Description
// Cross-flow plate heat exchanger between the supply and the exhaust air of a
// ventilation unit, with plain or ribbed channels. Heat passes from the warmer stream to
// the cooler one, and the warmer one's water vapour condenses where the plate lies below
// its dew point: the exhaust air's in winter, the outdoor air's in summer. The condensate
// freezes where the plate would otherwise fall to 0 $^\circ$C or below. One plate side
// is cut into a grid of cells, each solving its heat and mass balance in closed form from
// the states that enter it.
//#Layout
//#Inputs 6
//#Outputs 7
//#Parameters 17
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Supply-air inlet temperature, $-100$ to 100 ($^\circ$C)
//#IN[1] Supply-air inlet relative humidity, taken within 0 and 1 (-)
//#IN[2] Exhaust-air inlet temperature, $-100$ to 100 ($^\circ$C)
//#IN[3] Exhaust-air inlet relative humidity, taken within 0 and 1 (-)
//#IN[4] Supply-air volume flow at the inlet state; 0 or below is none (m$^3$/s)
//#IN[5] Exhaust-air volume flow at the inlet state; 0 or below is none (m$^3$/s)
//#Outputs
//#OUT[0] Mean supply-air outlet temperature ($^\circ$C)
//#OUT[1] Supply-air outlet relative humidity (-)
//#OUT[2] Mean exhaust-air outlet temperature ($^\circ$C)
//#OUT[3] Exhaust-air outlet relative humidity (-)
//#OUT[4] Drop of the exhaust air's humidity ratio; 0 where the supply air is the
// warmer (kg/kg)
//#OUT[5] Condensate flow of the exchanger (kg/h)
//#OUT[6] Frozen part of the condensate flow (kg/h)
//#Parameters
//#BP[0] Supply-air channels, at least 1 and below 1e+09: its whole part counts (-)
//#BP[1] Height of a supply-air channel, above 0 (m)
//#BP[2] Width of a supply-air channel, above 0 (m)
//#BP[3] Length of a supply-air channel, above 0 (m)
//#BP[4] Exhaust-air channels, at least 1 and below 1e+09: its whole part counts (-)
//#BP[5] Height of an exhaust-air channel, above 0 (m)
//#BP[6] Width of an exhaust-air channel, above 0 (m)
//#BP[7] Length of an exhaust-air channel, above 0 (m)
//#BP[8] Plate thickness, above 0 (m)
//#BP[9] Kind of channels: whole part 1 plain, any other ribbed (-)
//#BP[10] Rib thickness, above 0 when ribbed (m)
//#BP[11] Ribs across a supply-air channel, whole part at least 1 when ribbed (-)
//#BP[12] Ribs across an exhaust-air channel, whole part at least 1 when ribbed (-)
//#BP[13] Conductivity of plate and ribs, above 0 (W/(m K))
//#BP[14] Cells across the supply-air flow, at least 1 and below 200: its whole part,
// 1 to 199 (-)
//#BP[15] Cells across the exhaust-air flow, at least 1 and below 200: its whole part,
// 1 to 199 (-)
//#BP[16] Air pressure, above 0 (Pa)
//#Strings
//#None
//#Remarks
// The channels follow the mean Nusselt number of a flat channel with developing flow
// below Reynolds number 2600 and Hausen's correlation above; ribs act as fins of
// efficiency $\tanh(mh/2)/(mh/2)$. The cells balance the dry air of both streams, with
// the specific heat of dry air and 1875 J/(kg K) for the vapour it carries. Water
// condenses at the rate of the Lewis analogy, never more than the warmer air holds above
// saturation at the plate, nor so much that its heat would warm the plate past that
// air's dew point or the cooler air past it further than the plate's sensible heat alone
// does; it gives up the vapour's enthalpy less that of water at the plate.
// Where the plate would lie at or below 0 $^\circ$C the largest share of the
// condensate, in steps of 100/335000, freezes that keeps it there. Air leaving a cell,
// or the exchanger mixed, with more water than saturates it sheds the rest as
// condensate, its heat warming the air. A cell whose transfer units on either side
// exceed 2 is computed as the fewest sub-cells of the same form that bring them to 2,
// and no more than the grid of 199 by 199 cells holds; beyond that its transfer is held
// at 2 units.
//
// A flow of 0 or below on either side gives the exhaust-air inlet state on outputs 1
// and 2, the supply-air inlet state on outputs 3 and 4, and 0 on the others. Each plate
// parts a supply-air channel from an exhaust-air one: both streams spread over as many
// plate faces as their two channel counts together (both sides of every channel where
// the counts are equal), and the condensate flows count them all. A change of the cell
// counts during the run changes the grid. A step with an input that is not a finite
// number, or an inlet state outside the ranges above, changes no output and is warned
// about.
//#end
#include "blocks.h"
#include "cross_flow_exchanger.h"
#include "finite.h"

#include <cfloat>
#include <cmath>
#include <utility>

namespace vireo::st {
namespace {

using P = hxxi_block::P;

// The whole part of a count, as the exchanger has always read its counts.
template <int I>
double count(const hxxi_block::View& b) {
    return std::trunc(b.par<I>());
}

// With ribs, each side's count must be at least 1 and leave room in its channel: these
// tie the ribs to the kind and the width of the channels, beyond what the table can say.
bool checkRibs(hxxi_block::View& b) {
    bool passed = b.check(
        Rule{.parameter = P::ribThickness, .low = 0, .high = FLT_MAX, .code = code::badSize, .aboveLow = true},
        b.par<P::ribThickness>());
    const float thickness = b.par<P::ribThickness>();
    for (const auto& [ribs, width] : {std::pair{P::supplyRibs, b.par<P::supplyWidth>()},
                                     std::pair{P::exhaustRibs, b.par<P::exhaustWidth>()}}) {
        const Rule counted{.parameter = ribs, .low = P::kChannels.low, .high = P::kChannels.high,
                           .code = code::badGridCount, .belowHigh = true};
        if (!b.check(counted, b.par(ribs))) {
            passed = false;
            continue;
        }
        const float filled = std::trunc(b.par(ribs)) * thickness;
        if (filled < width || !(width > 0 && thickness > 0)) continue;
        b.report(code::ribsFillChannel, {.reals = {filled, width}, .ints = {ribs + 1}});
        passed = false;
    }
    return passed;
}

}  // namespace

bool hxxi_block::tiesHold(View& b) {
    const bool ribbed = std::isfinite(b.par<P::kind>()) && std::trunc(b.par<P::kind>()) != 1.0f;
    return !ribbed || checkRibs(b);
}

void hxxi_block::init(View& b) {
    b.ip<10>() = b.ip<11>() = 0;
    if (refused(b)) return;
    takeChange(b);
}

// The grid's last row and column, from the cell counts as they stand. A cell count changed
// during the run changes the grid, as it does the cell area and flows and the outlets'
// means: a grid kept from initialisation would average its rows over the new count (the
// exhaust leaving at 54 degC between inlets of 0 and 22).
void hxxi_block::takeChange(View& b) {
    b.ip<10>() = block::toInt(b.par<P::u>()) + 1;
    b.ip<11>() = block::toInt(b.par<P::v>()) + 1;
}

void hxxi_block::step(View& b) {
    if (!inputsFinite(b)) return;
    const cross_flow::Exchanger e{
        .supply = {count<P::supplyChannels>(b), b.par<P::supplyHeight>(), b.par<P::supplyWidth>(),
                   b.par<P::supplyLength>(), count<P::supplyRibs>(b)},
        .exhaust = {count<P::exhaustChannels>(b), b.par<P::exhaustHeight>(), b.par<P::exhaustWidth>(),
                    b.par<P::exhaustLength>(), count<P::exhaustRibs>(b)},
        .plate = b.par<P::plate>(),
        .ribbed = count<P::kind>(b) != 1.0,
        .ribThickness = b.par<P::ribThickness>(),
        .conductivity = b.par<P::conductivity>(),
        .pressure = b.par<P::pressure>(),
        .u = count<P::u>(b),
        .v = count<P::v>(b),
    };
    const auto out = cross_flow::exchange(e, {b.in(0), b.in(1), b.in(4)}, {b.in(2), b.in(3), b.in(5)});
    if (!out) {
        b.report(code::noFiniteResult, {.reals = {b.in(0), b.in(2)}});
        return;
    }
    const double values[] = {out->supplyTemperature, out->supplyHumidity, out->exhaustTemperature,
                             out->exhaustHumidity,   out->drop,           out->condensate,
                             out->ice};
    for (int o = 0; o < 7; ++o) b.out(o) = toOutput(values[o]);
}

}  // namespace vireo::st
