//#Block DECCTY
//#Description
// Loop controller of a desiccant-cooling plant with a stepped or continuous level: within
// one time step it switches the plant through air flow, free cooling, a switch, a level
// and a heater, one pass of the loop per call, until the supply-air temperature the plant
// returns reaches the supply temperature the cooling load requires.
//#Layout
//#Inputs 7
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
//#IN[5] Heater outlet temperature put out while no heater mode is active ($^\circ$C)
//#IN[6] Switching quantity, compared with 10 (any unit)
//#Outputs
//#OUT[0] Switch A, 0 or 1 (-)
//#OUT[1] Level: 0 to 3, or 0.2 to 1 in the continuous search (-)
//#OUT[2] Switch B, 0 or 1, also the heater stage (-)
//#OUT[3] Air flow as a share of the nominal flow (-)
//#OUT[4] Supply-temperature set value ($^\circ$C)
//#OUT[5] Cooling power of outdoor air (kW)
//#OUT[6] Heater outlet temperature ($^\circ$C)
//#OUT[7] Heater power (kW)
//#Parameters
//#BP[0] Minimum supply temperature ($^\circ$C)
//#BP[1] Maximum heater outlet temperature ($^\circ$C)
//#BP[2] Not used (-)
//#BP[3] Nominal air flow, above 0 (m$^3$/h)
//#BP[4] Minimum air flow; 0 or below means a share of 0.001 (m$^3$/h)
//#BP[5] Heater air flow; 0 or below, the heater stage heats nothing (m$^3$/h)
//#BP[6] Maximum heater power, at least 0 (kW)
//#BP[7] Temperature tolerance of the level search (K)
//#BP[8] Largest number of steps of the level search, at most 1000 taken (-)
//#BP[9] Continuous level search in stages 5 to 7 when not 0 (-)
//#Strings
//#None
//#Remarks
// Power is 0.000335 V $\Delta T$ kW for an air flow V in m$^3$/h. The first call of a
// time step opens the sequence with everything off and the room temperature as set value;
// the second sets the minimum supply temperature and the air flow the load needs at it;
// the third cools freely with outdoor air when that is cold enough and the switching
// quantity is at most 10, and otherwise (quantity above 10) switches A on and either
// passes the heater inlet through with a level search or ends. Each later pass in which
// the plant does not reach the set value switches on the next stage (switch A, levels 1
// to 3 or one continuous level search by bisection between 0.2 and 1, the test of stage 3
// again, which keeps the level reached where the heater inlet is too cold, the heater at
// its limit); the first pass that meets it adjusts the air flow to the supply temperature
// reached and ends the sequence at the next pass. The sequence ends at stage 10 at the
// latest. The air flow always lies between the minimum share and the nominal flow. An
// input that is not a finite number ends the sequence with a warning. At the end of the
// run the free-cooling passes with outdoor air below the minimum, the searches stopped at
// their step limit and the passes whose load needed more than the nominal flow or a
// supply temperature below the minimum are reported as counts.
//#end
#include "blocks.h"
#include "finite.h"
#include "supply_air.h"

#include <algorithm>
#include <cmath>

