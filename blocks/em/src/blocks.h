// The block routines of libVireoEM: physics only, over a typed view of the block arrays.
// The identity table (table.h) names each of them; the frame does identification and
// dispatch. A block keeps state between calls only in its own arrays.
#ifndef VIREO_EM_BLOCKS_H
#define VIREO_EM_BLOCKS_H

#include "BlockFrame.h"
#include "eastward.h"
#include "messages.h"
#include "table.h"
#include "tilted.h"

namespace vireo::em {

using block::BlockView;
using block::IdentifyOnly;
using block::Rule;

// Rows that several tables share: a site, checked by checkSite among the block's checks
// (after an eastward form has rewritten it), and the weather generators' daily model,
// whose pair of autocorrelations each generator checks as a pair.
namespace rows {
inline constexpr block::Param latitude{"Latitude", "degrees"};
inline constexpr block::Param longitude{"Longitude", "degrees"};
inline constexpr block::Param timeZone{"Time zone", "h"};
inline constexpr block::Param varianceFactor{"Variance factor on the variance of the daily clearness index", "-",
                                             block::within(0, 10), code::badVarianceFactor};
inline constexpr block::Param yearFactor{"Year-to-year factor", "-", block::within(-1, 1), code::badYearFactor};
// Beyond these bounds the series' innovations have no real spread (or none at all), and
// its months can never meet their targets.
inline constexpr block::Param lag1{"Lag-1 autocorrelation r1 of the daily values", "-",
                                   {.low = -1, .high = 1, .aboveLow = true, .belowHigh = true}, code::badLag1};
inline constexpr block::Param lag2{"Lag-2 autocorrelation r2", "-"};
inline constexpr block::Param seed{"Seed of the random numbers", "-"};
}  // namespace rows

struct planck_block {  // PLANCK
    struct P {
        enum : int { form };
        static constexpr block::Param table[] = {{"Form", "-", block::mode(2), code::badMode}};
    };
    using View = block::View<table::em0001, P>;
    static void init(View& b);
    // What init derives from the parameters is all it does: it serves after a change too.
    static void takeChange(View& b) { init(b); }
    static void step(View& b);
};
struct e0_block {  // E0 GON
    struct P {
        enum : int { formula };
        static constexpr block::Param table[] = {{"Formula", "-", block::mode(2), code::badMode}};
    };
    using View = block::View<table::em0002, P>;
    static void init(View& b);
    static void takeChange(View& b) { init(b); }
    static void step(View& b);
};
struct et_block {  // ET
    struct P {
        enum : int { fit };
        static constexpr block::Param table[] = {{"Fit", "-", block::mode(6), code::badMode}};
    };
    using View = block::View<table::em0003, P>;
    static void init(View& b);
    static void takeChange(View& b) { init(b); }
    static void step(View& b);
};
struct gtloss_block {  // GTLOSS
    struct P {
        enum : int { model, skyDiffuse, b0, layer1, layer2, layer3, azimuthIntervals, elevationIntervals };
        // The others count only for some models, or with the sky integration: each is
        // checked by hand where its model or integration reads it.
        static constexpr block::Param table[] = {
            {"Optical model", "-", block::mode(4), code::badGlazingModel},
            {"Sky diffuse", "-", block::mode(2), code::badDiffuseTreatment},
            {"ASHRAE coefficient b0", "-"},
            {"Thickness of layer 1", "length"},
            {"Thickness of layer 2", "length"},
            {"Thickness of layer 3 or of the film", "length"},
            {"Number of azimuth intervals of the sky integration", "-"},
            {"Number of elevation intervals of the sky integration", "-"},
        };
    };
    using View = block::View<table::em0004, P>;
    static bool checksHold(View& b);
    static bool tiesHold(View& b);
    static void init(View& b);
    static void takeChange(View& b) { init(b); }
    static void step(View& b);
};
struct sunae_block {  // SUNAE
    struct P {
        enum : int { series, latitude, longitude, timeZone };
        // The site is checked by checkSite, after the eastward form has rewritten it.
        static constexpr block::Param table[] = {
            {"Series", "-", block::mode(3), code::badMode},
            {"Latitude", "degrees"},
            {"Longitude", "degrees"},
            {"Time zone", "h"},
        };
    };
    using View = block::View<table::em0006, P>;
    static bool checksHold(View& b);
    static void init(View& b);
    static void takeChange(View& b) { init(b); }
    static void step(View& b);
};
struct inang_block {  // INANGE INANGH
    using View = block::View<table::em0007>;
    static void init(View& b);
    static void step(View& b);
};
struct gh2gt_block {  // GH2GT
    struct P {
        enum : int { model, latitude, longitude, timeZone };
        // The site is checked as SUNAE's.
        static constexpr block::Param table[] = {
            {"Sky-diffuse model", "-", block::mode(kSkyModels), code::badModel},
            {"Latitude", "degrees"},
            {"Longitude", "degrees"},
            {"Time zone", "h"},
        };
    };
    using View = block::View<table::em0008, P>;
    static bool checksHold(View& b);
    static void init(View& b);
    static void takeChange(View& b) { init(b); }
    static void step(View& b);
    static void last(View& b);
};
struct g2gdh_block {  // G2GDH
    struct P {
        enum : int { model };
        static constexpr block::Param table[] = {{"Model", "-", block::mode(8), code::badModel}};
    };
    using View = block::View<table::em0009, P>;
    static bool tiesHold(View& b);
    static void init(View& b);
    static void takeChange(View& b) { init(b); }
    static void step(View& b);
};
struct g2gdd_block {  // G2GDD
    struct P {
        enum : int { model };
        static constexpr block::Param table[] = {{"Model", "-", block::mode(6), code::badModel}};
    };
    using View = block::View<table::em0010, P>;
    static bool tiesHold(View& b);
    static void init(View& b);
    static void takeChange(View& b) { init(b); }
    static void step(View& b);
};
struct g2gdm_block {  // G2GDM
    struct P {
        enum : int { model };
        static constexpr block::Param table[] = {{"Model", "-", block::mode(6), code::badModel}};
    };
    using View = block::View<table::em0011, P>;
    static bool tiesHold(View& b);
    static void init(View& b);
    static void takeChange(View& b) { init(b); }
    static void step(View& b);
};
struct goh_block {  // GOH
    struct P {
        enum : int { latitude, longitude, timeZone };
        // The site is checked by checkSite, after GOH2 has rewritten it.
        static constexpr block::Param table[] = {rows::latitude, rows::longitude, rows::timeZone};
    };
    using View = block::View<table::em0012, P>;
    static bool checksHold(View& b);
    static void step(View& b);
};
struct gmean_block {  // GMEAN
    struct P {
        enum : int { model, latitude };
        static constexpr block::Param table[] = {{"Model", "-", block::mode(2), code::badMode},
                                                 {"Latitude", "degrees", block::within(-90, 90), code::badLatitude}};
    };
    using View = block::View<table::em0013, P>;
    static void init(View& b);
    static void takeChange(View& b);
    static void step(View& b);
};
struct gbn2gbt_block {  // GBN2GBT
    using View = block::View<table::em0019>;
    static void step(View& b);
};
struct sunaea_block {  // SUNAEA
    struct P {
        enum : int { series, latitude, longitude, timeZone, interval, subSteps };
        // The site is checked as SUNAE's, by checkSite: after the eastward forms rewrite it.
        static constexpr block::Param table[] = {
            {"Series", "-"},
            {"Latitude", "degrees"},
            {"Longitude", "degrees"},
            {"Time zone", "h"},
            {"Length of the averaging interval", "min"},
            // Computed in every step: a mistyped count must not stall the run.
            {"Number of sub-steps over the interval", "-", block::whole(0, 100000), code::badSubSteps},
        };
    };
    using View = block::View<table::em0020, P>;
    static bool checksHold(View& b);
    static void step(View& b);
};
struct disgr_block {  // DISGR
    struct P {
        enum : int { variance, unused };
        // The variance is checked only where no input gives it.
        static constexpr block::Param table[] = {{"Variance of the distribution", "-"}, {"Not used", "-"}};
    };
    using View = block::View<table::em0023, P>;
    static bool checksHold(View& b);
    static void init(View& b);
    static void takeChange(View& b) { init(b); }
    static void step(View& b);
};
struct betamax_block {  // BETAMAX SHADF
    struct P {
        enum : int { distance, width, angle };
        // The width against the distance is checked by hand, as a pair.
        static constexpr block::Param table[] = {
            {"Distance D between the rows", "any length unit"},
            {"Width L of a row along its slope", "unit of D"},
            {"Angle of the shading geometry", "degrees", block::within(0, 90), code::badShadingAngle},
        };
    };
    using View = block::View<table::em0031, P>;
    static bool tiesHold(View& b);
    static void init(View& b);
    static void step(View& b);
};
struct betaopt_block {  // BETAOPT
    using View = block::View<table::em0032>;
    static void init(View& b);
    static void step(View& b);
};
struct betgam_block {  // BETGAM
    struct P {
        enum : int { tilt, azimuth, horizontalAzimuth };
        static constexpr block::Param table[] = {
            {"Tilt of the axis", "degrees", block::within(0, 90), code::badAxisTilt},
            {"Azimuth of the axis as a deviation from south", "degrees", block::within(-90, 90), code::badAxisAzimuth},
            {"Azimuth given for a horizontal surface", "degrees"},
        };
    };
    using View = block::View<table::em0037, P>;
    static void step(View& b);
};
struct phiopt_block {  // PHIOPT
    struct P {
        enum : int { tilt, azimuthOffset, horizontalAzimuth, lower, upper };
        static constexpr block::Param table[] = {
            {"Tilt of the rotation axis", "degrees"},
            {"Azimuth offset", "degrees"},
            {"Azimuth given to the surface when the turned surface lies horizontal", "degrees"},
            {"Lower limit of the rotation angle", "degrees", {.low = -FLT_MAX, .high = 0}, code::badRotationLimit,
             block::orDefault(-90)},
            {"Upper limit of the rotation angle", "degrees", block::atLeast(0), code::badRotationLimit,
             block::orDefault(90)},
        };
    };
    using View = block::View<table::em0038, P>;
    static void init(View& b);
    static void takeChange(View& b) { init(b); }
    static void step(View& b);
    static void last(View& b);
};
struct dincli_block {  // DINCLI
    using View = block::View<table::em0039>;
    static void step(View& b);
};
struct phi2psi_block {  // PHI2PSI PSI2PHI
    struct P {
        enum : int { unit };
        static constexpr block::Param table[] = {{"Unit of the angle", "-", block::mode(2), code::badAngleUnit}};
    };
    using View = block::View<table::em0041, P>;
    static void init(View& b);
    static void takeChange(View& b) { init(b); }
    static void step(View& b);
};

struct tsky_block {  // TSKY
    struct P {
        enum : int { model };
        static constexpr block::Param table[] = {{"Model", "-", block::mode(2), code::badMode}};
    };
    using View = block::View<table::em0021, P>;
    static void init(View& b);
    static void takeChange(View& b) { init(b); }
    static void step(View& b);
};
struct atm1976_block {  // ATM1976
    using View = block::View<table::em0024>;
    static void step(View& b);
};
struct am_block {  // AM
    struct P {
        enum : int { model };
        static constexpr block::Param table[] = {{"Model", "-", block::mode(3), code::outOfRange}};
    };
    using View = block::View<table::em0025, P>;
    static void init(View& b);
    static void takeChange(View& b) { init(b); }
    static void step(View& b);
};
struct skyo_block {  // SKYO SKYIO SKYIM SKYIC SKYC
    using View = block::View<table::em0027>;
    static void init(View& b);
    static void step(View& b);
};
struct skyall_block {  // SKYALL
    using View = block::View<table::em0029>;
    static void init(View& b);
    static void step(View& b);
};
struct kn_block {  // KN
    using View = block::View<table::em0030>;
    static void init(View& b);
    static void step(View& b);
};
struct sedes3_block {  // SEDES3
    struct P {
        enum : int { latitude, longitude, timeZone, elevation, tilt };
        // The site is checked by checkSite, in the first sign convention.
        static constexpr block::Param table[] = {
            rows::latitude, rows::longitude, rows::timeZone, {"Elevation of the site", "m"},
            {"Tilt of the surface", "degrees", block::within(0, 180), code::outOfRange},
        };
    };
    using View = block::View<table::em0033, P>;
    static bool checksHold(View& b);
    static void init(View& b);
    static void takeChange(View& b) { init(b); }
    static void step(View& b);
};
struct tdew_block {  // TDEW
    using View = block::View<table::em0034>;
    static void step(View& b);
};
struct cowv_block {  // COWV
    struct P {
        enum : int { correlation };
        static constexpr block::Param table[] = {{"Correlation", "-", block::mode(5), code::outOfRange}};
    };
    using View = block::View<table::em0035, P>;
    static void init(View& b);
    static void takeChange(View& b) { init(b); }
    static void step(View& b);
};
struct tauw_block {  // TAUW
    struct P {
        enum : int { model };
        static constexpr block::Param table[] = {{"Model", "-", block::whole(-1, 1), code::outOfRange}};
    };
    using View = block::View<table::em0036, P>;
    static void init(View& b);
    static void takeChange(View& b) { init(b); }
    static void step(View& b);
};

struct genv_block {  // GENV
    static constexpr int kBins = 39;  // of the spectrum
    struct P {
        enum : int { speeds, spectrum, factor, cubes };
        static constexpr block::Param table[] = {
            block::ranged(96, {"Mean wind speeds", "m/s", block::atLeast(0), code::genvNegativeSpeed}),
            block::ranged(kBins, {"Spectrum values of the frequency bins 1 to 39", "-", block::atLeast(0),
                                  code::genvNegativeSpectrum}),
            {"Factor on the twelve mean cubes that follow", "-", block::atLeast(0), code::genvNegativeCube},
            block::ranged(12, {"Monthly means of the cubed wind speed", "m3/s3", block::atLeast(0),
                               code::genvNegativeCube}),
        };
    };
    static constexpr const char* kTakesParametersAtInit = "the year of wind speeds is drawn then";
    using View = block::View<table::em0005, P>;
    static bool tiesHold(View& b);
    static void init(View& b);
    static void step(View& b);
};
struct tsoil_block {  // TSOIL
    struct P {
        enum : int { source, peakDay, factor, density, heatCapacity, conductivity, headers, mean, maximum, row };
        // The others count only for one source, and the heat capacity with the density:
        // checked by the block's checks, with the data file the source reads.
        static constexpr block::Param table[] = {
            {"Source of the surface temperatures", "-", block::mode(3), code::tsoilBadSource},
            {"Day of the year on which the surface temperature is highest", "d", block::finite(), code::notANumber},
            {"Factor f on the mean in the amplitude", "-", block::finite(), code::notANumber},
            {"Density of the soil", "kg/m3"},
            {"Specific heat capacity of the soil", "J/(kg K)"},
            {"Thermal conductivity of the soil", "W/(m K)", block::above(0), code::tsoilBadConductivity},
            {"Number of header records of the data file", "-"},
            {"Mean surface temperature", "degC"},
            {"Maximum surface temperature", "degC"},
            {"Row of the built-in table", "-"},
        };
    };
    using View = block::View<table::em0028, P>;
    static bool checksHold(View& b);
    static void init(View& b);
    static void takeChange(View& b);
    static void step(View& b);
};
struct tmean_block {  // TMEAN
    using View = block::View<table::em0014>;
    static void init(View& b);
    static void step(View& b);
};
struct geng_block {  // GENG
    struct P {
        enum : int { latitude, longitude, timeZone, varianceFactor, yearFactor, lag1, lag2, seed };
        static constexpr block::Param table[] = {rows::latitude, rows::longitude,  rows::timeZone, rows::varianceFactor,
                                                 rows::yearFactor, rows::lag1, rows::lag2, rows::seed};
    };
    using View = block::View<table::em0015, P>;
    static bool checksHold(View& b);
    static bool tiesHold(View& b);
    static void init(View& b);
    static void step(View& b);
};
struct gengd_block {  // GENGD
    struct P {
        enum : int { method, latitude, longitude, timeZone, varianceFactor, yearFactor, lag1, lag2, seed };
        static constexpr block::Param table[] = {
            {"Method", "-", block::mode(2), code::badMode},
            rows::latitude, rows::longitude, rows::timeZone, rows::varianceFactor, rows::yearFactor, rows::lag1,
            rows::lag2, rows::seed};
    };
    using View = block::View<table::em0016, P>;
    static bool checksHold(View& b);
    static bool tiesHold(View& b);
    static void init(View& b);
    static void takeChange(View& b);
    static void step(View& b);
};
struct gengh_block {  // GENGH
    struct P {
        enum : int { latitude, longitude, timeZone, seed };
        static constexpr block::Param table[] = {rows::latitude, rows::longitude, rows::timeZone, rows::seed};
    };
    using View = block::View<table::em0017, P>;
    static bool checksHold(View& b);
    static void init(View& b);
    static void step(View& b);
    static void last(View& b);
};
struct gengt_block {  // GENGT
    struct P {
        enum : int { latitude, longitude, timeZone, varianceFactor, yearFactor, lag1, lag2, seed, tolerance, repeats };
        static constexpr block::Param table[] = {
            rows::latitude, rows::longitude, rows::timeZone,
            {"Variance factor on the variance of the daily clearness index", "-", block::finite(), code::notANumber},
            {"Year-to-year factor", "-", block::finite(), code::notANumber},
            rows::lag1, rows::lag2, rows::seed,
            // 0 or less, or left out (or no number): the default.
            {"Tolerance of the month's mean temperature", "K", block::any(), {},
             block::orDefault(0.1f, {.low = 0, .aboveLow = true})},
            {"Attempts at a month's temperatures after the first", "-", block::any(), {},
             block::orDefault(2000.0f, {.low = 0, .aboveLow = true})},
        };
    };
    using View = block::View<table::em0022, P>;
    static bool checksHold(View& b);
    static bool tiesHold(View& b);
    static void init(View& b);
    static void step(View& b);
};
struct moonae2_block {  // MOONAE2
    struct P {
        enum : int { latitude, longitude, timeZone };
        // The site is checked by checkSite, in the first sign convention.
        static constexpr block::Param table[] = {rows::latitude, rows::longitude, rows::timeZone};
    };
    using View = block::View<table::em0040, P>;
    static bool checksHold(View& b);
    static void step(View& b);
};
// The blocks of the second sign convention: longitude and time zone counted positive
// east, rewritten once at initialisation into the first convention of the block they
// hand every call to.
using sunae2_block = eastward<sunae_block, 2, 3>;      // SUNAE2
using gh2gt2_block = eastward<gh2gt_block, 2, 3>;      // GH2GT2
using goh2_block = eastward<goh_block, 1, 2>;          // GOH2
using sunaea2_block = eastward<sunaea_block, 2, 3>;    // SUNAEA2
using geng2_block = eastward<geng_block, 1, 2>;        // GENG2
using gengd2_block = eastward<gengd_block, 2, 3>;      // GENGD2
using gengh2_block = eastward<gengh_block, 1, 2>;      // GENGH2
using gengt2_block = eastward<gengt_block, 1, 2>;      // GENGT2

struct mtm_block {  // MTM MTMLALO
    struct P {
        enum : int { latitude, longitude, deltaLatitude, deltaLongitude, country, continent };
        // The longitude is checked by the block's checks, after MTM2 has rewritten it; the
        // window's tolerances and the codes only for MTM, which searches by them.
        static constexpr block::Param table[] = {
            {"Latitude", "degrees", block::within(-90, 90), code::badLatitude},
            {"Longitude", "degrees"},
            {"Latitude tolerance of the window", "degrees"},
            {"Longitude tolerance of the window", "degrees"},
            {"Country code", "-"},
            {"Continent code", "-"},
        };
    };
    static constexpr const char* kTakesParametersAtInit = "the site is loaded from the weather database then";
    using View = block::View<table::em0018, P>;
    static bool checksHold(View& b);
    static void init(View& b);
    static void step(View& b);
    static void last(View& b);
};
using mtm2_block = eastward<mtm_block, 1>;             // MTM2 MTMLALO2

struct mtmup_block {  // MTMUP
    using View = block::View<table::em0026>;
    static void init(View& b);
    static void step(View& b);
};

}  // namespace vireo::em

#endif
