//#Block HXXI
//#Description
// Cross-flow plate heat exchanger between the supply and the exhaust air of a
// ventilation unit, with plain or ribbed channels. Water vapour of the exhaust air
// condenses where the plate lies below its dew point, and the condensate freezes where
// the plate would otherwise fall to 0 $^\circ$C or below. One plate side is cut into a
// grid of cells, each solving its heat and mass balance in closed form from the states
// that enter it.
//#Layout
//#Inputs 6
//#Outputs 7
//#Parameters 17
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Supply-air inlet temperature, $-100$ to 100 ($^\circ$C)
//#IN[1] Supply-air inlet relative humidity, taken within 0 and 1 (-)
//#IN[2] Exhaust-air inlet temperature, $-100$ to 100 ($^\circ$C)
//#IN[3] Exhaust-air inlet relative humidity, taken within 0 and 1 (-)
//#IN[4] Supply-air volume flow at the inlet state; 0 or below is none (m$^3$/s)
//#IN[5] Exhaust-air volume flow at the inlet state; 0 or below is none (m$^3$/s)
//#Outputs
//#OUT[0] Mean supply-air outlet temperature ($^\circ$C)
//#OUT[1] Supply-air outlet relative humidity (-)
//#OUT[2] Mean exhaust-air outlet temperature ($^\circ$C)
//#OUT[3] Exhaust-air outlet relative humidity (-)
//#OUT[4] Drop of the exhaust air's humidity ratio (kg/kg)
//#OUT[5] Condensate flow of the exchanger (kg/h)
//#OUT[6] Frozen part of the condensate flow (kg/h)
//#Parameters
//#BP[0] Supply-air channels, whole part at least 1 (-)
//#BP[1] Height of a supply-air channel, above 0 (m)
//#BP[2] Width of a supply-air channel, above 0 (m)
//#BP[3] Length of a supply-air channel, above 0 (m)
//#BP[4] Exhaust-air channels, whole part at least 1 (-)
//#BP[5] Height of an exhaust-air channel, above 0 (m)
//#BP[6] Width of an exhaust-air channel, above 0 (m)
//#BP[7] Length of an exhaust-air channel, above 0 (m)
//#BP[8] Plate thickness, above 0 (m)
//#BP[9] Kind of channels: whole part 1 plain, any other ribbed (-)
//#BP[10] Rib thickness, above 0 when ribbed (m)
//#BP[11] Ribs across a supply-air channel, whole part at least 1 when ribbed (-)
//#BP[12] Ribs across an exhaust-air channel, whole part at least 1 when ribbed (-)
//#BP[13] Conductivity of plate and ribs, above 0 (W/(m K))
//#BP[14] Cells across the supply-air flow, whole part 1 to 199 (-)
//#BP[15] Cells across the exhaust-air flow, whole part 1 to 199 (-)
//#BP[16] Air pressure, above 0 (Pa)
//#Strings
//#None
//#Remarks
// The channels follow the mean Nusselt number of a flat channel with developing flow
// below Reynolds number 2600 and Hausen's correlation above; ribs act as fins of
// efficiency $\tanh(mh/2)/(mh/2)$. Water condenses at the rate of the Lewis analogy,
// never more than the exhaust air holds above saturation at the plate. Where the plate
// would lie at or below 0 $^\circ$C the largest share of the condensate, in steps of
// 100/335000, freezes that keeps it there. A cell whose transfer units on either side
// exceed 2 is computed as the fewest sub-cells of the same form that bring them to 2,
// and no more than the grid of 199 by 199 cells holds; beyond that its transfer is held
// at 2 units.
//
// A flow of 0 or below on either side gives the exhaust-air inlet state on outputs 1
// and 2, the supply-air inlet state on outputs 3 and 4, and 0 on the others. The
// condensate flows count one plate side of a channel pair twice, times 32. A step with
// an input that is not a finite number, or an inlet state outside the ranges above,
// changes no output and is warned about.
//#end
#include "blocks.h"
#include "finite.h"
#include "values.h"
#include "water_air_fits.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <optional>

