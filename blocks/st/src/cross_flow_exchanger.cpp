#include "cross_flow_exchanger.h"

#include "Solve.h"
#include "values.h"
#include "water_air_fits.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

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
double vapourPressure(double x, double p) { return p * x / (0.622 + x); }
double humidityRatio(double vapour, double p) { return 0.622 * vapour / (p - vapour); }
// The dry air's part of the density of humid air, kg/m3.
double dryAirDensity(double t, double vapour, double p) { return (p - vapour) / 287.0 / (kKelvin + t); }

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

// One air stream: temperature in degC, humidity ratio in kg water per kg dry air.
struct Stream {
    double t, x;
};
// Water taken from the air on one side of a plate, kg/s, and the frozen part of it.
struct Water {
    double condensate = 0, ice = 0;
};

// What one cell (or sub-cell) gives.
struct Outlet {
    Stream exhaust, supply;
    Water water;  // of whichever stream condensed
};

// What a cell is made of: its area and the dry air through it on either side.
struct CellMake {
    double area;
    double supply, exhaust;  // kg/s
};
struct Sides {
    Side supply, exhaust;
    double wall;  // plate thickness over conductivity
    double pressure;
};

// What a kilogram of vapour gives up when it condenses on a plate at tp out of air at t:
// its enthalpy as the air carries it (the heat of evaporation at 0 degC and 1875 J/(kg K)
// from there) less that of the water it leaves as, at the plate.
double condensationHeat(double t, double tp) {
    return 1000.0 * (fits::vapourEnthalpy(0.0) - fits::liquidEnthalpy(tp)) + kVapourHeat * t;
}

// Air holding more water than saturates it at its temperature: the excess condenses in
// it, its heat warming the air, until what is left just saturates it. Returns the water
// shed, per kg of dry air.
double shedExcess(Stream& s, double p) {
    const auto saturated = [p](double t) {
        const double ps = saturationPressure(t);
        return ps < p ? humidityRatio(ps, p) : std::numeric_limits<double>::infinity();
    };
    const double excess = s.x - saturated(s.t);
    if (!(excess > 0)) return 0.0;
    const double cp = fits::airHeatCapacity(s.t);
    // What the air and the water it keeps take up, warming to t, against what condensing
    // gives: rising in t, below 0 at the start and above it at the air's dew point, where
    // it would keep all its water. (Further, beyond the range of the saturation pressure's
    // fit, which bends back there, the balance would find a root hundreds of kelvin on.)
    const auto balance = [&](double t) {
        const double xs = std::min(s.x, saturated(t));
        return (cp + kVapourHeat * xs) * (t - s.t) - (s.x - xs) * condensationHeat(s.t, t);
    };
    const double vapour = vapourPressure(s.x, p);
    const double dew = block::solve([&](double t) { return saturationPressure(t) - vapour; }, s.t, kWarmest).x;
    const double t = block::solve(balance, s.t, dew, {.tolerance = 1e-9}).x;
    const double x = std::min(s.x, saturated(t));
    const double shed = s.x - x;
    s = {t, x};
    return shed;
}

