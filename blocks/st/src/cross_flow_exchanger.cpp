#include "cross_flow_exchanger.h"

#include "values.h"
#include "water_air_fits.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vireo::st::cross_flow {
namespace {

constexpr double kFusion = 335000.0;  // J/kg
constexpr double kFusionStep = 100.0;
constexpr double kVapourHeat = 1875.0;      // J/(kg K)
constexpr double kVapourConstant = 461.527; // J/(kg K)
constexpr double kKelvin = 273.15;
constexpr double kMaxTransferUnits = 2.0;
constexpr double kColdest = -100.0, kWarmest = 100.0;  // degC, where the air formulas hold

// The air and water formulas of the exchanger, T in degC.
using fits::humidAirDensity;
using fits::saturationPressure;
double conductivity(double t) { return (24.558 + 0.07295 * t) / 1000.0; }
double dynamicViscosity(double t) { return 1e-6 * (13.278 + 0.09485 * t); }
double evaporationHeat(double t) { return 1000.0 * (fits::vapourEnthalpy(t) - fits::liquidEnthalpy(t)); }
double vapourPressure(double x, double p) { return p * x / (0.622 + x); }
double humidityRatio(double vapour, double p) { return 0.622 * vapour / (p - vapour); }

// One side's channels as the cells see them.
struct Side {
    double count, height, width, length, ribs;
    double dh;             // hydraulic diameter
    double massFlux = 0;   // kg/(s m2) of free cross-section
    double entry = 0;      // 1 + (dh/L)^(2/3)
    // Ribs as fins from the plate, half the channel's height long.
    double finFactor = 0;  // perimeter / (conductivity * cross-section)
    double ribShare = 0, freeShare = 0;
};

Side sideOf(const Channels& c, const Exchanger& e) {
    Side s{};
    s.count = c.count;
    s.height = c.height;
    s.width = c.width;
    s.length = c.length;
    s.ribs = e.ribbed ? c.ribs : 0.0;
    const double t = e.ribThickness;
    const double free = e.ribbed ? (s.width - t * s.ribs) / s.ribs : s.width;
    s.dh = 4 * free * s.height / (2 * (free + s.height));
    s.entry = 1 + std::cbrt(std::pow(s.dh / s.length, 2));
    if (e.ribbed) {
        const double half = s.height / 2;
        s.finFactor = 2 * (t + half) / (t * half) / e.conductivity;
        s.ribShare = half / (free + half);
        s.freeShare = free / (t + free);
    }
    return s;
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
    double tabl, xabl, tzul, condensate, ice;
};

// The states that enter a cell, what it is made of, and what all cells share.
struct CellInput {
    double ta, xa, tz;
};
struct CellMake {
    double area;        // of the (sub-)cell
    double mzul, mabl;  // flows through it
};
struct Sides {
    Side supply, exhaust;
    double wall;      // plate thickness over conductivity
    double pressure;
    double xzul;      // of the supply air throughout
};

// Heat and mass balance of one cell in closed form; `units` the larger of its transfer
// units on either side. With more than 2 the balance sends an outlet past the other
// stream; `limit` then holds them at 2 by taking less of the area for heat (the
// condensation keeps the whole area).
Outlet cell(const Sides& k, const CellInput& in, const CellMake& make, bool limit, double& units) {
    const double p = k.pressure;
    const double ta = in.ta, xa = in.xa, tz = in.tz;
    const double vapour = vapourPressure(xa, p);
    const double rohabl = humidAirDensity(ta, vapour, p);
    const double lamdap = conductivity(ta), lamdak = conductivity(tz);
    const double cpabl = fits::airHeatCapacity(ta), cpzul = fits::airHeatCapacity(tz);
    double reabl, rezul;
    const double hcabl = coefficient(k.exhaust, ta, cpabl, lamdap, reabl);
    const double hczul = coefficient(k.supply, tz, cpzul, lamdak, rezul);
    const double wall = k.wall;
    const double kwert = 1 / (1 / hcabl + 1 / hczul + wall);
    const double towt = ta - (kwert / hcabl) * (ta - tz);

    // Condensation by the Lewis analogy, no more than the air holds above saturation at
    // the plate.
    const double plateVapour = saturationPressure(towt);
    const double diffusion = 2.26e-5 / (p / 100000) * std::pow((kKelvin + ta) / 273, 1.81);
    const double aleita = lamdap / (rohabl * cpabl);
    const double lewis = std::pow(aleita / diffusion, reabl < 2300 ? 2.0 / 3.0 : 0.58);
    const double beta = hcabl / (lewis * cpabl * rohabl);
    double condensate = beta * make.area / (kVapourConstant * (kKelvin + towt)) * (vapour - plateVapour);
    const double excess = plateVapour < p ? xa - humidityRatio(plateVapour, p) : 0.0;
    condensate = std::clamp(condensate, 0.0, std::max(0.0, make.mabl * excess));
    const double dx = condensate / make.mabl;
    Outlet o{};
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
    o.ice = condensate * frozen / kFusion;
    return o;
}

// The cell of the grid: in s x s sub-cells of the same form where its transfer units on
// a side exceed 2, s the fewest that bring them to 2 and at most `most`.
Outlet gridCell(const Sides& k, const CellInput& in, const CellMake& make, int most) {
    double units;
    const Outlet whole = cell(k, in, make, false, units);
    if (!(units > kMaxTransferUnits)) return whole;
    const int s = static_cast<int>(std::min<double>(most, std::ceil(units / kMaxTransferUnits)));
    if (s <= 1) return cell(k, in, make, true, units);

    const CellMake sub{make.area / (s * s), make.mzul / s, make.mabl / s};
    std::array<double, kMaxCells> ta, xa;
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
    return o;
}

}  // namespace

