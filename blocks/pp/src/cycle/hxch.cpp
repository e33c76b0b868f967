//#Block HXCH
//#Description
// Heat exchanger between two streams, each water and steam or a thermal oil with a
// linear specific heat; water on either side may evaporate or condense.
//#Layout
//#Inputs 6
//#Outputs 6
//#Parameters 14
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Side-1 inlet temperature ($^\circ$C)
//#IN[1] Side-1 mass flow (kg/s)
//#IN[2] Side-1 pressure (Pa)
//#IN[3] Side-2 inlet temperature ($^\circ$C)
//#IN[4] Side-2 mass flow (kg/s)
//#IN[5] Side-2 pressure (Pa)
//#Outputs
//#OUT[0] Side-1 outlet temperature ($^\circ$C)
//#OUT[1] Side-1 pressure, input 3 (Pa)
//#OUT[2] Side-1 outlet enthalpy as water or steam (J/kg)
//#OUT[3] Side-2 outlet temperature ($^\circ$C)
//#OUT[4] Side-2 pressure, input 6 (Pa)
//#OUT[5] Side-2 outlet enthalpy as water or steam (J/kg)
//#Parameters
//#BP[0] Model, 0 to 1 (-): 0 cells in counterflow, 1 segments in parallel flow
//#BP[1] Heat-transfer coefficient, at least 0 (W/(m$^2$ K))
//#BP[2] Heat-transfer area, above 0 (m$^2$)
//#BP[3] Side-1 medium: 0 water and steam, otherwise oil (-)
//#BP[4] Side-1 oil: temperature of the first point ($^\circ$C)
//#BP[5] Side-1 oil: specific heat there, above 0 for oil (J/(kg K))
//#BP[6] Side-1 oil: temperature of the second point ($^\circ$C)
//#BP[7] Side-1 oil: specific heat there, above 0 for oil (J/(kg K))
//#BP[8] Side-2 medium: 0 water and steam, otherwise oil (-)
//#BP[9] Side-2 oil: temperature of the first point ($^\circ$C)
//#BP[10] Side-2 oil: specific heat there, above 0 for oil (J/(kg K))
//#BP[11] Side-2 oil: temperature of the second point ($^\circ$C)
//#BP[12] Side-2 oil: specific heat there, above 0 for oil (J/(kg K))
//#BP[13] Most passes of the cell model, which stops once its cells settle, 0 to 1000; or
// segments of the segment model, above 0 and up to 1000 (-)
//#Strings
//#None
//#Remarks
// The cell model puts 20 cells on each side, side 1 flowing from cell 1 to 20 and side
// 2 back. A pass carries side 1 through the cells, each exchanging with side 2 as the
// cell after it passed it on, then side 2 back through them with side 1 as it now
// stands; the outlets are those of the end cells after the last pass. It passes until
// every cell holds what it held two passes before (within 1e-5 K, water within 0.5
// J/kg), at most p14 times; where the cells then swing between two states from pass to
// pass, the outlets are the mean of the last two passes', which keeps the balance the
// passes miss by turns to within a few parts in ten thousand. A step that ends before
// is a warning, reported once and counted, the count given at the end of the run. Both
// models carry each side as its enthalpy, an oil's the integral of its line from 0
// $^\circ$C, so that one side takes what the other gives, and a temperature follows from its
// enthalpy: water on either side evaporates and condenses at the saturation temperature
// of its pressure, and where it ends a phase within a cell or segment the rest of that
// area exchanges with the next phase's heat capacity (without bound while the phase
// changes). Neither side passes the temperature the other comes into a cell or segment
// with, and the two leave a segment at most at one temperature. The segment model
// chains parallel-flow segments of area p3 / p14, as many as int(p3) holds whole
// multiples of int(p3 / p14): p3 = 10 and p14 = 4 run 5 segments of 2.5. Where p3 / p14
// is below 1 it runs int(p14) segments. p1 is taken as its nearest whole number;
// another model than 0 or 1 is refused. Without flow on either side the inlet
// temperatures pass to the opposite outlets. Both enthalpies are those of water or
// steam at the outlet state whatever the medium; a water side's is its own, wet or not.
// A water state outside the 1967 industrial formulation (such as a pressure above the
// critical one) ends the whole run with a report on standard output.
//#end
#include "blocks.h"