// Heat and mass balance of one cell in closed form; `units` the larger of its transfer
// units on either side. With more than 2 the balance sends an outlet past the other
// stream; `limit` then holds them at 2 by taking less of the area for heat (the
// condensation keeps the whole area).
//
// Heat goes from the warmer stream to the cooler one, whichever is the exhaust: the warmer
// one's vapour condenses where the plate lies below its dew point, and the cooler one
// keeps the water it came with.
Outlet cell(const Sides& k, const Stream& exhaust, const Stream& supply, const CellMake& make, bool limit,
            double& units) {
    const bool exhaustWarm = exhaust.t >= supply.t;
    const Side& warmSide = exhaustWarm ? k.exhaust : k.supply;
    const Side& coolSide = exhaustWarm ? k.supply : k.exhaust;
    const Stream& warm = exhaustWarm ? exhaust : supply;
    const Stream& cool = exhaustWarm ? supply : exhaust;
    const double mw = exhaustWarm ? make.exhaust : make.supply, mc = exhaustWarm ? make.supply : make.exhaust;

    const double p = k.pressure;
    const double ta = warm.t, xa = warm.x, tz = cool.t;
    const double vapour = vapourPressure(xa, p);
    const double rohabl = humidAirDensity(ta, vapour, p);
    const double lamdap = conductivity(ta), lamdak = conductivity(tz);
    const double cpabl = fits::airHeatCapacity(ta), cpzul = fits::airHeatCapacity(tz);
    double reabl, rezul;
    const double hcabl = coefficient(warmSide, ta, cpabl, lamdap, reabl);
    const double hczul = coefficient(coolSide, tz, cpzul, lamdak, rezul);
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
    condensate = std::clamp(condensate, 0.0, std::max(0.0, mw * excess));

    double area = make.area;
    units = kwert * area * std::max(1 / (mc * cpzul), 1 / (mw * cpabl));
    if (limit && units > kMaxTransferUnits) area *= kMaxTransferUnits / units;
    const double z1 = 1 / (wall + 1 / hczul);
    const double b1 = hcabl / (hcabl + z1), b2 = z1 / (hcabl + z1), b3 = 1 / (hcabl + z1);
    const double c2 = z1 * area / (2 * mc), c3 = z1 * area / mc;
    const double cz = cpzul + kVapourHeat * cool.x;
    const double c1 = cz + c2 * (b2 - 1), c4 = cz - c2 * (b2 - 1);
    const double g = hcabl * area / (2 * mw);
    const double share = 1 - b1 - b1 * b2 * c2 / c4;
    const double k2 = g * (b2 + b2 * c1 / c4), k3 = g * (2 * b3 + b2 * b3 * c3 / c4);
    const double flux = mw / area;  // latent heat per kg of air to heat per plate area
    const double latent = condensationHeat(ta, towt);

    // The outlets when dx condenses, `fusion` of each kilogram's heat of fusion freeing
    // as it freezes: linear in the latent load dx (condensation heat + fusion).
    struct State {
        double tabl, tzul, towta;
    };
    const auto at = [&](double dx, double fusion) {
        const double cx = cpabl + kVapourHeat * (xa - dx);
        const double k1 = g * share - cx, k4 = -cx - g * share;
        const double load = dx * (latent + fusion);
        State s;
        s.tabl = ta * k1 / k4 - tz * k2 / k4 - flux * (k3 / k4) * load;
        s.tzul = (c1 / c4) * tz + (b1 * c2 / c4) * (s.tabl + ta) + flux * (b3 * c3 / c4) * load;
        s.towta = 0.5 * b1 * (s.tabl + ta) + 0.5 * b2 * (s.tzul + tz) + b3 * flux * load;
        return s;
    };
    // The largest multiple of 100 J/kg, up to the full heat of fusion, that keeps the
    // plate at or below 0 degC; the plate temperature rises with it in a straight line.
    const auto frozenShare = [&](double dx) {
        const State none = at(dx, 0);
        if (none.towta > 0) return 0.0;
        const State full = at(dx, kFusion);
        if (full.towta <= 0) return kFusion;
        const double slope = (full.towta - none.towta) / kFusion;
        const double exact = slope > 0 ? -none.towta / slope : 0.0;
        double frozen = std::clamp(std::floor(exact / kFusionStep), 0.0, kFusion / kFusionStep - 1) * kFusionStep;
        while (frozen > 0 && at(dx, frozen).towta > 0) frozen -= kFusionStep;
        while (frozen + kFusionStep < kFusion && at(dx, frozen + kFusionStep).towta <= 0) frozen += kFusionStep;
        return frozen;
    };
    double dx = condensate / mw, frozen = frozenShare(dx);
    State s = at(dx, frozen);
    // The heat set free warms the plate; beyond the warm air's dew point nothing would
    // condense on it, and the cool air would leave warmer than the warm air came. As much
    // condenses then as keeps the plate at the dew point, frozen wholly where that lies
    // at or below 0 degC.
    // (The saturation pressure's fit holds up to the warm air's temperature, beyond which
    // anything lies past the dew point.)
    const auto pastDew = [&](double t) { return t >= ta || saturationPressure(t) > vapour; };
    const auto dewPoint = [&] {
        return block::solve([&](double t) { return saturationPressure(t) - vapour; }, kColdest, ta).x;
    };
    if (dx > 0 && s.towta > towt && pastDew(s.towta)) {
        const double dew = dewPoint();
        frozen = dew > 0 ? 0.0 : kFusion;
        dx = block::solve([&](double d) { return at(d, frozen).towta - dew; }, 0.0, dx, {.tolerance = 1e-12}).x;
        s = at(dx, frozen);
    }
    // Nor can that heat, set free at a plate no warmer than the dew point, take the cool
    // air past the dew point beyond where the plate's sensible heat alone takes it. Where
    // the cool stream is the far smaller one it would take most of the heat and leave
    // past the warm air's inlet (and, the warmer one in the cells after, heat it past
    // its own); as much condenses then as brings it there.
    if (dx > 0 && pastDew(s.tzul)) {
        const double highest = std::max(at(0.0, 0.0).tzul, dewPoint());
        if (s.tzul > highest) {
            dx = block::solve([&](double d) { return at(d, frozen).tzul - highest; }, 0.0, dx, {.tolerance = 1e-12}).x;
            s = at(dx, frozen);
        }
    }
    condensate = mw * dx;
    Stream warmOut{s.tabl, xa - dx};
    const Stream coolOut{s.tzul, cool.x};
    // What the plate did not take and the cooled air cannot hold condenses in the air.
    const double fog = mw * shedExcess(warmOut, p);
    const Water water{condensate + fog, condensate * frozen / kFusion};
    Outlet o{};
    o.exhaust = exhaustWarm ? warmOut : coolOut;
    o.supply = exhaustWarm ? coolOut : warmOut;
    o.water = water;
    return o;
}

