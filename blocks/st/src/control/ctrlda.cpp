//#Block CTRLDA
//#Description
// Controller of an absorption-chiller plant with a hot store, a cold store and a cold
// distribution: it sets the distribution flow for the cooling demand, starts and stops
// the chiller by the store temperatures and switches its absorber and evaporator
// circuits with it.
//#Layout
//#Inputs 8
//#Outputs 12
//#Parameters 14
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Hot store, top ($^\circ$C)
//#IN[1] Generator outlet ($^\circ$C)
//#IN[2] Evaporator outlet ($^\circ$C)
//#IN[3] Cold store, top; not used ($^\circ$C)
//#IN[4] Cold store, middle ($^\circ$C)
//#IN[5] Cold store, bottom ($^\circ$C)
//#IN[6] Cooling demand (kW)
//#IN[7] Cooling-tower water ($^\circ$C)
//#Outputs
//#OUT[0] Generator flow (kg/s)
//#OUT[1] Absorber flow (kg/s)
//#OUT[2] Evaporator flow (kg/s)
//#OUT[3] Distribution flow (kg/s)
//#OUT[4] Absorber inlet temperature ($^\circ$C)
//#OUT[5] Cooling demand the cold store does not cover (kW)
//#OUT[6] Cold return temperature, parameter 8 ($^\circ$C)
//#OUT[7] Generator pump power (kW)
//#OUT[8] Absorber pump power (kW)
//#OUT[9] Evaporator pump power (kW)
//#OUT[10] Chiller power (kW)
//#OUT[11] Distribution pump power (kW)
//#Parameters
//#BP[0] Generator flow (kg/s)
//#BP[1] Absorber flow (kg/s)
//#BP[2] Evaporator flow (kg/s)
//#BP[3] Lowest generator temperature ($^\circ$C)
//#BP[4] Start temperature of the generator ($^\circ$C)
//#BP[5] Lowest absorber inlet temperature ($^\circ$C)
//#BP[6] Cold supply temperature ($^\circ$C)
//#BP[7] Cold return temperature, above the supply temperature ($^\circ$C)
//#BP[8] Lowest evaporator outlet temperature ($^\circ$C)
//#BP[9] Generator pump power (kW)
//#BP[10] Absorber pump power (kW)
//#BP[11] Evaporator pump power (kW)
//#BP[12] Chiller power (kW)
//#BP[13] Distribution pump power at the design flow (kW)
//#Strings
//#None
//#Remarks
// Water's heat capacity is taken as 4.19 kJ/(kg K) and the distribution's design power
// as 35 kW: the distribution pump's power goes with the cube of its flow over the design
// flow. A cold store at or below the supply temperature covers the demand, mixed with
// the return; a warmer one covers what it can down to the return temperature; a store
// above the return covers nothing, and the pump runs at its full power. The chiller
// starts with its generator flow when the cold store's middle is 2 K above the supply
// and the hot store above the start temperature; its absorber and evaporator circuits
// follow once the generator outlet is above the lowest generator temperature. It stops,
// circuits included, when the hot store falls below the lowest generator temperature or
// the evaporator outlet below its lowest temperature. An evaporator outlet equal to the
// cold store's top, as where the evaporator feeds the store's top, keeps the chiller as
// it is: stopping there, the start rule took it on again at the next call. Every call
// switches, a repeated one too. An input that is not a number switches nothing.
//#end
#include "blocks.h"

#include "values.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace vireo::st {
namespace {

constexpr double kWater = 4.19;        // kJ/(kg K)
constexpr double kDesignPower = 35.0;   // kW of the cold distribution

enum Chiller { off = 0, on = 1, stopping = 2 };

// IP[11]: 1 once the first step has run; IP[12]: the chiller, off, on or stopping;
// IP[13]: 1 while the absorber and evaporator circuits run. RP[0..11]: the outputs,
// copied to OUT at the end of every step.
struct State {
    int& started;
    int& chiller;
    int& circuits;
    std::span<float, 12> r;
    explicit State(ctrlda_block::View& b)
        : started(b.ip<11>()), chiller(b.ip<12>()), circuits(b.ip<13>()), r(b.rp<0, 12>()) {}
};

using P = ctrlda_block::P;

}  // namespace

