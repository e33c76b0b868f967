// The block routines of libVireoPP: physics only, over a typed view of the block arrays.
// The identity table (table.h) names each of them; the frame does identification and
// dispatch. A block keeps state between calls only in its own arrays: what a call works
// with beyond them lives in the call, so two instances never share a value.
#ifndef VIREO_PP_BLOCKS_H
#define VIREO_PP_BLOCKS_H

#include "BlockFrame.h"
#include "Stepping.h"
#include "messages.h"
#include "table.h"

#include <limits>

namespace vireo::pp {

using block::BlockView;
using block::IdentifyOnly;
using block::Rule;

inline constexpr float kLargest = std::numeric_limits<float>::max();

// Bounds several blocks share. Iterations per step: each costs a pass over the block's
// state, so a count from a mistyped parameter would keep the run from ever ending.
inline constexpr float kMostIterations = 1000.0f;
inline constexpr block::Bound kIterations = block::within(0.0f, kMostIterations);
// Coefficients that move a temperature towards its surroundings: a negative one would
// push it away, without bound over the steps of a run.
inline constexpr block::Bound kLoss = block::atLeast(0.0f);

struct track_block {  // TRACK
    struct P {
        enum : int { mode, lowestElevation, lowestAzimuth, highestAzimuth, azimuthPower, elevationPower, stow, stowElevation };
        static constexpr block::Param table[] = {
            {"Tracking mode", "-"},
            {"Lowest sun elevation the collector follows", "degrees"},
            {"Lowest collector azimuth", "degrees"},
            {"Highest collector azimuth", "degrees"},
            {"Power of the azimuth drive", "W"},
            {"Power of the elevation drive", "W"},
            {"Stow azimuth in mode 0", "degrees"},
            {"Stow elevation", "degrees"},
        };
    };
    using View = block::View<table::pp0001, P>;
    static void step(View& b);
};
struct trough_block {  // TROUGH
    struct P {
        enum : int { apertureArea, apertureWidth, receiverArea, unused, efficiency, rimAngle };
        static constexpr block::Param table[] = {
            {"Aperture area", "m2", block::above(0), code::badSize},
            {"Aperture width", "m", block::above(0), code::badSize},
            {"Receiver area", "m2", block::above(0), code::badSize},
            {"Not used", "-"},
            {"Optical efficiency", "-"},
            // Towards 0 a parabola's focal length grows without bound; outside 180 it turns negative.
            {"Rim angle", "degrees", {.low = 0.0f, .high = 180.0f, .aboveLow = true, .belowHigh = true}, code::badRimAngle},
        };
    };
    using View = block::View<table::pp0002, P>;
    static void step(View& b);
};
struct receiv_block {  // RECEIV
    struct P {
        enum : int { area, cp, lossCoefficient, emittance, efficiency1, efficiency2, iterations, capacity, coupling };
        static constexpr block::Param table[] = {
            {"Receiver area", "m2", block::above(0), code::badSize},
            {"Specific heat of the fluid", "J/(kg K)", block::above(0), code::badHeatCapacity},
            // Negative, either would make the receiver gain the more the hotter it is, with no
            // temperature where it stops.
            {"Linear heat-loss coefficient", "W/(m2 K)", kLoss, code::badLossCoefficient},
            {"Emittance", "-", block::atLeast(0.0f), code::badEmittance},
            {"First efficiency factor", "-"},
            {"Second efficiency factor", "-"},
            {"Number of iterations per step", "-", kIterations, code::badIterations},
            {"Heat capacity of the thermal mass", "J/K", block::above(0), code::badHeatCapacity},
            {"Heat-transfer coefficient between fluid and mass", "W/(m2 K)", kLoss, code::badLossCoefficient},
        };
    };
    using View = block::View<table::pp0003, P>;
    static void init(View& b);
    static void step(View& b);
};
struct shade_block {  // SHADE
    struct P {
        enum : int { distance, width, length };
        static constexpr block::Param table[] = {
            {"p1 of the formulas below", "m"},
            {"p2", "m"},
            {"p3", "m"},
        };
    };
    using View = block::View<table::pp0004, P>;
    static void step(View& b);
};
struct pipe_block {  // PIPE
    struct P {
        enum : int { diameter, length, lossCoefficient, cp };
        static constexpr block::Param table[] = {
            {"Pipe diameter", "m", block::above(0), code::badSize},
            {"Pipe length", "m", block::above(0), code::badSize},
            {"Heat-loss coefficient of the pipe surface", "W/(m2 K)", kLoss, code::badLossCoefficient},
            {"Specific heat of the fluid", "J/(kg K)", block::above(0), code::badHeatCapacity},
        };
    };
    using View = block::View<table::pp0005, P>;
    static bool tiesHold(View& b);
    static void step(View& b);
};
struct fldiv_block {  // FLDIV
    using View = block::View<table::pp0006>;
    static void step(View& b);
};
struct tpiece_block {  // TPIECE
    using View = block::View<table::pp0007>;
    static void step(View& b);
};
struct tcstor_block {  // TCSTOR
    struct P {
        enum : int { volume, nodes, diameter, cp, density, wallLoss, iterations, reference };
        static constexpr block::Param table[] = {
            {"Tank volume", "m3", block::above(0), code::badSize},
            // Its whole part is the count: 1 to 200.
            {"Number of nodes", "-", {.low = 1.0f, .high = 201.0f, .belowHigh = true}, code::badNodeCount},
            {"Tank diameter", "m", block::above(0), code::badSize},
            {"Specific heat", "J/(kg K)", block::above(0), code::badHeatCapacity},
            {"Density", "kg/m3", block::above(0), code::badHeatCapacity},
            {"Heat-loss coefficient of the wall", "W/(m2 K)", kLoss, code::badLossCoefficient},
            {"Iterations per sub-step", "-", kIterations, code::badIterations},
            {"Reference and initial temperature", "degC"},
        };
    };
    using View = block::View<table::pp0008, P>;
    static bool tiesHold(View& b);
    static void init(View& b);
    static void step(View& b);
};
struct pfstor_block {  // PFSTOR
    struct P {
        enum : int { volume, diameter, cp, density, wallLoss, reference, start, conductivity };
        static constexpr block::Param table[] = {
            {"Tank volume", "m3", block::above(0), code::badSize},
            {"Tank diameter", "m", block::above(0), code::badSize},
            {"Specific heat", "J/(kg K)", block::above(0), code::badHeatCapacity},
            {"Density", "kg/m3", block::above(0), code::badHeatCapacity},
            {"Heat-loss coefficient of the wall", "W/(m2 K)", kLoss, code::badLossCoefficient},
            {"Reference temperature", "degC"},
            // Left out, the reference temperature stands in for it: the block reads that.
            {"Initial temperature", "degC", block::atLeast(-273.15f), code::badTemperature, block::orDefault(0.0f)},
            {"Thermal conductivity of the fluid", "W/(m K)", kLoss, code::badLossCoefficient},
        };
    };
    using View = block::View<table::pp0009, P>;
    static bool tiesHold(View& b);
    static void init(View& b);
    static void step(View& b);
};
struct cntrl_block {  // CNTRL
    struct P {
        enum : int { target, firstFlow, tolerance, lowestFlow, highestFlow, passes };
        static constexpr block::Param table[] = {
            {"Target outlet temperature", "degC"},
            {"Mass flow of the first pass of a time step", "kg/s"},
            {"Tolerance of the outlet temperature", "K"},
            {"Lowest mass flow", "kg/s"},
            {"Highest mass flow", "kg/s"},
            {"Largest number of passes", "-", block::within(0.0f, 100000.0f), code::badPassLimit, block::orDefault(20.0f)},
        };
    };
    using View = block::View<table::pp0010, P>;
    static void init(View& b);
    static void step(View& b);
};
struct tf2tc_block {  // TF2TC
    using View = block::View<table::pp0011>;
    static void step(View& b);
};
struct tc2tf_block {  // TC2TF
    using View = block::View<table::pp0012>;
    static void step(View& b);
};
struct steam_block {  // STEAM
    using View = block::View<table::pp0013>;
    static void step(View& b);
};
struct evaph_block {  // EVAPH
    using View = block::View<table::pp0014>;
    static void step(View& b);
};
struct hxch_block {  // HXCH
    struct P {
        enum : int { model, transferCoefficient, area, medium1, t1a, cp1a, t1b, cp1b, medium2, t2a, cp2a, t2b, cp2b, passes };
        static constexpr block::Param table[] = {
            // The bounds that depend on the model and on each side's medium are the block's ties.
            {"Model", "-", block::mode(2), code::badModel},
            {"Heat-transfer coefficient", "W/(m2 K)", kLoss, code::badLossCoefficient},
            {"Heat-transfer area", "m2", block::above(0), code::badSize},
            {"Side-1 medium", "-"},
            {"Side-1 oil", "degC"},
            {"Side-1 oil", "J/(kg K)"},
            {"Side-1 oil", "degC"},
            {"Side-1 oil", "J/(kg K)"},
            {"Side-2 medium", "-"},
            {"Side-2 oil", "degC"},
            {"Side-2 oil", "J/(kg K)"},
            {"Side-2 oil", "degC"},
            {"Side-2 oil", "J/(kg K)"},
            {"Most passes of the cell model", "-"},
        };
    };
    using View = block::View<table::pp0015, P>;
    static bool tiesHold(View& b);
    static void step(View& b);
    static void last(View& b);
};
struct sturb_block {  // STURB
    struct P {
        enum : int { designFlow, designInlet, designOutlet, efficiency };
        static constexpr block::Param table[] = {
            {"Design mass flow", "kg/s", block::above(0), code::badDesignFlow},
            {"Design inlet pressure", "Pa"},
            {"Design outlet pressure", "Pa"},
            {"Efficiency factor", "-"},
        };
    };
    using View = block::View<table::pp0016, P>;
    static void step(View& b);
};
struct pcsstu_block {  // PCSSTU
    struct P {
        enum : int { cp, coldEnergy, decayAmplitude, decayLinear, decayQuadratic };
        static constexpr block::Param table[] = {
            {"Specific heat of the fluid", "J/(kg K)"},
            {"Start-up energy of a cold power block", "J"},
            {"Amplitude of its decay", "J"},
            {"Linear decay coefficient over the time off", "1/s"},
            {"Quadratic decay coefficient over the time off", "1/s2"},
        };
    };
    using View = block::View<table::pp0018, P>;
    static void step(View& b);
};
struct pcntrl_block {  // PCNTRL
    struct P {
        enum : int { before, on, onThreshold, offThreshold, lowestInput };
        static constexpr block::Param table[] = {
            {"Output before the first step", "unit of parameter 2"},
            {"Value when switched on", "any unit"},
            {"Switch-on threshold of input 1", "degC"},
            {"Switch-off threshold of input 1", "degC"},
            {"Lowest admissible input 3", "-"},
        };
    };
    using View = block::View<table::pp0017, P>;
    static void init(View& b);
    static void step(View& b);
};

// ---- what several blocks share -------------------------------------------------------

// The explicit update that never overshoots and the time step that never runs backwards
// live with the other mechanics the block libraries share.
using block::forwardOnly;
using block::limitedUpdate;
using block::Pull;
using block::withinOneStep;

// Writes a default into the block's own parameter, where the block fills one in place: it
// stays there for the rest of the run.
inline void fillParameter(BlockView& b, int i, float value) {
    if (b.arrays().BP != nullptr && i >= 0 && i < b.identity().maxParameters) b.arrays().BP[i] = value;
}

using block::refused;

// A storage tank whose mass (volume times density) or heat capacity (that times the
// specific heat) leaves the float range, although each parameter is finite on its own:
// its nodes would turn into NaN at the first step and stay so. Reported naming the volume
// (its parameter number `volumeParameter`); true when the tank fits.
inline bool tankFits(BlockView& b, int volumeParameter, float volume, float density, float specificHeat) {
    const double mass = static_cast<double>(volume) * density;
    const double capacity = mass * specificHeat;
    if (mass <= kLargest && capacity <= kLargest) return true;
    b.report(code::tankTooLarge, {.reals = {static_cast<float>(mass), static_cast<float>(capacity)},
                                  .ints = {volumeParameter + 1}});
    return false;
}

}  // namespace vireo::pp

#endif