void add(Water& sum, const Water& w) {
    sum.condensate += w.condensate;
    sum.ice += w.ice;
}

// The cell of the grid: in s x s sub-cells of the same form where its transfer units on
// a side exceed 2, s the fewest that bring them to 2 and at most `most`.
Outlet gridCell(const Sides& k, const Stream& exhaust, const Stream& supply, const CellMake& make, int most) {
    double units;
    const Outlet whole = cell(k, exhaust, supply, make, false, units);
    if (!(units > kMaxTransferUnits)) return whole;
    const int s = static_cast<int>(std::min<double>(most, std::ceil(units / kMaxTransferUnits)));
    if (s <= 1) return cell(k, exhaust, supply, make, true, units);

    const CellMake sub{make.area / (s * s), make.supply / s, make.exhaust / s};
    std::array<Stream, kMaxCells> across;
    std::fill_n(across.begin(), s, exhaust);
    Outlet o{};
    for (int r = 0; r < s; ++r) {
        Stream along = supply;
        for (int q = 0; q < s; ++q) {
            const Outlet c = cell(k, across[q], along, sub, true, units);
            across[q] = c.exhaust;
            along = c.supply;
            add(o.water, c.water);
        }
        o.supply.t += along.t;
        o.supply.x += along.x;
    }
    for (int q = 0; q < s; ++q) {
        o.exhaust.t += across[q].t;
        o.exhaust.x += across[q].x;
    }
    for (Stream* m : {&o.exhaust, &o.supply}) m->t /= s, m->x /= s;
    // Saturated sub-cells mixed hold more than saturates the mixture.
    o.water.condensate +=
        make.exhaust * shedExcess(o.exhaust, k.pressure) + make.supply * shedExcess(o.supply, k.pressure);
    return o;
}

}  // namespace