std::optional<Outlets> exchange(const Exchanger& e, const Air& supply, const Air& exhaust) {
    const int rows = e.rows, columns = e.columns;
    if (rows < 1 || rows > kMaxCells || columns < 1 || columns > kMaxCells) return std::nullopt;
    const double p = e.pressure;
    const double tzul0 = supply.temperature, tabl0 = exhaust.temperature;
    const double rfzul0 = std::clamp(supply.humidity, 0.0f, 1.0f), rfabl0 = std::clamp(exhaust.humidity, 0.0f, 1.0f);
    const double supplyVapour = rfzul0 * saturationPressure(tzul0), exhaustVapour = rfabl0 * saturationPressure(tabl0);
    const bool inRange = tzul0 >= kColdest && tzul0 <= kWarmest && tabl0 >= kColdest && tabl0 <= kWarmest &&
                         supplyVapour < p && exhaustVapour < p;
    if (!inRange) return std::nullopt;
    const double gszl = positivePart(supply.flow), gsabl = positivePart(exhaust.flow);
    if (gszl == 0 || gsabl == 0)
        return Outlets{exhaust.temperature, exhaust.humidity, supply.temperature, supply.humidity, 0, 0, 0};

    // The exhaust's humidity ratio as the grid holds it: a dry exchanger then gives a drop
    // of exactly 0, not the rounding of the grid's floats.
    const double xzul0 = humidityRatio(supplyVapour, p);
    const double xabl0 = static_cast<float>(humidityRatio(exhaustVapour, p));
    const double mzulg = gszl * humidAirDensity(tzul0, supplyVapour, p);
    const double mablg = gsabl * humidAirDensity(tabl0, exhaustVapour, p);
    Sides k{sideOf(e.supply, e), sideOf(e.exhaust, e), e.plate / e.conductivity, p, xzul0};
    const double u = e.u, v = e.v, t = e.ribThickness;
    k.supply.massFlux = mzulg / (k.supply.count * (k.supply.width - t * k.supply.ribs) * k.supply.height);
    k.exhaust.massFlux = mablg / (k.exhaust.count * (k.exhaust.width - t * k.exhaust.ribs) * k.exhaust.height);
    const CellMake make{.area = k.supply.width * k.supply.length / (u * v),
                        .mzul = mzulg / (k.supply.count * 2 * u),
                        .mabl = mablg / (k.exhaust.count * 2 * v)};
    // Sub-cells no finer than the largest grid.
    const int most = std::max(1, kMaxCells / std::max(rows, columns));

    // The exhaust air leaving the row above each column, and the supply air leaving the
    // cell before, as single-precision values, which the results were always made from.
    std::array<float, kMaxCells> tabl, xabl;
    std::fill_n(tabl.begin(), columns, static_cast<float>(tabl0));
    std::fill_n(xabl.begin(), columns, static_cast<float>(xabl0));
    double condensate = 0, ice = 0, sumzul = 0;
    for (int i = 0; i < rows; ++i) {
        float tzul = static_cast<float>(tzul0);
        for (int j = 0; j < columns; ++j) {
            const Outlet o = gridCell(k, {tabl[j], xabl[j], tzul}, make, most);
            tabl[j] = static_cast<float>(o.tabl);
            xabl[j] = static_cast<float>(o.xabl);
            tzul = static_cast<float>(o.tzul);
            condensate += o.condensate;
            ice += o.ice;
        }
        sumzul += tzul;
    }
    double sumabl = 0, sumxabl = 0;
    for (int j = 0; j < columns; ++j) {
        sumabl += tabl[j];
        sumxabl += xabl[j];
    }
    const double tzulm = sumzul / u, tablm = sumabl / v, xablm = sumxabl / v;
    // Both sides of one plate, in 32 channel pairs, in kg/h.
    constexpr double kPerHour = 2.0 * 32.0 * 3600.0;
    const Outlets out{tzulm,
                      vapourPressure(xzul0, p) / saturationPressure(tzulm),
                      tablm,
                      vapourPressure(xablm, p) / saturationPressure(tablm),
                      xabl0 - xablm,
                      condensate * kPerHour,
                      ice * kPerHour};
    for (double x : {out.supplyTemperature, out.supplyHumidity, out.exhaustTemperature, out.exhaustHumidity, out.drop,
                     out.condensate, out.ice})
        if (!std::isfinite(x)) return std::nullopt;
    return out;
}

}  // namespace vireo::st::cross_flow
