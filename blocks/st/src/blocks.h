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
    using View = block::View<table::st0025>;
    static void init(View& b);
    static void step(View& b);
    static void last(View& b);
};
struct acm_block {  // ACM
    using View = block::View<table::st0026>;
    static void init(View& b);
    static void step(View& b);
    static void last(View& b);
};
struct scdyn_block {  // SCDYN
    using View = block::View<table::st0027>;
    static void init(View& b);
    static void step(View& b);
};
struct tankfm_block {  // TANKFM
    using View = block::View<table::st0028>;
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
    using View = block::View<table::st0018>;
    static void init(View& b);
    static void step(View& b);
};
struct dpzeta_block {  // DPZETA DPIN DPOUT VZETA VIN VOUT
    using View = block::View<table::st0019>;
    static void init(View& b);
    static void step(View& b);
};
struct dpred_block {  // DPRED VRED
    using View = block::View<table::st0020>;
    static void init(View& b);
    static void step(View& b);
};
struct dpbowr_block {  // DPBOWR VBOWR
    using View = block::View<table::st0021>;
    static void init(View& b);
    static void step(View& b);
};
struct dpbrar_block {  // DPBRAR DPJUNR
    using View = block::View<table::st0023>;
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
    using View = block::View<table::st0022>;
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
