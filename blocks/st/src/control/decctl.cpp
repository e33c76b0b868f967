//#Block DECCTL
//#Description
// Loop controller of a desiccant-cooling plant with stepped stages: within one time step
// it switches the plant through air flow, two switches, three levels and a heater, one
// pass of the loop per call, until the supply-air temperature the plant returns reaches
// the supply temperature the cooling load requires.
//#Layout
//#Inputs 5
//#Outputs 8
//#Parameters 10
//#Strings 0
//#Group 4 (loop controller)
//#Details
//#Inputs
//#IN[0] Outdoor-air temperature ($^\circ$C)
//#IN[1] Room temperature ($^\circ$C)
//#IN[2] Cooling load; 0 or below leaves the loop (kW)
//#IN[3] Supply-air temperature the plant reached in the last pass ($^\circ$C)
//#IN[4] Heater inlet temperature ($^\circ$C)
//#Outputs
//#OUT[0] Switch A, 0 or 1 (-)
//#OUT[1] Level, 0 to 3 (-)
//#OUT[2] Switch B, 0 or 1, also the heater stage (-)
//#OUT[3] Air flow as a share of the nominal flow (-)
//#OUT[4] Supply-temperature set value ($^\circ$C)
//#OUT[5] Cooling power of outdoor air (kW)
//#OUT[6] Heater outlet temperature ($^\circ$C)
//#OUT[7] Heater power (kW)
//#Parameters
//#BP[0] Minimum supply temperature ($^\circ$C)
//#BP[1] Heater inlet temperature above which stage 7 sets switch B ($^\circ$C)
//#BP[2] Maximum heater outlet temperature ($^\circ$C)
//#BP[3] Nominal air flow, above 0 (m$^3$/h)
//#BP[4] Heater air flow (m$^3$/h)
//#BP[5] Maximum heater power, at least 0 (kW)
//#BP[6] Temperature tolerance of the heater search (K)
//#BP[7] Largest number of steps of the heater search, at most 1000 taken (-)
//#BP[8] Minimum air flow; 0 or below means a share of 0.001 (m$^3$/h)
//#BP[9] Full air flow when the outdoor air is too warm: 1 yes, any other value no (-)
//#Strings
//#None
//#Remarks
// Power is 0.0003357 V $\Delta T$ kW for an air flow V in m$^3$/h. The first call of a
// time step opens the sequence with everything off and the room temperature as set value;
// the second sets the air flow the load needs and either cools freely with outdoor air
// (and is done) or sets the supply temperature the load requires at that flow. Each later
// pass in which the plant does not reach the set value switches on the next stage (switch
// A, levels 1 to 3, switch B, a restart of the stages once with full air flow, the
// heater, whose outlet temperature is then found by bisection); each pass in which it
// does adjusts the air flow to the supply temperature reached. The sequence ends after
// five passes that met the set value, after the heater search, at stage 10, and at the
// latest after stage 10. The air flow always lies between the minimum share and the
// nominal flow. An input that is not a finite number ends the sequence with a warning.
// At the end of the run the supply temperatures held at the minimum, the free-cooling
// passes with outdoor air below it and the searches stopped at their step limit are
// reported as counts.
//#end
#include "blocks.h"
#include "finite.h"
#include "supply_air.h"

#include <algorithm>
#include <cmath>