#include "heat_exchanger.h"
#include "steam_values.h"

namespace vireo::pp {
namespace {

constexpr float kMostPasses = kMostIterations;
constexpr int kCellModel = 0, kSegmentModel = 1;

using View = hxch_block::View;
using P = hxch_block::P;

// A side's medium parameter and its oil line in the four after it.
template <int Medium>
exchanger::Side side(const View& b, int pressure, int flow) {
    return {b.par<Medium>() == 0.0f, b.par<Medium + 1>(), b.par<Medium + 2>(), b.par<Medium + 3>(),
            b.par<Medium + 4>(), b.in(pressure), b.in(flow)};
}

void writeOutlets(BlockView& b, double t1, double h1, double t2, double h2) {
    b.out(0) = static_cast<float>(t1);
    b.out(1) = b.in(2);
    b.out(2) = static_cast<float>(h1);
    b.out(3) = static_cast<float>(t2);
    b.out(4) = b.in(5);
    b.out(5) = static_cast<float>(h2);
}

}  // namespace

// The bounds that depend on another parameter (the model, a side's medium).
bool hxch_block::tiesHold(View& b) {
    const Rule passes = b.whole<P::model>() == kSegmentModel
                            ? Rule{.parameter = P::passes, .low = 0.0f, .high = kMostPasses,
                                   .code = code::badSegments, .aboveLow = true}
                            : Rule{.parameter = P::passes, .low = 0.0f, .high = kMostPasses,
                                   .code = code::badIterations};
    bool held = b.check(passes, b.par<P::passes>());
    // An oil line that reaches 0 at a point divides by its capacity rate there.
    const auto positive = [](int parameter) {
        return Rule{.parameter = parameter, .low = 0.0f, .high = kLargest, .code = code::badHeatCapacity,
                    .aboveLow = true};
    };
    if (b.par<P::medium1>() != 0.0f) {
        const Rule line[] = {positive(P::cp1a), positive(P::cp1b)};
        held = b.check(line) && held;
    }
    if (b.par<P::medium2>() != 0.0f) {
        const Rule line[] = {positive(P::cp2a), positive(P::cp2b)};
        held = b.check(line) && held;
    }
    return held;
}

void hxch_block::step(View& b) {
    const double in1 = b.in(0), in2 = b.in(3);
    if (b.in(4) <= 0.0f || b.in(1) <= 0.0f) {
        writeOutlets(b, in2, steam::steamEnthalpy(b.in(3), static_cast<double>(b.in(2))), in1,
                     steam::steamEnthalpy(b.in(0), static_cast<double>(b.in(5))));
        return;
    }
    const exchanger::Side s1 = side<P::medium1>(b, 2, 1);
    const exchanger::Side s2 = side<P::medium2>(b, 5, 4);
    const exchanger::Exchanger x{b.par<P::transferCoefficient>(), b.par<P::area>(), b.par<P::passes>()};
    if (b.whole<P::model>() == kCellModel) {
        const exchanger::Outlets o = exchanger::cellModel(x, s1, s2, in1, in2);
        writeOutlets(b, o.t1, o.h1, o.t2, o.h2);
        if (!o.settled) b.countWarning(b.ip<10>(), code::cellsNotSettled, {.reals = {b.par<P::passes>()}});
    } else {
        const exchanger::Outlets o = exchanger::segmentModel(x, s1, s2, in1, in2);
        writeOutlets(b, o.t1, o.h1, o.t2, o.h2);
    }
}

void hxch_block::last(View& b) { b.reportCount(b.ip<10>(), code::countedCellsNotSettled); }

}  // namespace vireo::pp
