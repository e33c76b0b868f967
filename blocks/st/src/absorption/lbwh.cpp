//#Block LBWH, LBWT, LBWP, LBWX
//#Description
// Aqueous lithium bromide: the specific enthalpy of the solution (LBWH), its equilibrium
// temperature at a water vapour pressure (LBWT), the water vapour pressure over it
// (LBWP), or its concentration at a vapour pressure and temperature (LBWX).
//#Layout
//#Inputs 2
//#Outputs 1
//#Parameters 2
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs LBWH
//#IN[0] Mass fraction of lithium bromide (kg/kg)
//#IN[1] Temperature ($^\circ$C)
//#Inputs LBWT
//#IN[0] Mass fraction of lithium bromide (kg/kg)
//#IN[1] Water vapour pressure (Pa)
//#Inputs LBWP
//#IN[0] Mass fraction of lithium bromide (kg/kg)
//#IN[1] Temperature ($^\circ$C)
//#Inputs LBWX
//#IN[0] Water vapour pressure (Pa)
//#IN[1] Temperature ($^\circ$C)
//#Outputs LBWH
//#OUT[0] Specific enthalpy of the solution (kJ/kg)
//#Outputs LBWT
//#OUT[0] Equilibrium temperature of the solution ($^\circ$C)
//#Outputs LBWP
//#OUT[0] Water vapour pressure over the solution (Pa)
//#Outputs LBWX
//#OUT[0] Mass fraction of lithium bromide (kg/kg)
//#Parameters LBWH
//#BP[0] Model, 0 to 2 (-): 0 McNeely, 1 and 2 two simpler fits
//#BP[1] Substitute, used when it is not 0 (as the output): put out when an input or the
// result leaves the range
//#Parameters LBWT
//#BP[0] Model (-): 0 McNeely; 1 and 2 have no such form and give 0
//#BP[1] Substitute, used when it is not 0 (as the output): put out when an input or the
// result leaves the range
//#Parameters LBWP
//#BP[0] Not used (-): always McNeely
//#BP[1] Substitute, used when it is not 0 (as the output): put out when an input leaves
// the range or no root is found
//#Parameters LBWX
//#BP[0] Not used (-): always McNeely
//#BP[1] Substitute, used when it is not 0 (as the output): put out when an input or the
// result leaves the range or no root is found
//#Strings
//#None
//#Remarks
// Ranges: McNeely 0 to 0.76 kg/kg and 0 to 190 $^\circ$C (LBWT holds its result to that range);
// the second enthalpy fit 0.4 to 0.65 kg/kg and 20 to 210 $^\circ$C; the third has none. A
// substitute whose magnitude is 1e-5 or less counts as not set. An input or a result that
// is not a finite number gives the substitute, or else keeps the last output and is
// warned about. LBWP and LBWX find their value by a root search; when it
// finds none the output is the substitute or keeps its last value, the first failure is
// warned about and the end of the run reports how many there were.
//#end
#include "blocks.h"

#include "Numbers.h"
#include "lithium_bromide.h"
#include "solution.h"

#include <cmath>

namespace vireo::st {
namespace {

enum Form { kEnthalpy = 1, kTemperature, kPressure, kConcentration };

// IP[10]: the model number (LBWH, LBWT), or the failed root searches (LBWP, LBWX).
struct State {
    int& slot;
    explicit State(lbw_block::View& b) : slot(b.ip<10>()) {}
};

Form formOf(const BlockView& b) {
    const int k = b.opMode();
    return k >= kTemperature && k <= kConcentration ? static_cast<Form>(k) : kEnthalpy;
}

bool searches(Form f) { return f == kPressure || f == kConcentration; }

// Written so that a value that is not a number lies outside.
bool within(float v, float low, float high) { return v >= low && v <= high; }

// What a step computed: the value, whether it leaves the form's range, and the status of
// a root search (0 where there is none).
struct Result {
    float value;
    bool outside;
    int status = 0;
};

Result compute(Form form, float in0, float in1, int model) {
    switch (form) {
        case kTemperature: {
            const float t = lbwt(&in0, &in1, &model);
            return {t, !within(in0, 0.0f, 0.76f) || !within(t, 0.0f, 190.0f)};
        }
        case kPressure: {
            const auto p = solution::vapourPressure(in0, in1);
            return {p.value, !within(in0, 0.0f, 0.76f) || !within(in1, 0.0f, 190.0f), p.status};
        }
        case kConcentration: {
            const auto x = solution::concentration(in0, in1);
            return {x.value, !within(x.value, 0.0f, 0.76f) || !within(in1, 0.0f, 190.0f), x.status};
        }
        case kEnthalpy:
            break;
    }
    const float h = lbwh(&in0, &in1, &model);
    if (model == 1) return {h, !within(in0, 0.0f, 0.76f) || !within(in1, 0.0f, 190.0f)};
    if (model == 2) return {h, !within(in0, 0.4f, 0.65f) || !within(in1, 20.0f, 210.0f)};
    return {h, false};
}

}  // namespace

void lbw_block::init(View& b) {
    b.checkOpMode();
    State(b).slot = 0;
    takeChange(b);
}

// The slot of a search form counts its failures, and is left as it stands.
void lbw_block::takeChange(View& b) {
    if (!searches(formOf(b))) State(b).slot = b.whole<P::model>(1);
}

void lbw_block::step(View& b) {
    State s(b);
    const Form form = formOf(b);
    const float in0 = b.in(0), in1 = b.in(1);
    const Result r = compute(form, in0, in1, s.slot);
    const float substitute = b.par<P::substitute>();
    const bool substituting = std::fabs(substitute) > 1e-5f;

    // A failed search's status is no property, and inputs that are no numbers give none:
    // neither goes out.
    if (r.status != 0) b.countWarning(s.slot, code::noRoot, {.reals = {in0, in1}, .ints = {r.status}});
    const bool usable = r.status == 0 && std::isfinite(r.value) && std::isfinite(in0) && std::isfinite(in1);
    if (substituting && (r.outside || !usable)) {
        b.out(0) = substitute;
    } else if (usable) {
        b.out(0) = r.value;
    } else if (r.status == 0) {
        b.report(code::solutionPropertyNotFinite, {.reals = {in0, in1}});
    }
}

void lbw_block::last(View& b) {
    if (searches(formOf(b))) b.reportCount(State(b).slot, code::countedRootFailures);
}

}  // namespace vireo::st