std::optional<Outlets> exchange(const Exchanger& e, const Air& supply, const Air& exhaust) {
    if (!(e.u >= 1 && e.u <= kMaxCells && e.v >= 1 && e.v <= kMaxCells)) return std::nullopt;
    const int rows = static_cast<int>(e.u), columns = static_cast<int>(e.v);
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

    // The humidity ratios as the grid holds them: a dry exchanger then gives a drop of
    // exactly 0, not the rounding of the grid's floats.
    const double xzul0 = static_cast<float>(humidityRatio(supplyVapour, p));
    const double xabl0 = static_cast<float>(humidityRatio(exhaustVapour, p));
    // The channels' flow is the humid air's; the cells' balances count the dry air, which
    // their capacities and humidity ratios are per kg of.
    const double mzulg = gszl * humidAirDensity(tzul0, supplyVapour, p);
    const double mablg = gsabl * humidAirDensity(tabl0, exhaustVapour, p);
    const double dryZul = gszl * dryAirDensity(tzul0, supplyVapour, p);
    const double dryAbl = gsabl * dryAirDensity(tabl0, exhaustVapour, p);
    Sides k{sideOf(e.supply, e), sideOf(e.exhaust, e), e.plate / e.conductivity, p};
    const double u = e.u, v = e.v, t = e.ribThickness;
    k.supply.massFlux = mzulg / (k.supply.count * (k.supply.width - t * k.supply.ribs) * k.supply.height);
    k.exhaust.massFlux = mablg / (k.exhaust.count * (k.exhaust.width - t * k.exhaust.ribs) * k.exhaust.height);
    // Each plate parts a supply-air channel from an exhaust-air one, so both streams
    // spread over the same plate faces: as many as the two counts together, both sides
    // of every channel where the counts are equal. Counted by each side's own channels,
    // unequal counts would have one stream give what the other does not take. One face
    // in one row of cells:
    const double faces = k.supply.count + k.exhaust.count;
    const CellMake make{.area = k.supply.width * k.supply.length / (u * v),
                        .supply = dryZul / (faces * u),
                        .exhaust = dryAbl / (faces * v)};
    // Sub-cells no finer than the largest grid.
    const int most = std::max(1, kMaxCells / std::max(rows, columns));

    // The exhaust air leaving the row above each column, and the supply air leaving the
    // cell before, as single-precision values, which the results were always made from.
    struct Held {
        float t, x;
    };
    std::array<Held, kMaxCells> across;
    std::fill_n(across.begin(), columns, Held{static_cast<float>(tabl0), static_cast<float>(xabl0)});
    Water water;
    double sumzul = 0, sumxzul = 0;
    for (int i = 0; i < rows; ++i) {
        Held along{static_cast<float>(tzul0), static_cast<float>(xzul0)};
        for (int j = 0; j < columns; ++j) {
            const Outlet o = gridCell(k, {across[j].t, across[j].x}, {along.t, along.x}, make, most);
            across[j] = {static_cast<float>(o.exhaust.t), static_cast<float>(o.exhaust.x)};
            along = {static_cast<float>(o.supply.t), static_cast<float>(o.supply.x)};
            add(water, o.water);
        }
        sumzul += along.t;
        sumxzul += along.x;
    }
    double sumabl = 0, sumxabl = 0;
    for (int j = 0; j < columns; ++j) {
        sumabl += across[j].t;
        sumxabl += across[j].x;
    }
    Stream supplyOut{sumzul / u, sumxzul / u}, exhaustOut{sumabl / v, sumxabl / v};
    // The outlets mixed, as with the sub-cells; then every plate face, in kg/h.
    const double mixed = dryZul * shedExcess(supplyOut, p) + dryAbl * shedExcess(exhaustOut, p);
    constexpr double kPerHour = 3600.0;
    const Outlets out{supplyOut.t,
                      vapourPressure(supplyOut.x, p) / saturationPressure(supplyOut.t),
                      exhaustOut.t,
                      vapourPressure(exhaustOut.x, p) / saturationPressure(exhaustOut.t),
                      xabl0 - exhaustOut.x,
                      (water.condensate * faces + mixed) * kPerHour,
                      water.ice * faces * kPerHour};
    for (double x : {out.supplyTemperature, out.supplyHumidity, out.exhaustTemperature, out.exhaustHumidity, out.drop,
                     out.condensate, out.ice})
        if (!std::isfinite(x)) return std::nullopt;
    return out;
}

}  // namespace vireo::st::cross_flow