namespace vireo::st {
namespace {

constexpr int kGrid = 200;  // the inlet row or column and at most 199 cells
constexpr double kFusion = 335000.0;  // J/kg
constexpr double kFusionStep = 100.0;
constexpr double kVapourHeat = 1875.0;      // J/(kg K)
constexpr double kVapourConstant = 461.527; // J/(kg K)
constexpr double kKelvin = 273.15;
constexpr double kMaxCount = 1e9;
constexpr double kMaxTransferUnits = 2.0;
constexpr double kColdest = -100.0, kWarmest = 100.0;  // degC, where the air formulas hold

// The working grid, one for the process: every step rebuilds each cell it reads from
// the inputs, so instances can share it; element [i][j] is cell (i + 1, j + 1), row 1
// the exhaust air's inlet and column 1 the supply air's.
struct Grid {
    float tabl[kGrid][kGrid];
    float tzul[kGrid][kGrid];
    float xabl[kGrid][kGrid];
    float towt[kGrid][kGrid];
    float dmh2owt[kGrid][kGrid];
    float dxabl[kGrid][kGrid];
    float towta[kGrid][kGrid];
    float meis[kGrid][kGrid];
};
Grid grid;

// The air and water formulas of the block, T in degC.
using fits::humidAirDensity;
using fits::saturationPressure;
double conductivity(double t) { return (24.558 + 0.07295 * t) / 1000.0; }
double dynamicViscosity(double t) { return 1e-6 * (13.278 + 0.09485 * t); }
double evaporationHeat(double t) { return 1000.0 * (fits::vapourEnthalpy(t) - fits::liquidEnthalpy(t)); }
double vapourPressure(double x, double p) { return p * x / (0.622 + x); }
double humidityRatio(double vapour, double p) { return 0.622 * vapour / (p - vapour); }

// Whole part of a parameter: the counts are truncated when read.
double wholePart(float x) { return std::trunc(x); }

// One side's channels as the step sees them.
struct Side {
    double count, height, width, length, ribs;
    double dh;             // hydraulic diameter
    double massFlux = 0;   // kg/(s m2) of free cross-section
    double entry = 0;      // 1 + (dh/L)^(2/3)
    // Ribs as fins from the plate, half the channel's height long.
    double finFactor = 0;  // perimeter / (conductivity * cross-section)
    double ribShare = 0, freeShare = 0;
};

struct Exchanger {
    Side supply, exhaust;
    double plate, ribThickness, conductivity, pressure;
    bool ribbed;
    double u, v;  // cells across each flow, as read in the step
};

Side sideOf(const BlockView& b, int first, int ribs, bool ribbed, double ribThickness) {
    Side s{};
    s.count = wholePart(b.par(first));
    s.height = b.par(first + 1);
    s.width = b.par(first + 2);
    s.length = b.par(first + 3);
    s.ribs = ribbed ? wholePart(b.par(ribs)) : 0.0;
    const double free = ribbed ? (s.width - ribThickness * s.ribs) / s.ribs : s.width;
    s.dh = 4 * free * s.height / (2 * (free + s.height));
    s.entry = 1 + std::cbrt(std::pow(s.dh / s.length, 2));
    if (ribbed) {
        const double half = s.height / 2;
        s.finFactor = 2 * (ribThickness + half) / (ribThickness * half);
        s.ribShare = half / (free + half);
        s.freeShare = free / (ribThickness + free);
    }
    return s;
}

bool positive(double x) { return x > 0 && x <= FLT_MAX; }

// The parameters as the step reads them, when they describe an exchanger.
std::optional<Exchanger> exchangerOf(const BlockView& b) {
    Exchanger e{};
    e.ribbed = wholePart(b.par(9)) != 1.0;
    e.plate = b.par(8);
    e.ribThickness = b.par(10);
    e.conductivity = b.par(13);
    e.pressure = b.par(16);
    e.u = wholePart(b.par(14));
    e.v = wholePart(b.par(15));
    for (int i : {1, 2, 3, 5, 6, 7, 8, 13, 16})
        if (!positive(b.par(i))) return std::nullopt;
    for (int i : {0, 4})
        if (!(b.par(i) >= 1 && b.par(i) < kMaxCount)) return std::nullopt;
    for (double cells : {e.u, e.v})
        if (!(cells >= 1 && cells < kGrid)) return std::nullopt;
    if (!std::isfinite(b.par(9))) return std::nullopt;
    if (e.ribbed) {
        if (!positive(e.ribThickness)) return std::nullopt;
        for (int i : {11, 12})
            if (!(b.par(i) >= 1 && b.par(i) < kMaxCount)) return std::nullopt;
        if (!(b.par(2) - e.ribThickness * wholePart(b.par(11)) > 0) ||
            !(b.par(6) - e.ribThickness * wholePart(b.par(12)) > 0))
            return std::nullopt;
    }
    e.supply = sideOf(b, 0, 11, e.ribbed, e.ribThickness);
    e.exhaust = sideOf(b, 4, 12, e.ribbed, e.ribThickness);
    for (Side* s : {&e.supply, &e.exhaust}) s->finFactor /= e.conductivity;
    return e;
}

// The convective coefficient of one side at the air temperature t, with its ribs; re is
// the Reynolds number.
double coefficient(const Side& s, double t, double cp, double lambda, double& re) {
    const double mu = dynamicViscosity(t);
    re = s.dh * s.massFlux / mu;
    const double pr = cp * mu / lambda;
    double nu;
    if (re < 2600) {
        // Developing flow in a flat channel: the fully developed value, the thermal and
        // the hydrodynamic entry, combined by their cubes.
        const double x = re * pr * s.dh / s.length;
        nu = std::cbrt(428.83163 + 1.841 * 1.841 * 1.841 * x + std::sqrt(2 / (1 + 22 * pr)) * x * std::sqrt(x));
    } else {
        const double r = std::cbrt(re);
        nu = 0.116 * (r * r - 125) * std::cbrt(pr) * s.entry;
    }
    const double hc = lambda * nu / s.dh;
    if (s.finFactor == 0) return hc;
    const double ml = std::sqrt(hc * s.finFactor) * s.height / 2;
    const double efficiency = ml > 0 ? std::tanh(ml) / ml : 1.0;
    return hc * (s.freeShare / (1 - s.ribShare)) * (1 + (2 * efficiency - 1) * s.ribShare);
}

// What one cell (or sub-cell) gives.
struct Outlet {
    double tabl, xabl, tzul, towt, towta, condensate, ice;
};

// The states that enter a cell and what it is made of.
struct CellInput {
    double ta, xa, tz;
};
struct CellMake {
    double area;      // of the (sub-)cell
    double mzul, mabl;  // flows through it
};

struct Constants {
    const Exchanger* e;
    double xzul;  // of the supply air throughout
};

// Heat and mass balance of one cell in closed form; `units` the larger of its transfer
// units on either side. With more than 2 the balance sends an outlet past the other
// stream; `limit` then holds them at 2 by taking less of the area for heat (the
// condensation keeps the whole area).
Outlet cell(const Constants& k, const CellInput& in, const CellMake& make, bool limit, double& units) {
    const Exchanger& e = *k.e;
    const double p = e.pressure;
    const double ta = in.ta, xa = in.xa, tz = in.tz;
    const double vapour = vapourPressure(xa, p);
    const double rohabl = humidAirDensity(ta, vapour, p);
    const double lamdap = conductivity(ta), lamdak = conductivity(tz);
    const double cpabl = fits::airHeatCapacity(ta), cpzul = fits::airHeatCapacity(tz);
    double reabl, rezul;
    const double hcabl = coefficient(e.exhaust, ta, cpabl, lamdap, reabl);
    const double hczul = coefficient(e.supply, tz, cpzul, lamdak, rezul);
    const double wall = e.plate / e.conductivity;
    const double kwert = 1 / (1 / hcabl + 1 / hczul + wall);
    Outlet o{};
    o.towt = ta - (kwert / hcabl) * (ta - tz);

    // Condensation by the Lewis analogy, no more than the air holds above saturation at
    // the plate.
    const double plateVapour = saturationPressure(o.towt);
    const double diffusion = 2.26e-5 / (p / 100000) * std::pow((kKelvin + ta) / 273, 1.81);
    const double aleita = lamdap / (rohabl * cpabl);
    const double lewis = std::pow(aleita / diffusion, reabl < 2300 ? 2.0 / 3.0 : 0.58);
    const double beta = hcabl / (lewis * cpabl * rohabl);
    double condensate = beta * make.area / (kVapourConstant * (kKelvin + o.towt)) * (vapour - plateVapour);
    const double excess = plateVapour < p ? xa - humidityRatio(plateVapour, p) : 0.0;
    condensate = std::clamp(condensate, 0.0, std::max(0.0, make.mabl * excess));
    const double dx = condensate / make.mabl;
    o.xabl = xa - dx;
    o.condensate = condensate;

    double area = make.area;
    units = kwert * area * std::max(1 / (make.mzul * cpzul), 1 / (make.mabl * cpabl));
    if (limit && units > kMaxTransferUnits) area *= kMaxTransferUnits / units;
    const double z1 = 1 / (wall + 1 / hczul);
    const double b1 = hcabl / (hcabl + z1), b2 = z1 / (hcabl + z1), b3 = 1 / (hcabl + z1);
    const double c2 = z1 * area / (2 * make.mzul), c3 = z1 * area / make.mzul;
    const double cz = cpzul + kVapourHeat * k.xzul;
    const double c1 = cz + c2 * (b2 - 1), c4 = cz - c2 * (b2 - 1);
    const double g = hcabl * area / (2 * make.mabl), cx = cpabl + kVapourHeat * o.xabl;
    const double share = 1 - b1 - b1 * b2 * c2 / c4;
    const double k1 = g * share - cx, k2 = g * (b2 + b2 * c1 / c4), k3 = g * (2 * b3 + b2 * b3 * c3 / c4);
    const double k4 = -cx - g * share;
    const double flux = make.mabl / area;  // latent heat per kg of air to heat per plate area

    // Everything is linear in the latent load L = dx (h_fg + H + c_v ta), H the heat of
    // fusion of the share that freezes.
    struct State {
        double tabl, tzul, towta;
    };
    const auto at = [&](double load) {
        State s;
        s.tabl = ta * k1 / k4 - tz * k2 / k4 - flux * (k3 / k4) * load;
        s.tzul = (c1 / c4) * tz + (b1 * c2 / c4) * (s.tabl + ta) + flux * (b3 * c3 / c4) * load;
        s.towta = 0.5 * b1 * (s.tabl + ta) + 0.5 * b2 * (s.tzul + tz) + b3 * flux * load;
        return s;
    };
    const double dry = dx * (evaporationHeat(ta) + kVapourHeat * ta);
    const auto withIce = [&](double fusion) { return at(dry + dx * fusion); };
    State s = withIce(0);
    double frozen = 0;
    if (!(s.towta > 0)) {
        // The largest multiple of 100 J/kg, up to the full heat of fusion, that keeps the
        // plate at or below 0 degC; the plate temperature rises with it in a straight line.
        const State full = withIce(kFusion);
        if (full.towta <= 0) {
            frozen = kFusion;
        } else {
            const double slope = (full.towta - s.towta) / kFusion;
            const double exact = slope > 0 ? -s.towta / slope : 0.0;
            frozen = std::clamp(std::floor(exact / kFusionStep), 0.0, kFusion / kFusionStep - 1) * kFusionStep;
            while (frozen > 0 && withIce(frozen).towta > 0) frozen -= kFusionStep;
            while (frozen + kFusionStep < kFusion && withIce(frozen + kFusionStep).towta <= 0) frozen += kFusionStep;
        }
        s = withIce(frozen);
    }
    o.tabl = s.tabl;
    o.tzul = s.tzul;
    o.towta = s.towta;
    o.ice = condensate * frozen / kFusion;
    return o;
}

// The cell of the grid: in s x s sub-cells of the same form where its transfer units on
// a side exceed 2, s the fewest that bring them to 2 and at most `most`.
Outlet gridCell(const Constants& k, const CellInput& in, const CellMake& make, int most) {
    double units;
    const Outlet whole = cell(k, in, make, false, units);
    if (!(units > kMaxTransferUnits)) return whole;
    const int s = static_cast<int>(std::min<double>(most, std::ceil(units / kMaxTransferUnits)));
    if (s <= 1) return cell(k, in, make, true, units);

    const CellMake sub{make.area / (s * s), make.mzul / s, make.mabl / s};
    std::array<double, kGrid> ta, xa;
    std::fill_n(ta.begin(), s, in.ta);
    std::fill_n(xa.begin(), s, in.xa);
    Outlet o{};
    double supplyOut = 0;
    for (int r = 0; r < s; ++r) {
        double tz = in.tz;
        for (int q = 0; q < s; ++q) {
            const Outlet c = cell(k, {ta[q], xa[q], tz}, sub, true, units);
            ta[q] = c.tabl;
            xa[q] = c.xabl;
            tz = c.tzul;
            o.towt += c.towt;
            o.towta += c.towta;
            o.condensate += c.condensate;
            o.ice += c.ice;
        }
        supplyOut += tz;
    }
    for (int q = 0; q < s; ++q) {
        o.tabl += ta[q];
        o.xabl += xa[q];
    }
    o.tabl /= s;
    o.xabl /= s;
    o.tzul = supplyOut / s;
    o.towt /= s * s;
    o.towta /= s * s;
    return o;
}

// Counts whose whole part must lie in [low, high], reported with the value as given.
bool checkWholePart(BlockView& b, int parameter, double low, double high, block::Code code) {
    const float x = b.par(parameter);
    if (x >= low && x < high + 1) return true;
    b.report(code, {.reals = {x, static_cast<float>(low), static_cast<float>(high)}, .ints = {parameter + 1}});
    return false;
}

constexpr Rule size(int parameter) {
    return {.parameter = parameter, .low = 0, .high = FLT_MAX, .code = code::badSize, .aboveLow = true};
}
constexpr Rule kRules[] = {
    size(1), size(2), size(3), size(5), size(6), size(7), size(8), finiteParameter(9),
    {.parameter = 13, .low = 0, .high = FLT_MAX, .code = code::badThermalConductivity, .aboveLow = true},
    {.parameter = 16, .low = 0, .high = FLT_MAX, .code = code::badAirPressure, .aboveLow = true},
};

}  // namespace

void hxxi_block::init(View& b) {
    b.ip<10>() = b.ip<11>() = 0;
    bool passed = b.check(kRules);
    for (int i : {0, 4}) passed = checkWholePart(b, i, 1, kMaxCount - 1, code::badGridCount) && passed;
    for (int i : {14, 15}) passed = checkWholePart(b, i, 1, kGrid - 1, code::badGridCount) && passed;
    if (std::isfinite(b.par(9)) && wholePart(b.par(9)) != 1.0f) {
        passed = b.check(size(10), b.par(10)) && passed;
        for (int i : {11, 12}) {
            if (!checkWholePart(b, i, 1, kMaxCount - 1, code::badGridCount)) {
                passed = false;
                continue;
            }
            const float width = b.par(i == 11 ? 2 : 6), ribs = static_cast<float>(wholePart(b.par(i))) * b.par(10);
            if (ribs < width || !(width > 0 && b.par(10) > 0)) continue;
            b.report(code::ribsFillChannel, {.reals = {ribs, width}, .ints = {i + 1}});
            passed = false;
        }
    }
    if (!passed) return;
    b.ip<10>() = static_cast<int>(wholePart(b.par(14))) + 1;
    b.ip<11>() = static_cast<int>(wholePart(b.par(15))) + 1;
}

void hxxi_block::step(View& b) {
    if (!inputsFinite(b)) return;
    const int n = b.ip<10>(), m = b.ip<11>();
    std::optional<Exchanger> exchanger = exchangerOf(b);
    if (!exchanger || n < 2 || n > kGrid || m < 2 || m > kGrid) return;  // refused at initialisation, or changed since
    Exchanger& e = *exchanger;
    const double p = e.pressure;
    const double tzul0 = b.in(0), tabl0 = b.in(2);
    const double rfzul0 = std::clamp(b.in(1), 0.0f, 1.0f), rfabl0 = std::clamp(b.in(3), 0.0f, 1.0f);
    const double supplyVapour = rfzul0 * saturationPressure(tzul0), exhaustVapour = rfabl0 * saturationPressure(tabl0);
    const bool inRange = tzul0 >= kColdest && tzul0 <= kWarmest && tabl0 >= kColdest && tabl0 <= kWarmest &&
                         supplyVapour < p && exhaustVapour < p;
    if (!inRange) {
        b.report(code::noFiniteResult, {.reals = {b.in(0), b.in(2)}});
        return;
    }
    const double gszl = positivePart(b.in(4)), gsabl = positivePart(b.in(5));
    if (gszl == 0 || gsabl == 0) {
        // As the block has always answered a stopped stream: the inlet states crossed over.
        b.out(0) = b.in(2);
        b.out(1) = b.in(3);
        b.out(2) = b.in(0);
        b.out(3) = b.in(1);
        b.out(4) = b.out(5) = b.out(6) = 0.0f;
        return;
    }

    // The exhaust's humidity ratio as the grid holds it: a dry exchanger then gives a drop
    // of exactly 0, not the rounding of the grid's floats.
    const double xzul0 = humidityRatio(supplyVapour, p);
    const double xabl0 = static_cast<float>(humidityRatio(exhaustVapour, p));
    const double mzulg = gszl * humidAirDensity(tzul0, supplyVapour, p);
    const double mablg = gsabl * humidAirDensity(tabl0, exhaustVapour, p);
    const double u = e.u, v = e.v;
    e.supply.massFlux = mzulg / (e.supply.count * (e.supply.width - e.ribThickness * e.supply.ribs) * e.supply.height);
    e.exhaust.massFlux =
        mablg / (e.exhaust.count * (e.exhaust.width - e.ribThickness * e.exhaust.ribs) * e.exhaust.height);
    const CellMake make{.area = e.supply.width * e.supply.length / (u * v),
                        .mzul = mzulg / (e.supply.count * 2 * u),
                        .mabl = mablg / (e.exhaust.count * 2 * v)};
    const Constants k{&e, xzul0};
    // Sub-cells no finer than the largest grid.
    const int most = std::max(1, (kGrid - 1) / std::max(n - 1, m - 1));

    std::fill(&grid.dxabl[0][0], &grid.dxabl[0][0] + kGrid * kGrid, 0.0f);
    double condensate = 0, ice = 0;
    for (int i = 1; i < n; ++i) {
        for (int j = 1; j < m; ++j) {
            if (i == 1) {
                grid.tabl[0][j] = static_cast<float>(tabl0);
                grid.xabl[0][j] = static_cast<float>(xabl0);
            }
            if (j == 1) grid.tzul[i][0] = static_cast<float>(tzul0);
            const CellInput in{grid.tabl[i - 1][j], grid.xabl[i - 1][j], grid.tzul[i][j - 1]};
            const Outlet o = gridCell(k, in, make, most);
            grid.tabl[i][j] = static_cast<float>(o.tabl);
            grid.tzul[i][j] = static_cast<float>(o.tzul);
            grid.xabl[i][j] = static_cast<float>(o.xabl);
            grid.towt[i][j] = static_cast<float>(o.towt);
            grid.towta[i][j] = static_cast<float>(o.towta);
            grid.dmh2owt[i][j] = static_cast<float>(o.condensate);
            grid.dxabl[i][j] = static_cast<float>(o.condensate / make.mabl);
            grid.meis[i][j] = static_cast<float>(o.ice);
            condensate += o.condensate;
            ice += o.ice;
        }
    }
    double sumzul = 0, sumabl = 0, sumxabl = 0;
    for (int i = 1; i < n; ++i) sumzul += grid.tzul[i][m - 1];
    for (int j = 1; j < m; ++j) {
        sumabl += grid.tabl[n - 1][j];
        sumxabl += grid.xabl[n - 1][j];
    }
    const double tzulm = sumzul / u, tablm = sumabl / v, xablm = sumxabl / v;
    // Both sides of one plate, in 32 channel pairs, in kg/h.
    constexpr double kPerHour = 2.0 * 32.0 * 3600.0;
    const double outputs[] = {tzulm,
                              vapourPressure(xzul0, p) / saturationPressure(tzulm),
                              tablm,
                              vapourPressure(xablm, p) / saturationPressure(tablm),
                              xabl0 - xablm,
                              condensate * kPerHour,
                              ice * kPerHour};
    for (double x : outputs) {
        if (std::isfinite(x)) continue;
        b.report(code::noFiniteResult, {.reals = {b.in(0), b.in(2)}});
        return;
    }
    for (int o = 0; o < 7; ++o) b.out(o) = toOutput(outputs[o]);
}

}  // namespace vireo::st
