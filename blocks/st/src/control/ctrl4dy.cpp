//#Block CTRL4DY
//#Description
// Pump and flow controller of a solar plant with a heat store, a domestic-hot-water
// store and space heating: it switches the collector loop's primary and secondary pumps
// by temperature differences with a minimum run time, charges the hot-water store from
// the heat store, and divides the hot-water draw and the heating demand between the
// stores and auxiliary heat.
//#Layout
//#Inputs 12
//#Outputs 11
//#Parameters 11
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Collector temperature ($^\circ$C)
//#IN[1] Return temperature of the collector loop ($^\circ$C)
//#IN[2] Heat store, top ($^\circ$C)
//#IN[3] Heat store, bottom ($^\circ$C)
//#IN[4] Time, in the unit of the minimum run time (s)
//#IN[5] Hot-water store, top ($^\circ$C)
//#IN[6] Hot-water store, bottom ($^\circ$C)
//#IN[7] Hot water drawn (kg/s)
//#IN[8] Cold-water temperature ($^\circ$C)
//#IN[9] Not used (-)
//#IN[10] Heating demand; 0 while heating keeps it as it is, below 0 ends it (W)
//#IN[11] Heating supply temperature ($^\circ$C)
//#Outputs
//#OUT[0] Primary collector-loop flow (kg/s)
//#OUT[1] Secondary collector-loop flow (kg/s)
//#OUT[2] Primary pump power (W)
//#OUT[3] Secondary pump power (W)
//#OUT[4] Always 0 (-)
//#OUT[5] Charging flow of the hot-water store (kg/s)
//#OUT[6] Hot-water flow from the store (kg/s)
//#OUT[7] Auxiliary heat for the hot water (W)
//#OUT[8] Heating flow from the heat store (kg/s)
//#OUT[9] Heating return temperature ($^\circ$C)
//#OUT[10] Auxiliary heat for the heating (W)
//#Parameters
//#BP[0] Primary collector-loop flow (kg/s)
//#BP[1] Secondary collector-loop flow (kg/s)
//#BP[2] Switch-on temperature difference (K)
//#BP[3] Minimum run time of the collector loop (unit of input 5)
//#BP[4] Primary pump power (W)
//#BP[5] Secondary pump power (W)
//#BP[6] Both pumps start together when its whole part is not 0 (-)
//#BP[7] Charging flow of the hot-water store (kg/s)
//#BP[8] Hot-water supply temperature ($^\circ$C)
//#BP[9] Specific heat capacity of water, above 0 (J/(kg K))
//#BP[10] Temperature drop of the heating, above 0 (K)
//#Strings
//#None
//#Remarks
// The collector loop starts when the collector is warmer than the heat store's bottom by
// the switch-on difference; the secondary pump follows when the loop's return is that
// much warmer too. After the minimum run time, counted from the call after the start,
// the loop stops when the store's bottom is warmer than the return and the return colder
// than the collector; with the secondary pump running, whenever the store's bottom is no
// colder than the return. Where both pumps start together the secondary runs from the
// start, and that rule waits for the minimum run time too, as the return may still hold
// fluid that stood. Above 95 $^\circ$C at the heat store's top the loop stops until the
// top falls below 90 $^\circ$C. The hot-water store is charged while it is colder than
// the supply temperature and the heat store warmer, until its bottom passes either (a
// bottom that has passed either already starts no charging). Hot
// water and heating take from their store as much as brings the supply temperature and
// auxiliary heat the rest; a store no warmer than the heating return gives nothing. Every
// call switches, a repeated one too; each block keeps its own run-time clock. An input
// that is not a number switches nothing and leaves the outputs that depend on it as
// they were.
//#end
#include "blocks.h"

#include "values.h"

#include "Numbers.h"

#include <algorithm>
#include <cmath>