bool ctrlda_block::tiesHold(View& b) {
    return b.check({.parameter = P::coldReturn, .low = b.par<P::coldSupply>(), .high = FLT_MAX,
                    .code = code::badColdReturn, .aboveLow = true},
                   b.par<P::coldReturn>());
}

void ctrlda_block::init(View& b) {
    State s(b);
    s.started = s.chiller = s.circuits = 0;
}

void ctrlda_block::step(View& b) {
    State s(b);
    const double tcSupply = b.par<P::coldSupply>(), tcReturn = b.par<P::coldReturn>();
    // Held within the float range, so that what the block passes on is too.
    const auto in = [&](int i) { return bounded(b.in(i)); };
    const double tstTop = in(0), tgOut = in(1), teOut = in(2), tcsMid = in(4), tcsBot = in(5);
    const double demand = in(6), tctw = in(7);
    auto& r = s.r;
    if (s.started == 0) {
        std::ranges::fill(r, 0.0f);
        s.started = 1;
    }
    r[6] = b.par<P::coldReturn>();

    // The cold distribution.
    const double design = kWater * (tcReturn - tcSupply), designFlow = kDesignPower / design;
    const float pumpPower = b.par<P::distributionPump>();
    const auto pump = [&](double flow) { return stored(pumpPower * std::pow(flow / designFlow, 3)); };
    if (demand > 0.0) {
        if (tcSupply >= tcsBot) {
            const double load = demand / design;  // through the consumers
            // A store colder than the supply is mixed with the return to the supply.
            const double flow = tcsBot != tcSupply ? load * (tcSupply - tcReturn) / (tcsBot - tcReturn) : load;
            r[3] = stored(flow);
            r[5] = 0.0f;
            r[11] = pump(load);
        } else if (tcsBot > tcSupply) {
            if (tcReturn >= tcsBot) {
                const double flow = demand / design;
                r[3] = stored(flow);
                r[5] = stored(demand - (tcReturn - tcsBot) * flow * kWater);
                r[11] = pump(flow);
            } else {
                r[3] = 0.0f;
                r[5] = stored(demand);
                r[11] = pumpPower;
            }
        }
    } else if (demand <= 0.0) {
        r[3] = r[5] = r[11] = 0.0f;
    }

    const float lowestAbsorber = b.par<P::lowestAbsorber>();
    r[4] = tctw >= lowestAbsorber ? static_cast<float>(tctw) : lowestAbsorber;

    // The chiller, each rule on the state the one before left.
    if (s.chiller == off) {
        const bool start = tcsMid >= tcSupply + 2.0 && tstTop > b.par<P::generatorStart>();
        r[0] = start ? b.par<P::generatorFlow>() : 0.0f;
        r[7] = start ? b.par<P::generatorPump>() : 0.0f;
        if (start) s.chiller = on, s.circuits = 0;
    }
    const auto circuitsOn = [&] {
        r[1] = b.par<P::absorberFlow>(), r[2] = b.par<P::evaporatorFlow>(), r[8] = b.par<P::absorberPump>(),
        r[9] = b.par<P::evaporatorPump>(), r[10] = b.par<P::chillerPower>();
    };
    const auto stop = [&] {
        r[0] = r[7] = 0.0f;
        s.chiller = stopping;
    };
    const double tgMin = b.par<P::lowestGenerator>();
    if (s.chiller == on && tgMin > tstTop) stop();
    if (s.chiller == on && s.circuits == 0 && r[0] > 0.0f && tgOut > tgMin) {
        circuitsOn();
        s.circuits = 1;
    }
    if (s.chiller == on && b.par<P::lowestEvaporator>() > teOut) {
        circuitsOn();
        stop();
    }
    if (s.chiller == stopping) {
        r[1] = r[2] = r[8] = r[9] = r[10] = 0.0f;
        s.chiller = off;
        s.circuits = 0;
    }
    for (int i = 0; i < 12; ++i) b.out(i) = r[static_cast<std::size_t>(i)];
}

}  // namespace vireo::st
