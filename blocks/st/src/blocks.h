// The block routines of libVireoST: physics only, over a typed view of the block arrays.
// The identity table (table.h) names each of them; the frame does identification and
// dispatch. A block keeps state between calls only in its own arrays.
#ifndef VIREO_ST_BLOCKS_H
#define VIREO_ST_BLOCKS_H

#include "BlockFrame.h"
#include "air_collector_parameters.h"
#include "messages.h"
#include "pipe.h"
#include "table.h"
#include "tank.h"

#include <cfloat>
#include <span>


namespace vireo::st {

using block::BlockView;
using block::IdentifyOnly;
using block::Rule;

struct tankst_block {  // TANKST
    struct P {
        enum : int { volume, nodes, diameter, heatCapacity, density, lossCoefficient, conductivity, start };
        static constexpr block::Param table[] = {
            {"Volume of the tank", "m$^3$", block::above(0), code::badTankVolume},
            {"Number of nodes n", "-", block::whole(2, tank::kMaxNodes), code::badNodeCount},
            {"Inner diameter", "m", block::above(0), code::badTankDiameter},
            {"Specific heat capacity of the fluid", "J/(kg K)", block::above(0), code::badHeatCapacity},
            {"Density of the fluid", "kg/m$^3$", block::above(0), code::badDensity},
            {"Heat-loss coefficient of the surface", "W/(m$^2$ K)", block::atLeast(0), code::badLossCoefficient},
            {"Thermal conductivity between nodes", "W/(m K)", block::atLeast(0), code::badConductivity},
            {"Initial temperature of all nodes", "$^\\circ$C", block::finite(), code::notANumber},
        };
    };
    using View = block::View<table::st0003, P>;
    static bool checksHold(View& b);
    static void init(View& b);
    static void step(View& b);
};
struct sceta_block {  // SCETA
    struct P {
        enum : int { area, eta0, a1, a2, heatCapacity, series, rows, mode };
        static constexpr int kMostSeries = 10000;  // a row is walked collector by collector
        static constexpr block::Param table[] = {
            {"Area of one collector", "m$^2$", block::above(0), code::badCollectorArea},
            {"Optical efficiency $\\eta_0$", "-", block::finite(), code::notANumber},
            {"Linear heat-loss coefficient $a_1$", "W/(m$^2$ K)", block::finite(), code::notANumber},
            {"Quadratic heat-loss coefficient $a_2$", "W/(m$^2$ K$^2$)", block::finite(), code::notANumber},
            {"Specific heat capacity of the fluid", "J/(kg K)", block::above(0), code::badHeatCapacity},
            {"Collectors in series", "-", block::whole(1, kMostSeries), code::badSeriesCount},
            {"Rows in parallel", "-", block::whole(1, FLT_MAX), code::badRowCount},
            {"Mode", "-", block::mode(2), code::badMode},
        };
    };
    using View = block::View<table::st0008, P>;
    static void step(View& b);
    static void last(View& b);
};
struct satp_block {  // SATP SATT
    struct P {
        enum : int { phase };
        static constexpr block::Param table[] = {{"Phase below the triple point", "-", block::mode(2), code::badMode}};
        static constexpr block::Param satt[] = {{"Not used", "-"}};
        static constexpr std::span<const block::Param> forms[] = {table, satt};
    };
    using View = block::View<table::st0009, P>;
    static void init(View& b);
    static void step(View& b);
    static void last(View& b);
};
struct h2oh_block {  // H2OHL H2OHV H2OHE
    using View = block::View<table::st0010>;
    static void init(View& b);
    static void step(View& b);
};
struct air_block {  // AIR
    using View = block::View<table::st0012>;
    static void step(View& b);
};
struct hum_block {  // HUMA2R HUMR2A HUMH2T HUMH HUMH2X
    using View = block::View<table::st0013>;
    static void init(View& b);
    static void step(View& b);
    static void last(View& b);
};
struct lbw_block {  // LBWH LBWT LBWP LBWX
    struct P {
        enum : int { model, substitute };
        // An enthalpy model that does not exist would warn at every step and compute McNeely's.
        static constexpr block::Param table[] = {
            {"Model", "-", block::mode(3), code::badMode},
            {"Substitute", "as the output"},
        };
        static constexpr block::Param lbwt[] = {{"Model", "-"}, {"Substitute", "as the output"}};
        static constexpr block::Param mcNeelyOnly[] = {{"Not used", "-"}, {"Substitute", "as the output"}};
        static constexpr std::span<const block::Param> forms[] = {table, lbwt, mcNeelyOnly, mcNeelyOnly};
    };
    using View = block::View<table::st0025, P>;
    static void init(View& b);
    static void takeChange(View& b);
    static void step(View& b);
    static void last(View& b);
};
struct acm_block {  // ACM
    struct P {
        enum : int {
            generatorStart, condenserStart, absorberStart, evaporatorStart,
            uaGenerator, uaCondenser, uaAbsorber, uaEvaporator,
            solutionFlow, exchangerCoefficient,
            cpGenerator, cpCooling, cpChilled,
            ratioStart, designPower
        };
        static constexpr block::Param table[] = {
            {"Start value of the internal generator temperature", "degC", block::finite(), code::badStartValue},
            {"Start value of the internal condenser temperature", "degC", block::finite(), code::badStartValue},
            {"Start value of the internal absorber temperature", "degC", block::finite(), code::badStartValue},
            {"Start value of the internal evaporator temperature", "degC", block::finite(), code::badStartValue},
            {"UA value of the generator", "kW/K", block::above(0), code::badConductance},
            {"UA value of the condenser", "kW/K", block::above(0), code::badConductance},
            {"UA value of the absorber", "kW/K", block::above(0), code::badConductance},
            {"UA value of the evaporator", "kW/K", block::above(0), code::badConductance},
            {"Solution mass flow through the solution heat exchanger", "kg/s", block::finite(), code::badStartValue},
            {"Solution heat-exchanger coefficient", "-", block::finite(), code::badStartValue},
            {"Specific heat capacity of the generator fluid", "kJ/(kg K)", block::above(0), code::acmBadHeatCapacity},
            {"Specific heat capacity of the cooling water", "kJ/(kg K)", block::above(0), code::acmBadHeatCapacity},
            {"Specific heat capacity of the chilled water", "kJ/(kg K)", block::above(0), code::acmBadHeatCapacity},
            {"Start value of the temperature ratio", "-", block::finite(), code::badStartValue},
            {"Design cooling power", "kW"},
        };
    };
    using View = block::View<table::st0026, P>;
    static bool tiesHold(View& b);
    static void init(View& b);
    static void step(View& b);
    static void last(View& b);
};
struct scdyn_block {  // SCDYN
    struct P {
        enum : int { area, eta0, a1, a2, diffuseFactor, capacity, cp, series, rows, initial, segments };
        static constexpr block::Param table[] = {
            {"Area of one collector", "m$^2$", block::above(0), code::badCollectorArea},
            {"Optical efficiency $\\eta_0$", "-", block::finite(), code::notANumber},
            {"Linear heat-loss coefficient $a_1$", "W/(m$^2$ K)", block::finite(), code::notANumber},
            {"Quadratic heat-loss coefficient $a_2$", "W/(m$^2$ K$^2$)", block::finite(), code::notANumber},
            {"Incidence-angle factor of the diffuse irradiance", "-", block::finite(), code::notANumber},
            {"Effective heat capacity per unit collector area", "J/(m$^2$ K)", block::atLeast(0),
             code::badEffectiveCapacity},
            {"Specific heat capacity of the fluid", "J/(kg K)", block::above(0), code::badHeatCapacity},
            {"Collectors in series per row", "-", block::whole(1, FLT_MAX), code::badSeriesCount},
            {"Rows in parallel", "-", block::whole(1, FLT_MAX), code::badRowCount},
            {"Initial temperature of all segments", "$^\\circ$C", block::finite(), code::notANumber},
            // With the series count it gives the segments per row: initialisation checks those.
            {"Segments per collector", "-", block::finite(), code::notANumber},
        };
    };
    using View = block::View<table::st0027, P>;
    static bool tiesHold(View& b);
    static void init(View& b);
    static void step(View& b);
};
struct tankfm_block {  // TANKFM
    struct P {
        enum : int { volume, diameter, cp, density, lossCoefficient, initial };
        static constexpr block::Param table[] = {
            {"Volume of the tank", "m$^3$", block::above(0), code::badTankVolume},
            {"Inner diameter", "m", block::above(0), code::badTankDiameter},
            {"Specific heat capacity of the fluid", "J/(kg K)", block::above(0), code::badHeatCapacity},
            {"Density of the fluid", "kg/m$^3$", block::above(0), code::badDensity},
            {"Heat-loss coefficient of the surface", "W/(m$^2$ K)", block::atLeast(0), code::badLossCoefficient},
            {"Initial temperature", "$^\\circ$C", block::finite(), code::notANumber},
        };
    };
    using View = block::View<table::st0028, P>;
    static void init(View& b);
    static void step(View& b);
};
struct mixqhc_block {  // MIXQHC
    struct P {
        enum : int { powerLimit, unused, heatCapacity };
        static constexpr block::Param table[] = {
            {"Largest auxiliary power", "W", block::atLeast(0), code::badPowerLimit},
            {"Not used", "-"},
            {"Specific heat capacity of the fluid", "J/(kg K)", block::above(0), code::badHeatCapacity},
        };
    };
    using View = block::View<table::st0011, P>;
    static void step(View& b);
};
struct tublod_block {  // TUBLOD
    struct P {
        enum : int { wallHeatCapacity = pipe::kCommonCount, wallDensity, wallThickness, diameter, startTemperature,
                     density, segments };
        static constexpr int kMostSegments = 998;
        static constexpr block::Param table[] = {
            pipe::kCommon[pipe::lossCoefficient],
            pipe::kCommon[pipe::surcharge],
            pipe::kCommon[pipe::heatCapacity],
            pipe::kCommon[pipe::length],
            {"Specific heat capacity of the wall", "J/(kg K)", block::atLeast(0), code::badWall},
            {"Density of the wall", "kg/m$^3$", block::atLeast(0), code::badWall},
            {"Wall thickness", "m", block::atLeast(0), code::badWall},
            {"Inner diameter", "m", block::above(0), code::badPipeDiameter},
            {"Initial temperature of wall and fluid", "$^\\circ$C", block::finite(), code::parameterNotFinite},
            {"Density of the fluid", "kg/m$^3$", block::above(0), code::badDensity},
            // Truncated, as the segment count is taken.
            {"Number of segments", "-", block::Bound{.low = 1.0f, .high = kMostSegments + 1.0f, .belowHigh = true},
             code::badSegmentCount},
        };
    };
    using View = block::View<table::st0032, P>;
    static bool checksHold(View& b);
    static void init(View& b);
    static void step(View& b);
};
struct mixer_block {  // MIXER
    using View = block::View<table::st0034>;
    static void step(View& b);
};
struct ctrhys_block {  // CTRHYS
    struct P {
        enum : int { switchOn, hysteresis, lockMinimum };
        static constexpr block::Param table[] = {
            {"Switch-on value $x_{max}$", "unit of $x$", block::finite(), code::parameterNotFinite},
            {"Hysteresis $\\Delta x$", "unit of $x$ and $x_{cr}$", block::atLeast(0), code::badHysteresis},
            {"Minimum of the locking quantity", "unit of $x_{cr}$", block::finite(), code::parameterNotFinite},
        };
    };
    using View = block::View<table::st0036, P>;
    static void init(View& b);
    static void step(View& b);
};
struct ctrl4dy_block {  // CTRL4DY
    struct P {
        enum : int { primaryFlow, secondaryFlow, switchOn, minimumRun, primaryPower, secondaryPower, together,
                     chargingFlow, supply, heatCapacity, heatingDrop };
        static constexpr block::Param table[] = {
            {"Primary collector-loop flow", "kg/s", block::finite(), code::parameterNotFinite},
            {"Secondary collector-loop flow", "kg/s", block::finite(), code::parameterNotFinite},
            {"Switch-on temperature difference", "K", block::finite(), code::parameterNotFinite},
            {"Minimum run time of the collector loop", "unit of input 5", block::finite(), code::parameterNotFinite},
            {"Primary pump power", "W", block::finite(), code::parameterNotFinite},
            {"Secondary pump power", "W", block::finite(), code::parameterNotFinite},
            {"Both pumps start together when its whole part is not 0", "-", block::finite(), code::parameterNotFinite},
            {"Charging flow of the hot-water store", "kg/s", block::finite(), code::parameterNotFinite},
            {"Hot-water supply temperature", "$^\\circ$C", block::finite(), code::parameterNotFinite},
            {"Specific heat capacity of water", "J/(kg K)", block::above(0), code::badHeatCapacity},
            {"Temperature drop of the heating", "K", block::above(0), code::badTemperatureDrop},
        };
    };
    using View = block::View<table::st0039, P>;
    static void init(View& b);
    static void step(View& b);
};
struct ctrlda_block {  // CTRLDA
    struct P {
        enum : int { generatorFlow, absorberFlow, evaporatorFlow, lowestGenerator, generatorStart, lowestAbsorber,
                     coldSupply, coldReturn, lowestEvaporator, generatorPump, absorberPump, evaporatorPump,
                     chillerPower, distributionPump };
        static constexpr block::Param table[] = {
            {"Generator flow", "kg/s", block::finite(), code::parameterNotFinite},
            {"Absorber flow", "kg/s", block::finite(), code::parameterNotFinite},
            {"Evaporator flow", "kg/s", block::finite(), code::parameterNotFinite},
            {"Lowest generator temperature", "$^\\circ$C", block::finite(), code::parameterNotFinite},
            {"Start temperature of the generator", "$^\\circ$C", block::finite(), code::parameterNotFinite},
            {"Lowest absorber inlet temperature", "$^\\circ$C", block::finite(), code::parameterNotFinite},
            {"Cold supply temperature", "$^\\circ$C", block::finite(), code::parameterNotFinite},
            {"Cold return temperature", "$^\\circ$C", block::finite(), code::parameterNotFinite},
            {"Lowest evaporator outlet temperature", "$^\\circ$C", block::finite(), code::parameterNotFinite},
            {"Generator pump power", "kW", block::finite(), code::parameterNotFinite},
            {"Absorber pump power", "kW", block::finite(), code::parameterNotFinite},
            {"Evaporator pump power", "kW", block::finite(), code::parameterNotFinite},
            {"Chiller power", "kW", block::finite(), code::parameterNotFinite},
            {"Distribution pump power at the design flow", "kW", block::finite(), code::parameterNotFinite},
        };
    };
    using View = block::View<table::st0040, P>;
    static bool tiesHold(View& b);
    static void init(View& b);
    static void step(View& b);
};
struct threev_block {  // THREEV
    struct P {
        enum : int { runningTime };
        static constexpr block::Param table[] = {
            {"Running time of the actuator over the full stroke", "s", block::finite(), code::parameterNotFinite},
        };
    };
    using View = block::View<table::st0041, P>;
    static void init(View& b);
    static void step(View& b);
};
struct tublo_block {  // TUBLO
    struct P {
        static constexpr block::Param table[] = {
            pipe::kCommon[pipe::lossCoefficient],
            pipe::kCommon[pipe::surcharge],
            pipe::kCommon[pipe::heatCapacity],
            pipe::kCommon[pipe::length],
        };
    };
    using View = block::View<table::st0042, P>;
    static void step(View& b);
};
struct r134a_block {  // R134A
    using View = block::View<table::st0043>;
    static void step(View& b);
};

struct dptube_block {  // DPTUBE DPCH
    struct P {
        enum Tube : int { diameter, length, roughness, flap };
        enum Channel : int { width, height, channelLength, channelRoughness, flapType };
        static constexpr block::Param table[] = {
            {"Inner diameter", "m", block::above(0), code::badDiameter},
            {"Length", "m", block::above(0), code::badLength},
            {"Wall roughness", "mm", block::above(0), code::badLength},
            {"Flap", "-", block::mode(2), code::badFlapType},
            {"Not used", "-"},
        };
        // A channel may be smooth; a negative roughness has no friction factor at all.
        static constexpr block::Param channel[] = {
            {"Width", "m", block::above(0), code::badLength},
            {"Height", "m", block::above(0), code::badLength},
            {"Length", "m", block::above(0), code::badChannelLength},
            {"Wall roughness", "mm", block::atLeast(0), code::badLength},
            {"Flap type", "-", block::mode(4), code::badFlapType},
        };
        static constexpr std::span<const block::Param> forms[] = {table, channel};
    };
    using View = block::View<table::st0007, P>;
    static bool checksHold(View& b);
    static void init(View& b);
    static void step(View& b);
};
struct dhyd_block {  // DHYD DSTAR
    struct P {
        enum : int { sideA, sideB };
        // A side not above 0 is a bad length, as for the channel of DPCH.
        static constexpr block::Param table[] = {
            {"Side a", "m", block::above(0), code::badLength},
            {"Side b", "m", block::above(0), code::badLength},
        };
    };
    using View = block::View<table::st0016, P>;
    static bool tiesHold(View& b);
    static void init(View& b);
    static void step(View& b);
};
struct dpdif_block {  // DPDIF VDIF
    struct P {
        enum : int { inletDiameter, outletDiameter, length };
        // VDIF's outlet diameter must differ from the inlet's: initialisation checks it.
        static constexpr block::Param table[] = {
            {"Inlet diameter", "m", block::above(0), code::badDiameter},
            {"Outlet diameter", "m", block::above(0), code::badDiameter},
            {"Length", "m", block::above(0), code::badLength},
        };
    };
    using View = block::View<table::st0018, P>;
    static bool tiesHold(View& b);
    static void init(View& b);
    static void takeChange(View& b);
    static void step(View& b);
};
struct dpzeta_block {  // DPZETA DPIN DPOUT VZETA VIN VOUT
    struct P {
        enum : int { area, loss };
        static constexpr block::Param table[] = {
            {"Cross-section area", "m$^2$", block::above(0), code::badArea},
            {"Loss coefficient", "-", block::above(0), code::zetaNotPositive},
        };
        // Both inlet forms take the type: with none of the four, VIN would divide by a loss of 0.
        static constexpr block::Param inlet[] = {
            {"Cross-section area", "m$^2$", block::above(0), code::badArea},
            {"Inlet type", "-", block::whole(0, 3), code::badInletType},
        };
        static constexpr block::Param outlet[] = {
            {"Cross-section area", "m$^2$", block::above(0), code::badArea},
            {"Not used", "-"},
        };
        static constexpr std::span<const block::Param> forms[] = {table, inlet, outlet, table, inlet, outlet};
    };
    using View = block::View<table::st0019, P>;
    static void init(View& b);
    static void takeChange(View& b);
    static void step(View& b);
};
struct dpred_block {  // DPRED VRED
    struct P {
        enum : int { inletDiameter, outletDiameter, length, inletType };
        // The outlet narrower than the inlet, and a cone not too steep: initialisation
        // checks those.
        static constexpr block::Param table[] = {
            {"Inlet diameter", "m", block::above(0), code::badDiameter},
            {"Outlet diameter", "m", block::above(0), code::badDiameter},
            {"Length", "m", block::atLeast(0), code::badLength},
            {"Inlet type of a sudden contraction", "-", block::whole(0, 3), code::badInletType},
        };
    };
    using View = block::View<table::st0020, P>;
    static bool tiesHold(View& b);
    static void init(View& b);
    static void takeChange(View& b);
    static void step(View& b);
};
struct dpbowr_block {  // DPBOWR VBOWR
    struct P {
        enum : int { diameter, radius, angle };
        static constexpr block::Param table[] = {
            {"Diameter", "m", block::above(0), code::badDiameter},
            {"Bend radius", "m", block::above(0), code::badBendRadius},
            {"Bend angle", "degrees", block::atLeast(0), code::badAngle},
        };
        // A bend of 0 degrees loses nothing: VBOWR would take an infinite flow from any drop.
        static constexpr block::Param vbowr[] = {
            {"Diameter", "m", block::above(0), code::badDiameter},
            {"Bend radius", "m", block::above(0), code::badBendRadius},
            {"Bend angle", "degrees", block::above(0), code::badAngle},
        };
        static constexpr std::span<const block::Param> forms[] = {table, vbowr};
    };
    using View = block::View<table::st0021, P>;
    static void init(View& b);
    static void takeChange(View& b);
    static void step(View& b);
};
struct dpbrar_block {  // DPBRAR DPJUNR
    struct P {
        enum : int { common, straight, branch, angle };
        static constexpr block::Param table[] = {
            {"Diameter of the common leg", "m", block::above(0), code::badDiameter},
            {"Diameter of the straight leg", "m", block::above(0), code::badDiameter},
            {"Diameter of the branch", "m", block::above(0), code::badDiameter},
            {"Angle between branch and straight leg", "degrees", block::within(0, 90), code::badAngle},
        };
    };
    using View = block::View<table::st0023, P>;
    static void init(View& b);
    static void takeChange(View& b);
    static void step(View& b);
};
struct dppara_block {  // DPPARA
    using View = block::View<table::st0024>;
    static void step(View& b);
};
struct gr_block {  // GR
    using View = block::View<table::st0033>;
    static void step(View& b);
};

struct dwheel_block {  // DWHEEL
    struct P {
        enum : int { effectiveness, power };
        static constexpr block::Param table[] = {
            {"Effectiveness", "-", block::finite(), code::parameterNotFinite},
            {"Power while the wheel turns", "any unit", block::finite(), code::parameterNotFinite},
        };
    };
    using View = block::View<table::st0004, P>;
    static void step(View& b);
};
struct evcool_block {  // EVCOOL
    struct P {
        enum : int { efficiency, nominal, power, waterFactor };
        static constexpr block::Param table[] = {
            {"Humidifier efficiency", "-", block::finite(), code::parameterNotFinite},
            {"Nominal operating quantity", "any unit", block::above(0), code::badNominalQuantity},
            {"Power at the nominal operating quantity", "any unit", block::finite(), code::parameterNotFinite},
            {"Factor from the rise of the humidity ratio to output 4", "any unit", block::finite(),
             code::parameterNotFinite},
        };
    };
    using View = block::View<table::st0006, P>;
    static void step(View& b);
};
struct sorb_block {  // SORB
    struct P {
        enum : int { model, tolerance, iterations };
        // Far more than halving or the temperature correction needs; a step that does not
        // converge costs that many isotherm evaluations.
        static constexpr float kMostIterations = 1000.0f;
        static constexpr block::Param table[] = {
            // Read to its nearest whole number, but its fractions choose as well (model 1's
            // inverse and corrected forms): the rule is on the number itself, not a count.
            {"Model", "-", {.low = -0.5f, .high = 3.5f, .aboveLow = true, .belowHigh = true}, code::badMode},
            {"Tolerance of the relative humidity in the temperature correction", "-", block::any(), {},
             block::orDefault(1.0e-4f, block::Bound{.low = 0.0f, .aboveLow = true})},
            {"Largest number of iterations of model 1", "-", block::whole(-std::numeric_limits<float>::infinity(), kMostIterations),
             code::tooManyIterations, block::orDefault(20.0f, block::whole(1.0f, kMostIterations))},
        };
    };
    using View = block::View<table::st0014, P>;
    static bool tiesHold(View& b);
    static void init(View& b);
    static void takeChange(View& b) { init(b); }
    static void step(View& b);
    static void last(View& b);
};
struct escool_block {  // ESCOOL
    struct P {
        enum : int { efficiency, power, waterFactor };
        static constexpr block::Param table[] = {
            {"Humidifier efficiency", "-", block::finite(), code::parameterNotFinite},
            {"Power while on", "any unit", block::finite(), code::parameterNotFinite},
            {"Factor from the rise of the humidity ratio to output 4", "any unit", block::finite(),
             code::parameterNotFinite},
        };
    };
    using View = block::View<table::st0035, P>;
    static void step(View& b);
};
struct airheat_block {  // AIRHEAT
    struct P {
        enum : int { nominalHeat, nominalWaterInlet, nominalWaterFlow, waterDensity, waterHeatCapacity, nominalAirInlet,
                     nominalAirFlow, fanPower, faceWidth, faceHeight };
        static constexpr block::Param table[] = {
            {"Nominal heat output given to the air", "kW", block::finite(), code::parameterNotFinite},
            {"Nominal water inlet temperature", "degC", block::finite(), code::parameterNotFinite},
            {"Nominal water volume flow", "m$^3$/h", block::above(0), code::badCoilParameter},
            {"Water density", "kg/m$^3$", block::above(0), code::badCoilParameter},
            {"Water specific heat capacity", "kJ/(kg K)", block::above(0), code::badHeatCapacity},
            {"Nominal air inlet temperature", "degC", block::finite(), code::parameterNotFinite},
            {"Nominal air volume flow at full fan speed", "m$^3$/h", block::above(0), code::badCoilParameter},
            {"Fan electric power at full speed", "any unit", block::finite(), code::parameterNotFinite},
            {"First dimension of the coil's free face", "m", block::above(0), code::badCoilParameter},
            {"Second dimension of the coil's free face", "m", block::above(0), code::badCoilParameter},
        };
    };
    using View = block::View<table::st0037, P>;
    static bool tiesHold(View& b);
    static void init(View& b);
    static void step(View& b);
    static void last(View& b);
};

struct scairc_block {  // SCAIRC
    struct P : aircollector::Parameters {
        static constexpr auto table = aircollector::buildTable("Thickness of the fins between the channels");
    };
    using View = block::View<table::st0001, P>;
    static bool checksHold(View& b);
    static void step(View& b);
    static void last(View& b);
};
struct scaircd_block {  // SCAIRCD
    struct P : aircollector::Parameters {
        enum : int { backThickness = count, backDensity, backHeatCapacity, finDensity, finHeatCapacity };
        static constexpr auto table = aircollector::buildTable<5>(
            "Thickness of the absorber and the fins",
            {{{"Back-plate thickness", "m", block::above(0), code::badSize},
              {"Back-plate density", "kg/m$^3$", block::above(0), code::badCapacity},
              {"Back-plate specific heat capacity", "J/(kg K)", block::above(0), code::badCapacity},
              {"Density of absorber and fins", "kg/m$^3$", block::above(0), code::badCapacity},
              {"Specific heat capacity of absorber and fins", "J/(kg K)", block::above(0), code::badCapacity}}});
    };
    using View = block::View<table::st0029, P>;
    static bool checksHold(View& b);
    static bool tiesHold(View& b);
    static void init(View& b);
    static void step(View& b);
};
struct hxxi_block {  // HXXI
    struct P {
        enum : int {
            supplyChannels, supplyHeight, supplyWidth, supplyLength,
            exhaustChannels, exhaustHeight, exhaustWidth, exhaustLength,
            plate, kind, ribThickness, supplyRibs, exhaustRibs, conductivity, u, v, pressure
        };
        // Counts are taken by their whole parts; the grid holds at most 199 cells a side.
        static constexpr block::Bound kChannels{.low = 1.0f, .high = 1e9f, .belowHigh = true};
        static constexpr block::Bound kCells{.low = 1.0f, .high = 200.0f, .belowHigh = true};
        // The ribs are read only when the channels are ribbed: checked at initialisation
        // together with the kind of channels.
        static constexpr block::Param table[] = {
            {"Supply-air channels", "-", kChannels, code::badGridCount},
            {"Height of a supply-air channel", "m", block::above(0), code::badSize},
            {"Width of a supply-air channel", "m", block::above(0), code::badSize},
            {"Length of a supply-air channel", "m", block::above(0), code::badSize},
            {"Exhaust-air channels", "-", kChannels, code::badGridCount},
            {"Height of an exhaust-air channel", "m", block::above(0), code::badSize},
            {"Width of an exhaust-air channel", "m", block::above(0), code::badSize},
            {"Length of an exhaust-air channel", "m", block::above(0), code::badSize},
            {"Plate thickness", "m", block::above(0), code::badSize},
            {"Kind of channels", "-", block::finite(), code::parameterNotFinite},
            {"Rib thickness", "m"},
            {"Ribs across a supply-air channel", "-"},
            {"Ribs across an exhaust-air channel", "-"},
            {"Conductivity of plate and ribs", "W/(m K)", block::above(0), code::badThermalConductivity},
            {"Cells across the supply-air flow", "-", kCells, code::badGridCount},
            {"Cells across the exhaust-air flow", "-", kCells, code::badGridCount},
            {"Air pressure", "Pa", block::above(0), code::badAirPressure},
        };
    };
    using View = block::View<table::st0017, P>;
    static bool tiesHold(View& b);
    static void init(View& b);
    static void takeChange(View& b);
    static void step(View& b);
};
struct hxc_block {  // HXC
    struct P {
        enum : int { effectiveness, running };
        static constexpr block::Param table[] = {
            {"Temperature effectiveness $\\varepsilon$", "-", block::finite(), code::parameterNotFinite},
            {"Value of output 3 while running", "any unit", block::finite(), code::parameterNotFinite},
        };
    };
    using View = block::View<table::st0005, P>;
    static void step(View& b);
};
struct hxs_block {  // HXS
    struct P {
        enum : int { arrangement, ua, cpHot, cpCold };
        static constexpr block::Param table[] = {
            {"Flow arrangement", "-", block::mode(3), code::badMode},
            {"Heat-transfer coefficient times area UA", "W/K", block::above(0), code::badTransferCapacity},
            {"Specific heat capacity of the hot stream", "J/(kg K)", block::above(0), code::badStreamHeatCapacity},
            {"Specific heat capacity of the cold stream", "J/(kg K)", block::above(0), code::badStreamHeatCapacity},
        };
    };
    using View = block::View<table::st0015, P>;
    static void init(View& b);
    // What init derives from the parameters is all it does: it serves after a change too.
    static void takeChange(View& b) { init(b); }
    static void step(View& b);
};

struct pvtcool_block {  // PVTCOOL
    struct P {
        enum : int {
            model, pvModel, ukMode, uiMode, aa, beta, gammaa, eta0, bu, b1, b2, alphath, epsalpha, ceff, cf, kdth,
            unrth, ugf, epspv, taupv, kdpv, unrpv, etastc, ik, impp, ul, umpp, ct, relax, epsgr
        };
        // Every parameter a finite number. The PV model and its characteristic are read by
        // the PV models alone: initialisation checks them together with the model.
        static constexpr block::Param table[] = {
            {"Model", "-", {.low = 1.0f, .high = 5.0f, .belowHigh = true}, code::badMode},
            {"PV model", "-", block::finite(), code::parameterNotFinite},
            {"Outer convective coefficient", "-", block::finite(), code::parameterNotFinite},
            {"Coefficient between absorber and fluid", "-", block::finite(), code::parameterNotFinite},
            {"Collector area", "m$^2$", block::atLeast(0.5f), code::areaBelowSegment},
            {"Tilt angle", "degrees", block::finite(), code::parameterNotFinite},
            {"Azimuth of the collector", "degrees", block::finite(), code::parameterNotFinite},
            {"Zero-loss efficiency $\\eta_0$", "-", block::finite(), code::parameterNotFinite},
            {"Wind dependence $b_u$ of the zero-loss efficiency", "s/m", block::finite(), code::parameterNotFinite},
            {"Heat-loss coefficient $b_1$", "W/(m$^2$ K)", block::finite(), code::parameterNotFinite},
            {"Wind-dependent heat-loss coefficient $b_2$", "J/(m$^3$ K)", block::finite(), code::parameterNotFinite},
            {"Absorptance", "-", block::finite(), code::parameterNotFinite},
            {"Factor of the long-wave balance in the net irradiance", "-", block::finite(), code::parameterNotFinite},
            {"Effective heat capacity per area", "kJ/(m$^2$ K)", block::above(0), code::badCapacity},
            {"Specific heat capacity of the fluid", "kJ/(kg K)", block::above(0), code::badCapacity},
            {"Diffuse-irradiance modifier", "-", block::finite(), code::parameterNotFinite},
            {"Incidence-angle-modifier model", "-", block::finite(), code::parameterNotFinite},
            {"Heat-transfer coefficient between absorber and surface layer", "W/(m$^2$ K)", block::finite(),
             code::parameterNotFinite},
            {"Long-wave emissivity of the surface", "-", block::finite(), code::parameterNotFinite},
            {"Transmittance of the surface layer", "-", block::finite(), code::parameterNotFinite},
            {"Diffuse-irradiance modifier", "-", block::finite(), code::parameterNotFinite},
            {"Incidence-angle-modifier model", "-", block::finite(), code::parameterNotFinite},
            {"PV efficiency at standard test conditions", "-", block::finite(), code::parameterNotFinite},
            {"Short-circuit current", "A", block::finite(), code::parameterNotFinite},
            {"Current at the maximum power point", "A", block::finite(), code::parameterNotFinite},
            {"Open-circuit voltage", "V", block::finite(), code::parameterNotFinite},
            {"Voltage at the maximum power point", "V", block::finite(), code::parameterNotFinite},
            {"Temperature coefficient of the PV", "\\%/K", block::finite(), code::parameterNotFinite},
            {"Relaxation factor of the iteration of models 2 to 4", "-", block::finite(), code::parameterNotFinite},
            {"Long-wave emissivity of the ground", "-", block::finite(), code::parameterNotFinite,
             block::orDefault(0.0f)},
        };
    };
    using View = block::View<table::st0044, P>;
    static bool tiesHold(View& b);
    static void init(View& b);
    static void takeChange(View& b);
    static void step(View& b);
    static void last(View& b);
};
struct pvt_block {  // PVT
    struct P {
        enum : int {
            length, gapDepth, thickness, efficiency, frontEmissivity, backEmissivity, absorptance, transmittance,
            conductivity, gapWidth, wallAbsorptance, wallEmissivity, wallResistance
        };
        static constexpr block::Bound kEmissivity{.low = 0, .high = 1, .aboveLow = true};
        static constexpr block::Param table[] = {
            {"Characteristic length of the convection coefficients", "m", block::above(0), code::badSize},
            {"Gap depth", "m", block::above(0), code::badSize},
            {"Module thickness", "m", block::finite(), code::parameterNotFinite},
            {"Electrical efficiency of the module", "-", block::finite(), code::parameterNotFinite},
            {"Emissivity of the module front", "-", kEmissivity, code::badOpenEmissivity},
            {"Emissivity of the module back", "-", kEmissivity, code::badOpenEmissivity},
            {"Absorptance of the module", "-", block::finite(), code::parameterNotFinite},
            {"Transmittance of the module", "-", block::finite(), code::parameterNotFinite},
            {"Thermal conductivity of the module", "W/(m K)", block::above(0), code::badConductivityAbove},
            {"Gap width", "m", block::above(0), code::badSize},
            {"Absorptance of the wall", "-", block::finite(), code::parameterNotFinite},
            {"Emissivity of the wall", "-", kEmissivity, code::badOpenEmissivity},
            {"Thermal resistance of the wall", "m$^2$ K/W", block::atLeast(0), code::badResistance},
        };
    };
    using View = block::View<table::st0002, P>;
    static void init(View& b);
    static void step(View& b);
    static void last(View& b);
};

struct decctl_block {  // DECCTL
    struct P {
        enum : int {
            minimumSupply, stageSevenInlet, maximumOutlet, nominalFlow, heaterFlow,
            maximumPower, tolerance, searchSteps, minimumFlow, fullFlow
        };
        static constexpr block::Param table[] = {
            {"Minimum supply temperature", "degC", block::finite(), code::parameterNotFinite},
            {"Heater inlet temperature above which stage 7 sets switch B", "degC", block::finite(),
             code::parameterNotFinite},
            {"Maximum heater outlet temperature", "degC", block::finite(), code::parameterNotFinite},
            {"Nominal air flow", "m$^3$/h", block::above(0), code::parameterNotAbove},
            {"Heater air flow", "m$^3$/h", block::finite(), code::parameterNotFinite},
            {"Maximum heater power", "kW", block::atLeast(0), code::badHeaterPower},
            {"Temperature tolerance of the heater search", "K", block::finite(), code::parameterNotFinite},
            {"Largest number of steps of the heater search", "-", block::finite(), code::parameterNotFinite},
            {"Minimum air flow", "m$^3$/h", block::finite(), code::parameterNotFinite},
            {"Full air flow when the outdoor air is too warm", "-", block::finite(), code::parameterNotFinite},
        };
    };
    using View = block::View<table::st0022, P>;
    static void init(View& b);
    static void step(View& b);
    static void last(View& b);
};
struct deccty_block {  // DECCTY
    struct P {
        enum : int { minimumSupply, heaterOutlet, unused, nominalFlow, minimumFlow, heaterFlow, heaterPower, tolerance,
                     searchSteps, continuous };
        static constexpr block::Param table[] = {
            {"Minimum supply temperature", "degC", block::finite(), code::parameterNotFinite},
            {"Maximum heater outlet temperature", "degC", block::finite(), code::parameterNotFinite},
            {"Not used", "-", block::finite(), code::parameterNotFinite},
            {"Nominal air flow", "m$^3$/h", block::above(0), code::parameterNotAbove},
            {"Minimum air flow", "m$^3$/h", block::finite(), code::parameterNotFinite},
            {"Heater air flow", "m$^3$/h", block::finite(), code::parameterNotFinite},
            {"Maximum heater power", "kW", block::atLeast(0), code::badHeaterPower},
            {"Temperature tolerance of the level search", "K", block::finite(), code::parameterNotFinite},
            {"Largest number of steps of the level search", "-", block::finite(), code::parameterNotFinite},
            {"Continuous level search in stages 5 to 7 when not 0", "-", block::finite(), code::parameterNotFinite},
        };
    };
    using View = block::View<table::st0038, P>;
    static void init(View& b);
    static void step(View& b);
    static void last(View& b);
};
struct cooltw_block {  // COOLTW
    struct P {
        enum : int { designPower, designInlet, designOutlet, designFlow, designAir, designWetBulb, fanPower, packing,
                     makeUpFirst, makeUpSecond };
        // The packing fit's two zeros as floats: between them, and only there, the fit is
        // positive.
        static constexpr float kLowestPacking = -0x1.da77d4p-3f, kHighestPacking = 0x1.3c5fdp+1f;
        static constexpr block::Param table[] = {
            {"Design cooling power", "kW", block::finite(), code::parameterNotFinite},
            {"Design water inlet temperature", "degC", block::finite(), code::parameterNotFinite},
            {"Design water outlet temperature", "degC", block::finite(), code::parameterNotFinite},
            {"Design water mass flow", "kg/s", block::above(0), code::parameterNotAbove},
            {"Design air temperature", "degC", block::finite(), code::parameterNotFinite},
            {"Design wet-bulb temperature", "degC", block::finite(), code::parameterNotFinite},
            {"Fan power at full speed", "any unit", block::finite(), code::parameterNotFinite},
            {"Packing height", "m",
             block::Bound{.low = kLowestPacking, .high = kHighestPacking, .aboveLow = true, .belowHigh = true},
             code::packingDoesNotCool},
            {"Make-up water per unit of rejected heat", "kg/h per kW", block::finite(), code::parameterNotFinite},
            {"Make-up water per unit of rejected heat", "kg/h per kW", block::finite(), code::parameterNotFinite},
        };
    };
    using View = block::View<table::st0030, P>;
    static bool tiesHold(View& b);
    static void init(View& b);
    static void step(View& b);
    static void last(View& b);
};
struct hxearth_block {  // HXEARTH
    struct P {
        enum : int { depth, soilDensity, soilHeatCapacity, soilConductivity, radius, length, fanEfficiency, fanPosition,
                     dampingLength, segments, shapeSpacing, buildingResistance, buildingTemperature,
                     buildingDistance, pipes, pipeDistance, weight, unused };
        static constexpr float kMostSegments = 10000.0f;
        static constexpr block::Param table[] = {
            {"Pipe depth", "m", block::finite(), code::parameterNotFinite},
            {"Soil density", "kg/m$^3$", block::above(0), code::parameterNotAbove},
            {"Soil specific heat capacity", "J/(kg K)", block::above(0), code::parameterNotAbove},
            {"Soil thermal conductivity", "W/(m K)", block::above(0), code::soilConductivity},
            {"Pipe radius", "m", block::above(0), code::parameterNotAbove},
            {"Pipe length", "m", block::above(0), code::parameterNotAbove},
            {"Fan efficiency", "-", block::finite(), code::parameterNotFinite},
            {"Fan position", "-", block::finite(), code::parameterNotFinite},
            {"Damping length of the ambient influence", "m", block::above(0), code::parameterNotAbove},
            {"Number of segments", "-", block::whole(0, kMostSegments), code::badEarthSegments},
            {"Spacing in the surface shape factor", "m", block::finite(), code::parameterNotFinite},
            {"Building coupling resistance", "-", block::finite(), code::parameterNotFinite},
            {"Building temperature", "degC", block::finite(), code::parameterNotFinite},
            {"Distance from the building", "m", block::finite(), code::parameterNotFinite},
            {"Number of parallel pipes", "-", block::above(0), code::parameterNotAbove},
            {"Distance between parallel pipes", "m", block::finite(), code::parameterNotFinite},
            {"Soil-to-pipe weighting factor", "-", block::atLeast(0), code::parameterBelow},
            {"Not used", "-"},
        };
    };
    using View = block::View<table::st0031, P>;
    static bool tiesHold(View& b);
    static void init(View& b);
    static void takeChange(View& b) { init(b); }
    static void step(View& b);
};

}  // namespace vireo::st

#endif