namespace vireo::st {
namespace {

constexpr double kCpair = 0.000335;  // kW h/(m3 K)
constexpr int kLastStage = 10;
constexpr float kLowestLevel = 0.2f;
constexpr float kSwitchingThreshold = 10.0f;

using P = deccty_block::P;

struct State {
    int& stage;         // IP[10]: 0 opens a new sequence at the next call
    int& done;          // IP[11]
    int& coldFreeAir;   // IP[13]: count of 205226
    int& searchLimits;  // IP[15]: count of 305098
    int& overloaded;    // IP[17]: count of 206027
    int& levelStep;     // IP[18]: 0 = no level search
    int& heaterMode;    // IP[19]: 0 none, 1 inlet passed through, 2 at its limit
    float& low;         // RP[0], RP[1]: the level search's bracket
    float& high;
    explicit State(deccty_block::View& b)
        : stage(b.ip<10>()), done(b.ip<11>()), coldFreeAir(b.ip<13>()), searchLimits(b.ip<15>()),
          overloaded(b.ip<17>()), levelStep(b.ip<18>()), heaterMode(b.ip<19>()), low(b.rp<0>()), high(b.rp<1>()) {}
};

// Every way out of the loop clears what the sequence kept, so that the next time step
// opens with nothing of this one.
void leave(deccty_block::View& b, State& s) {
    b.takeAlternativeLink();
    s.stage = s.done = s.levelStep = s.heaterMode = 0;
    b.ip<14>() = b.ip<16>() = 0;
}

void overload(deccty_block::View& b, State& s) { b.countWarning(s.overloaded, code::loadBeyondSupply, {.value = 1}); }

void startLevelSearch(deccty_block::View& b, State& s) {
    s.levelStep = 1;
    s.low = kLowestLevel;
    s.high = 1.0f;
    b.out(1) = kLowestLevel;
}

// True when the call goes on with the stages.
bool levelSearch(deccty_block::View& b, State& s) {
    ++s.levelStep;
    const float setValue = b.out(4), reached = b.in(3);
    if (s.levelStep == 2) {
        if (setValue < reached) {
            s.low = kLowestLevel;
            b.out(1) = 1.0f;
            return false;
        }
        b.out(1) = kLowestLevel;
        s.levelStep = 0;
        return true;
    }
    if (s.levelStep == 3) {
        if (reached >= setValue) {
            b.out(1) = 1.0f;
            s.levelStep = 0;
            return true;
        }
        s.high = 1.0f;
    }
    if (s.levelStep > supply::searchLimit(b.whole<P::searchSteps>())) {
        b.out(1) = 1.0f;
        s.levelStep = 0;
        b.countWarning(s.searchLimits, code::searchLimit, {.reals = {b.par<P::searchSteps>()}});
        return false;
    }
    const double deltat = double(setValue) - reached;
    if (std::fabs(deltat) <= b.par<P::tolerance>()) {
        s.levelStep = 0;
        return false;
    }
    if (s.levelStep >= 4) (deltat >= 0.0 ? s.high : s.low) = b.out(1);
    b.out(1) = 0.5f * (s.low + s.high);
    return false;
}

// Stage 3's test of the heater inlet, taken again at stage 8. Where the heater inlet is
// too cold to regenerate, the level stays as it is: at stage 8 the last level tried,
// which served better than none.
void heaterInletTest(deccty_block::View& b, State& s) {
    b.out(0) = 1.0f;
    if (b.in(4) > b.in(0) + 5.0f) {
        b.out(2) = 1.0f;
        s.heaterMode = 1;
        b.out(6) = b.in(4);
        startLevelSearch(b, s);
    } else {
        b.out(2) = 0.0f;
    }
}

void heaterStage(deccty_block::View& b, State& s) {
    const double maxOutlet = b.par<P::heaterOutlet>(), maxPower = b.par<P::heaterPower>(),
                 heaterFlow = b.par<P::heaterFlow>(), inlet = b.in(4);
    // A heater that moves no air heats nothing: its outlet at the limit would be heat for
    // nothing.
    if (!(maxOutlet > inlet && maxPower > 0.0 && heaterFlow > 0.0)) return;
    s.heaterMode = 2;
    b.out(2) = 1.0f;
    const double qmax = std::max(kCpair * (maxOutlet - inlet) * heaterFlow, 0.0);
    s.low = b.in(4);
    if (maxPower >= qmax) {
        s.high = b.par<P::heaterOutlet>();
        b.out(7) = toOutput(qmax);
    } else {
        s.high = toOutput(inlet + maxPower / (kCpair * heaterFlow));
        b.out(7) = b.par<P::heaterPower>();
    }
    b.out(6) = s.high;
}

}  // namespace

void deccty_block::init(View& b) {
    std::ranges::fill(b.ip<10, 10>(), 0);
    for (int i = 0; i < 8; ++i) b.out(i) = 0.0f;
}

void deccty_block::step(View& b) {
    State s(b);
    // A value that is not a number could keep the loop from ever meeting its set value.
    if (!inputsFinite(b)) return leave(b, s);
    if (s.stage == 0) {
        s.stage = 1;
        for (int i = 0; i < 8; ++i) b.out(i) = 0.0f;
        b.out(4) = b.in(1);
        b.out(6) = b.in(5);
        return;
    }
    if (s.heaterMode == 0) b.out(6) = b.in(5);
    if (s.heaterMode == 1) b.out(6) = b.in(4);
    if (b.in(2) <= 0.0f) return leave(b, s);
    if (s.levelStep > 0 && !levelSearch(b, s)) return;

    const double room = b.in(1), load = b.in(2), nominal = b.par<P::nominalFlow>(),
                 minimum = b.par<P::minimumSupply>(), outdoor = b.in(0);
    const double lowest = supply::lowestShare(b.par<P::minimumFlow>(), nominal);
    ++s.stage;
    if (s.stage == 2) {
        b.out(4) = b.par<P::minimumSupply>();
        const double dt = room - minimum;
        const double share = dt > 0.0 ? load / (nominal * dt * kCpair) : 2.0;
        b.out(3) = toOutput(std::clamp(share, lowest, 1.0));
        if (share > 1.0) overload(b, s);
        return;
    }
    if (s.stage == 3) {
        if (minimum >= outdoor && b.in(6) <= kSwitchingThreshold) {
            const double share = supply::loadShare(load, nominal, room - outdoor, kCpair, lowest);
            b.out(3) = toOutput(share);
            b.out(4) = b.in(0);
            b.out(5) = toOutput((room - outdoor) * kCpair * nominal * share);
            if (minimum > outdoor)
                b.countWarning(s.coldFreeAir, code::freeCoolingBelowMinimum,
                               {.reals = {b.in(0), b.par<P::minimumSupply>()}});
            s.done = 1;
        }
        if (b.in(6) > kSwitchingThreshold) {
            heaterInletTest(b, s);
            s.done = 1;
        }
        return;
    }
    if (s.done == 1 || s.stage > kLastStage) return leave(b, s);

    const float reached = b.in(3);
    if (b.out(4) >= reached) {
        s.done = 1;
        if (b.out(4) > reached && room != reached) {
            const double share = supply::loadShare(load, nominal, room - reached, kCpair, lowest);
            b.out(3) = toOutput(share);
            const double treq = supply::requiredSupply(room, load, nominal, share, kCpair);
            if (treq >= minimum) {
                b.out(4) = toOutput(treq);
            } else {
                b.out(4) = b.par<P::minimumSupply>();
                overload(b, s);
            }
        }
        return;
    }
    switch (s.stage) {
        case 4: b.out(0) = 1.0f; break;
        case 5:
        case 6:
        case 7:
            if (b.par<P::continuous>() != 0.0f) {
                s.stage = 7;
                startLevelSearch(b, s);
            } else {
                b.out(1) = float(s.stage - 4);
            }
            break;
        // Stage 8 leaves the sequence open: where it still falls short of the set value,
        // the heater at its limit comes next.
        case 8: heaterInletTest(b, s); break;
        case 9: heaterStage(b, s); break;
        case kLastStage: return leave(b, s);
        default: break;
    }
}

void deccty_block::last(View& b) {
    State s(b);
    b.reportCount(s.coldFreeAir, code::countedFreeCoolingBelowMinimum);
    b.reportCount(s.searchLimits, code::countedNotConverged);
    b.reportCount(s.overloaded, code::loadBeyondSupply);
}

}  // namespace vireo::st
