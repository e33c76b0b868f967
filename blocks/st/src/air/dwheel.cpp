//#Block DWHEEL
//#Description
// Sorption (desiccant) wheel between a process and a regeneration air stream of equal
// dry-air mass flows: the process air is dried along its line of constant enthalpy
// towards the relative humidity of the regeneration inlet, and the regeneration air takes
// up the water removed along its own line.
//#Layout
//#Inputs 5
//#Outputs 5
//#Parameters 2
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Process-air inlet temperature ($^\circ$C)
//#IN[1] Process-air inlet relative humidity (-), 1 at saturation
//#IN[2] Regeneration-air inlet temperature ($^\circ$C)
//#IN[3] Regeneration-air inlet relative humidity (-), 1 at saturation
//#IN[4] Operating signal (-): exactly 0 the wheel stands, any other value it turns
//#Outputs
//#OUT[0] Process-air outlet temperature ($^\circ$C)
//#OUT[1] Process-air outlet relative humidity (-)
//#OUT[2] Regeneration-air outlet temperature ($^\circ$C)
//#OUT[3] Regeneration-air outlet relative humidity (-)
//#OUT[4] Power: parameter 2 while the wheel turns, 0 while it stands (unit of parameter 2)
//#Parameters
//#BP[0] Effectiveness, the share of the ideal drying reached (-)
//#BP[1] Power while the wheel turns, such as that of its drive (any unit)
//#Strings
//#None
//#Remarks
// Ideal drying brings the process air to the relative humidity of the regeneration inlet;
// the wheel reaches parameter 1 times that change of the humidity ratio, which the
// regeneration air takes up (a regeneration inlet more humid than the process inlet turns
// the exchange round); it moves no more water than the giving stream holds nor more than
// the taking stream holds as vapour at saturation on its line, so neither outlet is drier
// than dry air or wetter than saturated air. Relative humidities are taken within 0 and
// 1. The ideal state is found by secant steps on the humidity ratio with a bisection
// fallback, to 1e-4 times the process inlet's relative humidity (the regeneration inlet's
// when the process air is dry). While the wheel stands both streams pass unchanged. They
// also pass unchanged, with a warning, when no ideal state is found (only for states
// outside the range of the humid-air functions). A step with an input that is not a
// finite number changes no output and is warned about.
//#end
#include "blocks.h"

#include "enthalpy_line.h"
#include "finite.h"

#include <algorithm>
#include <limits>

namespace vireo::st {

void dwheel_block::step(View& b) {
    if (!inputsFinite(b)) return;
    const auto passUnchanged = [&] {
        for (int i = 0; i < 4; ++i) b.out(i) = b.in(i);
    };
    if (b.in(4) == 0.0f) {
        passUnchanged();
        b.out(4) = 0.0f;
        return;
    }
    b.out(4) = b.par<P::power>();

    const float processPhi = std::clamp(b.in(1), 0.0f, 1.0f);
    const float regenerationPhi = std::clamp(b.in(3), 0.0f, 1.0f);
    const line::Inlet process = line::inlet(b.in(0), processPhi);
    const line::Inlet regeneration = line::inlet(b.in(2), regenerationPhi);
    // Relative to the process inlet; dry process air (where that would be 0 and no state
    // could meet it) takes the regeneration inlet's.
    const float tolerance = 1.0e-4f * (processPhi > 0.0f ? processPhi : regenerationPhi);
    const auto ideal = line::find(process, {.phi = regenerationPhi,
                                            .tolerance = tolerance,
                                            .firstTrial = 0.5f * process.state.x});
    if (!ideal) {
        b.report(code::noLineEnd, {.reals = {b.in(0), b.in(1)}});
        return passUnchanged();
    }
    // The wheel hands over no more water than the stream that gives it holds (turned round,
    // the regeneration air would otherwise be left with a negative humidity), nor more than
    // the stream that takes it can hold as vapour on its line: cold regeneration air
    // would otherwise leave far beyond saturation.
    double removed = std::clamp(double(b.par<P::effectiveness>()) * (double(process.state.x) - ideal->x),
                                -double(regeneration.state.x), double(process.state.x));
    const auto room = [](const line::Inlet& taker) -> double {
        const auto full = line::saturated(taker);
        return full ? std::max(double(full->x) - taker.state.x, 0.0) : std::numeric_limits<double>::infinity();
    };
    if (removed > 0.0 && line::at(toOutput(regeneration.state.x + removed), regeneration.h).phi > 1.0f)
        removed = std::min(removed, room(regeneration));
    if (removed < 0.0 && line::at(toOutput(process.state.x - removed), process.h).phi > 1.0f)
        removed = std::max(removed, -room(process));
    const line::AirState processOut = line::at(toOutput(process.state.x - removed), process.h);
    const line::AirState regenerationOut = line::at(toOutput(regeneration.state.x + removed), regeneration.h);
    b.out(0) = processOut.t;
    b.out(1) = processOut.phi;
    b.out(2) = regenerationOut.t;
    b.out(3) = regenerationOut.phi;
}

}  // namespace vireo::st