namespace vireo::st {
namespace {

using P = decctl_block::P;

constexpr double kCpair = 0.0003357;  // kW h/(m3 K)
constexpr int kMetPassesToLeave = 5;
constexpr int kLastStage = 10;

struct State {
    int& stage;           // IP[10]: 0 opens a new sequence at the next call
    int& met;             // IP[11]: passes that met the set value, 5 = done
    int& heldAtMinimum;   // IP[12]: count of 205224
    int& coldFreeAir;     // IP[13]: count of 205226
    int& heaterStep;      // IP[14]: 0 = no heater search
    int& searchLimits;    // IP[15]: count of 305098
    int& heaterOn;        // IP[16]
    int& restarted;       // IP[17]: the stage-8 restart was taken
    float& low;           // RP[0], RP[1]: the heater search's bracket
    float& high;
    explicit State(decctl_block::View& b)
        : stage(b.ip<10>()), met(b.ip<11>()), heldAtMinimum(b.ip<12>()), coldFreeAir(b.ip<13>()),
          heaterStep(b.ip<14>()), searchLimits(b.ip<15>()), heaterOn(b.ip<16>()), restarted(b.ip<17>()),
          low(b.rp<0>()), high(b.rp<1>()) {}
};

void leave(decctl_block::View& b, State& s) {
    b.takeAlternativeLink();
    s.stage = s.met = s.heaterStep = s.heaterOn = s.restarted = 0;
}

struct Plant {
    double room, load, nominal, lowest;
    double share(double dt) const { return supply::loadShare(load, nominal, dt, kCpair, lowest); }
    double required(double share) const { return supply::requiredSupply(room, load, nominal, share, kCpair); }
};

void holdAtMinimum(decctl_block::View& b, State& s, float minimum) {
    b.countWarning(s.heldAtMinimum, code::supplyAtMinimum, {.reals = {minimum}});
}

// The second pass: the air flow and set value the load needs, or free cooling.
void firstEvaluation(decctl_block::View& b, State& s, const Plant& p) {
    const float outdoor = b.in(0), minimum = b.par<P::minimumSupply>();
    double share = 1.0;
    const double treq = p.required(share);
    if (outdoor > treq) {
        share = b.whole<P::fullFlow>() == 1 ? 1.0 : p.lowest;
        const double t = p.required(share);
        if (t >= minimum) {
            b.out(3) = toOutput(share);
            b.out(4) = toOutput(t);
            return;
        }
        b.out(4) = minimum;
        b.out(3) = toOutput(p.share(p.room - minimum));
        return;
    }
    share = p.share(p.room - outdoor);
    b.out(3) = toOutput(share);
    b.out(4) = outdoor;
    b.out(5) = toOutput((p.room - outdoor) * kCpair * p.nominal * share);
    if (minimum > outdoor) b.countWarning(s.coldFreeAir, code::freeCoolingBelowMinimum, {.reals = {outdoor, minimum}});
    s.met = kMetPassesToLeave;
}

void heaterSearch(decctl_block::View& b, State& s) {
    b.out(2) = 1.0f;
    ++s.heaterStep;
    const bool spent = s.heaterStep > supply::searchLimit(b.whole<P::searchSteps>());
    if (spent) b.countWarning(s.searchLimits, code::searchLimit, {.reals = {b.par<P::searchSteps>()}});
    const double deltat = double(b.out(4)) - b.in(3);
    if (spent || std::fabs(deltat) <= b.par<P::tolerance>()) return leave(b, s);
    (deltat >= 0.0 ? s.high : s.low) = b.out(6);
    b.out(6) = 0.5f * (s.low + s.high);
    b.out(7) = toOutput(kCpair * (double(b.out(6)) - b.in(4)) * b.par<P::heaterFlow>());
}

void heaterStage(decctl_block::View& b, State& s) {
    const double maxOutlet = b.par<P::maximumOutlet>(), maxPower = b.par<P::maximumPower>(),
                 heaterFlow = b.par<P::heaterFlow>(), inlet = b.in(4);
    if (maxOutlet > inlet && maxPower > 0.0) {
        s.heaterOn = 1;
        b.out(2) = 1.0f;
        const double qmax = std::max(kCpair * (maxOutlet - inlet) * heaterFlow, 0.0);
        s.low = b.in(4);
        if (maxPower >= qmax) {
            s.high = b.par<P::maximumOutlet>();
            b.out(6) = b.par<P::maximumOutlet>();
            b.out(7) = toOutput(qmax);
        } else {
            s.high = toOutput(inlet + maxPower / (kCpair * heaterFlow));
            b.out(6) = s.high;
            b.out(7) = b.par<P::maximumPower>();
        }
        return;
    }
    if (b.par<P::minimumSupply>() > b.out(4)) holdAtMinimum(b, s, b.par<P::minimumSupply>());
    leave(b, s);
}

}  // namespace

void decctl_block::init(View& b) {
    std::ranges::fill(b.ip<10, 8>(), 0);
    for (int i = 0; i < 8; ++i) b.out(i) = 0.0f;
}

void decctl_block::step(View& b) {
    State s(b);
    // A value that is not a number could keep the loop from ever meeting its set value.
    if (!inputsFinite(b)) return leave(b, s);
    if (s.stage == 0) {
        s.stage = 1;
        s.heaterOn = 0;
        for (int i = 0; i < 8; ++i) b.out(i) = 0.0f;
        b.out(4) = b.in(1);
        b.out(6) = b.in(4);
        return;
    }
    if (s.heaterOn == 0) b.out(6) = b.in(4);
    if (b.in(2) <= 0.0f) return leave(b, s);

    const float nominal = b.par<P::nominalFlow>();
    const Plant p{b.in(1), b.in(2), nominal, supply::lowestShare(b.par<P::minimumFlow>(), nominal)};
    if (s.heaterStep > 0) return heaterSearch(b, s);

    ++s.stage;
    if (s.stage == 2) return firstEvaluation(b, s, p);
    if (s.met >= kMetPassesToLeave || s.stage > kLastStage) return leave(b, s);

    const float reached = b.in(3);
    if (b.out(4) >= reached) {
        ++s.met;
        if (s.heaterOn != 0) {
            s.heaterStep = 1;
            b.out(6) = 0.5f * (s.low + s.high);
            return;
        }
        if (b.out(4) > reached && p.room != reached) {
            b.out(3) = toOutput(p.share(p.room - reached));
            const float minimum = b.par<P::minimumSupply>();
            if (reached >= minimum) {
                b.out(4) = reached;
            } else {
                b.out(4) = minimum;
                holdAtMinimum(b, s, minimum);
            }
        }
        return;
    }
    switch (s.stage) {
        case 3: b.out(0) = 1.0f; break;
        case 4: b.out(1) = 1.0f; break;
        case 5: b.out(1) = 2.0f; break;
        case 6: b.out(1) = 3.0f; break;
        case 7:
            if (b.in(4) > b.par<P::stageSevenInlet>()) b.out(2) = 1.0f;
            break;
        case 8:
            if (s.restarted != 0) break;
            s.restarted = 1;
            for (int i = 0; i < 8; ++i) b.out(i) = 0.0f;
            b.out(3) = 1.0f;
            b.out(4) = toOutput(std::max(p.required(1.0), double(b.par<P::minimumSupply>())));
            b.out(6) = b.in(4);
            s.stage = 2;
            break;
        case 9: return heaterStage(b, s);
        case kLastStage: return leave(b, s);
        default: break;
    }
}

void decctl_block::last(View& b) {
    State s(b);
    b.reportCount(s.heldAtMinimum, code::countedSupplyAtMinimum);
    b.reportCount(s.coldFreeAir, code::countedFreeCoolingBelowMinimum);
    b.reportCount(s.searchLimits, code::countedNotConverged);
}

}  // namespace vireo::st
