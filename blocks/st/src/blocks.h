// The block routines of libVireoST: physics only, over a typed view of the block arrays.
// The identity table (table.h) names each of them; the frame does identification and
// dispatch. A block keeps state between calls only in its own arrays.
#ifndef VIREO_ST_BLOCKS_H
#define VIREO_ST_BLOCKS_H

#include "BlockFrame.h"
#include "messages.h"
#include "table.h"


namespace vireo::st {

using block::BlockView;
using block::IdentifyOnly;
using block::Rule;

struct tankst_block {  // TANKST
    using View = block::View<table::st0003>;
    static void init(View& b);
    static void step(View& b);
};
struct sceta_block {  // SCETA
    using View = block::View<table::st0008>;
    static void init(View& b);
    static void step(View& b);
    static void last(View& b);
};
struct satp_block {  // SATP SATT
    using View = block::View<table::st0009>;
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
        // The model's rule depends on the form (LBWH's alone): initialisation checks it.
        static constexpr block::Param table[] = {
            {"Model", "-"},
            {"Substitute", "as the output"},
        };
    };
    using View = block::View<table::st0025, P>;
    static void init(View& b);
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
    using View = block::View<table::st0011>;
    static void init(View& b);
    static void step(View& b);
};
struct tublod_block {  // TUBLOD
    using View = block::View<table::st0032>;
    static void init(View& b);
    static void step(View& b);
};
struct mixer_block {  // MIXER
    using View = block::View<table::st0034>;
    static void step(View& b);
};
struct ctrhys_block {  // CTRHYS
    using View = block::View<table::st0036>;
    static void init(View& b);
    static void step(View& b);
};
struct ctrl4dy_block {  // CTRL4DY
    using View = block::View<table::st0039>;
    static void init(View& b);
    static void step(View& b);
};
struct ctrlda_block {  // CTRLDA
    using View = block::View<table::st0040>;
    static void init(View& b);
    static void step(View& b);
};
struct threev_block {  // THREEV
    using View = block::View<table::st0041>;
    static void init(View& b);
    static void step(View& b);
};
struct tublo_block {  // TUBLO
    using View = block::View<table::st0042>;
    static void init(View& b);
    static void step(View& b);
};
struct r134a_block {  // R134A
    using View = block::View<table::st0043>;
    static void step(View& b);
};

struct dptube_block {  // DPTUBE DPCH
    using View = block::View<table::st0007>;
    static void init(View& b);
    static void step(View& b);
};
struct dhyd_block {  // DHYD DSTAR
    using View = block::View<table::st0016>;
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
    static void init(View& b);
    static void step(View& b);
};
struct dpzeta_block {  // DPZETA DPIN DPOUT VZETA VIN VOUT
    struct P {
        enum : int { area, loss };
        // What the second parameter is, and its rule, depends on the form: initialisation
        // checks it.
        static constexpr block::Param table[] = {
            {"Cross-section area", "m$^2$", block::above(0), code::badArea},
            {"Loss coefficient or inlet type", "-"},
        };
    };
    using View = block::View<table::st0019, P>;
    static void init(View& b);
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
    static void init(View& b);
    static void step(View& b);
};
struct dpbowr_block {  // DPBOWR VBOWR
    struct P {
        enum : int { diameter, radius, angle };
        // VBOWR's angle must lie above 0: initialisation checks it.
        static constexpr block::Param table[] = {
            {"Diameter", "m", block::above(0), code::badDiameter},
            {"Bend radius", "m", block::above(0), code::badBendRadius},
            {"Bend angle", "degrees", block::atLeast(0), code::badAngle},
        };
    };
    using View = block::View<table::st0021, P>;
    static void init(View& b);
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
    using View = block::View<table::st0004>;
    static void init(View& b);
    static void step(View& b);
};
struct evcool_block {  // EVCOOL
    using View = block::View<table::st0006>;
    static void init(View& b);
    static void step(View& b);
};
struct sorb_block {  // SORB
    struct P {
        enum : int { model, tolerance, iterations };
        // Far more than halving or the temperature correction needs; a step that does not
        // converge costs that many isotherm evaluations.
        static constexpr float kMostIterations = 1000.0f;
        static constexpr block::Param table[] = {
            {"Model", "-", block::mode(4), code::badMode},
            {"Tolerance of the relative humidity in the temperature correction", "-", block::any(), {},
             block::orDefault(1.0e-4f, block::Bound{.low = 0.0f, .aboveLow = true})},
            {"Largest number of iterations of model 1", "-", block::whole(-std::numeric_limits<float>::infinity(), kMostIterations),
             code::tooManyIterations, block::orDefault(20.0f, block::whole(1.0f, kMostIterations))},
        };
    };
    using View = block::View<table::st0014, P>;
    static void init(View& b);
    static void step(View& b);
    static void last(View& b);
};
struct escool_block {  // ESCOOL
    using View = block::View<table::st0035>;
    static void init(View& b);
    static void step(View& b);
};
struct airheat_block {  // AIRHEAT
    using View = block::View<table::st0037>;
    static void init(View& b);
    static void step(View& b);
    static void last(View& b);
};

struct scairc_block {  // SCAIRC
    using View = block::View<table::st0001>;
    static void init(View& b);
    static void step(View& b);
    static void last(View& b);
};
struct scaircd_block {  // SCAIRCD
    using View = block::View<table::st0029>;
    static void init(View& b);
    static void step(View& b);
};
struct hxxi_block {  // HXXI
    using View = block::View<table::st0017>;
    static void init(View& b);
    static void step(View& b);
};
struct hxc_block {  // HXC
    using View = block::View<table::st0005>;
    static void init(View& b);
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
    static void step(View& b);
};

struct pvtcool_block {  // PVTCOOL
    using View = block::View<table::st0044>;
    static void init(View& b);
    static void step(View& b);
    static void last(View& b);
};
struct pvt_block {  // PVT
    using View = block::View<table::st0002>;
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
    using View = block::View<table::st0038>;
    static void init(View& b);
    static void step(View& b);
    static void last(View& b);
};
struct cooltw_block {  // COOLTW
    using View = block::View<table::st0030>;
    static void init(View& b);
    static void step(View& b);
    static void last(View& b);
};
struct hxearth_block {  // HXEARTH
    using View = block::View<table::st0031>;
    static void init(View& b);
    static void step(View& b);
};

}  // namespace vireo::st

#endif