namespace vireo::st {
namespace {

// IP[11]: the run-time clock started; IP[12]: the collector loop on; IP[13]: the
// secondary pump on; IP[14]: the over-temperature lock; IP[15]: charging the hot-water
// store; IP[16]: not used; IP[17]: heating on. RP[0]: the time the clock started.
struct State {
    std::span<int, 7> slots;
    int& clockStarted;
    int& loopOn;
    int& secondaryOn;
    int& overTemperature;
    int& charging;
    int& heating;
    float& clockStart;
    explicit State(ctrl4dy_block::View& b)
        : slots(b.ip<11, 7>()), clockStarted(b.ip<11>()), loopOn(b.ip<12>()), secondaryOn(b.ip<13>()),
          overTemperature(b.ip<14>()), charging(b.ip<15>()), heating(b.ip<17>()), clockStart(b.rp<0>()) {}
};

constexpr double kLockAbove = 95.0, kUnlockBelow = 90.0;  // degC at the heat store's top

struct Parameters {
    double c1, c2, dt, tMin, pPrimary, pSecondary;
    bool together;
    double charge, supply, cp, drop;
};

}  // namespace

void ctrl4dy_block::init(View& b) {
    State s(b);
    std::ranges::fill(s.slots, 0);
}

void ctrl4dy_block::step(View& b) {
    State s(b);
    const Parameters p{b.par<P::primaryFlow>(),
                       b.par<P::secondaryFlow>(),
                       b.par<P::switchOn>(),
                       b.par<P::minimumRun>(),
                       b.par<P::primaryPower>(),
                       b.par<P::secondaryPower>(),
                       block::toInt(b.par<P::together>()) != 0,
                       b.par<P::chargingFlow>(),
                       b.par<P::supply>(),
                       b.par<P::heatCapacity>(),
                       b.par<P::heatingDrop>()};
    // Held within the float range: an infinite temperature must not make 0 times infinity.
    const auto in = [&](int i) { return bounded(b.in(i)); };
    const double tcol = in(0), tcOut = in(1), tstTop = in(2), tstBot = in(3), time = b.in(4);
    const double twwTop = in(5), twwBot = in(6), draw = in(7), tCold = in(8), demand = in(10), tSupply = in(11);

    // Heating: from the store as much as mixes with the return to the supply temperature.
    const double tReturn = tSupply - p.drop, heatingFlow = demand / (p.drop * p.cp);
    if (std::isfinite(tReturn)) b.out(9) = stored(tReturn);
    if (demand > 0.0) {
        s.heating = 1;
        if (tstTop <= tReturn) {  // a store no warmer than the return has nothing to give
            b.out(8) = 0.0f;
            b.out(10) = stored(demand);
        } else if (tSupply >= tstTop) {
            b.out(8) = stored(heatingFlow);
            b.out(10) = stored(heatingFlow * p.cp * (tSupply - tstTop));
        } else if (tstTop > tSupply) {
            const double fromStore = heatingFlow * (tSupply - tReturn) / (tstTop - tReturn);
            b.out(8) = stored(fromStore);
            b.out(10) = stored(demand - fromStore * p.cp * (tstTop - tReturn));
        }
    } else if (demand < 0.0 || (demand <= 0.0 && s.heating != 0)) {
        b.out(8) = b.out(10) = 0.0f;
        s.heating = 0;
    }

    // The run-time clock of this block, from the call after the collector loop started.
    if (s.clockStarted == 0 && std::isfinite(time)) {
        s.clockStart = static_cast<float>(time);
        s.clockStarted = 1;
    }
    const double run = s.clockStarted != 0 ? time - s.clockStart : 0.0;

    // Hot water: from the store as much as mixes with cold water to the supply temperature.
    if (draw > 0.0) {
        if (p.supply >= twwTop) {
            b.out(6) = stored(draw);
            b.out(7) = stored(draw * p.cp * (p.supply - twwTop));
        } else if (twwTop > p.supply) {
            // Cold water at or above the supply temperature needs nothing from the store.
            const double share = tCold < p.supply ? (p.supply - tCold) / (twwTop - tCold) : 0.0;
            b.out(6) = stored(draw * share);
            b.out(7) = 0.0f;
        }
    } else {
        b.out(6) = b.out(7) = 0.0f;
    }

    // Charging the hot-water store from the heat store. A store whose bottom already ends
    // the charging is not started: at constant inputs it would go on and off every call.
    const bool charged = twwBot > p.supply || twwBot > tstTop;
    if (s.charging == 0) {
        const bool start = p.supply > twwTop && tstTop > p.supply && !charged;
        b.out(5) = start ? stored(p.charge) : 0.0f;
        s.charging = start ? 1 : 0;
    } else if (charged) {
        b.out(5) = 0.0f;
        s.charging = 0;
    }

    const auto loopOff = [&] {
        for (int i = 0; i < 4; ++i) b.out(i) = 0.0f;
    };
    if (tstTop > kLockAbove) {
        loopOff();
        s.overTemperature = 1;
    } else if (tstTop < kUnlockBelow) {
        s.overTemperature = 0;
    }
    if (s.overTemperature != 0) return;

    // The collector loop.
    const auto secondary = [&](bool on) {
        b.out(1) = on ? stored(p.c2) : 0.0f;
        b.out(3) = on ? stored(p.pSecondary) : 0.0f;
    };
    const auto stop = [&] {
        loopOff();
        s.clockStarted = s.loopOn = s.secondaryOn = 0;
    };
    if (s.loopOn == 0) {
        if (tcol > tstBot + p.dt) {
            b.out(0) = stored(p.c1);
            b.out(2) = stored(p.pPrimary);
            // A secondary that runs is on: its stop rule is what ends the loop at night,
            // when the exchanger warms the return above the collector.
            secondary(p.together);
            s.loopOn = 1;
            s.secondaryOn = p.together ? 1 : 0;
            s.clockStarted = 0;
        } else {
            b.out(0) = 0.0f;
        }
    } else if (run > p.tMin && tstBot > tcOut && tcol > tcOut) {
        stop();
    } else {
        // The pump's power with its flow: after the over-temperature lock it runs again.
        b.out(0) = stored(p.c1);
        b.out(2) = stored(p.pPrimary);
        if (s.secondaryOn == 0) {
            if (tcOut > tstBot + p.dt) {
                secondary(true);
                s.secondaryOn = 1;
            }
        } else if (tstBot >= tcOut && (!p.together || run > p.tMin)) {
            // Started with the primary, the secondary met no warm return first: until the
            // minimum run time the return may still be the fluid that stood overnight.
            stop();
        } else {
            secondary(true);
        }
    }
}

}  // namespace vireo::st
