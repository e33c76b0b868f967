// Writes the coefficients of the critical mass flux correlation
// (blocks/pp/src/critical_flow.inc) to standard output: least-squares fits to the
// homogeneous-equilibrium flux, the largest rho * sqrt(2 dh) along the isentrope from the
// state, over the library's own isentropic routines. The correlation is linear in its
// coefficients, so each row of a fit is the correlation evaluated with one coefficient set
// to 1. Standard error gets the largest relative deviation of the correlation from the
// flux in each of its parts. A test runs it again and compares with the committed table.
#include "critical_flow.h"
#include "least_squares.h"
#include "steam.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

namespace cf = vireo::steam::critical_flow;

constexpr double kPc = 3208.234758592228;
// 2 × 778.169 ft·lbf/Btu × 32.174 lbm·ft/(lbf·s²): ft²/s² per Btu/lbm, doubled.
constexpr double kTwiceVelocitySquared = 2.0 * 778.169 * 32.174;
// lbm/(ft²·s) in lbm/(h·in²): 3600 s/h over 144 in²/ft².
constexpr double kFluxUnit = 25.0;

double fluxAt(double p, double s, double h, double ratio) {
    double p2 = ratio * p, t = 0.0, v = 0.0, x = 0.0;
    const double h2 = hisiss_(&p2, &s, &t, &v, &x);
    return std::sqrt(kTwiceVelocitySquared * std::max(0.0, h - h2)) / v;
}

// The homogeneous-equilibrium critical flux, lbm/(h·in²): a scan of the downstream
// pressure ratio, then a golden-section search around the best point.
double equilibriumFlux(double p, double h) {
    double pp = p, hh = h, t = 0.0, v = 0.0, x = 0.0;
    const double s = sssiss_(&pp, &hh, &t, &v, &x);
    constexpr int kScan = 64;
    const auto ratioOf = [](int i) { return 0.2 + (0.995 - 0.2) * i / kScan; };
    int best = 0;
    double bestFlux = -1.0;
    for (int i = 0; i <= kScan; ++i) {
        const double f = fluxAt(p, s, h, ratioOf(i));
        if (f > bestFlux) {
            bestFlux = f;
            best = i;
        }
    }
    double a = ratioOf(std::max(best - 1, 0)), b = ratioOf(std::min(best + 1, kScan));
    const double g = (std::sqrt(5.0) - 1.0) / 2.0;
    double c = b - g * (b - a), d = a + g * (b - a);
    double fc = fluxAt(p, s, h, c), fd = fluxAt(p, s, h, d);
    for (int i = 0; i < 40; ++i) {
        if (fc > fd) {
            b = d;
            d = c;
            fd = fc;
            c = b - g * (b - a);
            fc = fluxAt(p, s, h, c);
        } else {
            a = c;
            c = d;
            fc = fd;
            d = a + g * (b - a);
            fd = fluxAt(p, s, h, d);
        }
    }
    return kFluxUnit * std::max({bestFlux, fc, fd});
}

std::vector<double> geometric(double from, double to, int count) {
    std::vector<double> values;
    for (int i = 0; i < count; ++i) values.push_back(from * std::pow(to / from, static_cast<double>(i) / (count - 1)));
    return values;
}

// The coefficients in the order of the table.
constexpr std::size_t kSaturated = 20, kSuperheat = 75, kBreakpoint = 35;

cf::Coefficients unpack(const std::vector<double>& flat) {
    cf::Coefficients c{};
    std::size_t i = 0;
    for (auto& q : c.saturated) {
        for (auto& v : q) v = flat[i++];
    }
    for (auto& set : c.superheat) {
        for (auto& q : set) {
            for (auto& v : q) v = flat[i++];
        }
    }
    for (auto& q : c.breakpoint) {
        for (auto& v : q) v = flat[i++];
    }
    return c;
}

struct Sample {
    double p, h, x, spt, flux;
};

// Fits the coefficients first .. first + count of the flat table: the row of a sample is
// `part` with one coefficient at 1, its target `target`, both divided by `weight`.
using Part = std::function<double(const cf::Coefficients&, const Sample&)>;
void fitPart(std::vector<double>& flat, std::size_t first, std::size_t count, const std::vector<Sample>& samples,
             const Part& part, const std::function<double(const Sample&)>& target,
             const std::function<double(const Sample&)>& weight) {
    std::vector<cf::Coefficients> units;
    for (std::size_t k = 0; k < count; ++k) {
        std::vector<double> unit(flat.size(), 0.0);
        unit[first + k] = 1.0;
        units.push_back(unpack(unit));
    }
    std::vector<std::vector<double>> rows;
    std::vector<double> targets;
    for (const auto& s : samples) {
        std::vector<double> row;
        for (const auto& unit : units) row.push_back(part(unit, s) / weight(s));
        rows.push_back(row);
        targets.push_back(target(s) / weight(s));
    }
    const auto c = vireo_fit::leastSquares(rows, targets);
    std::copy(c.begin(), c.end(), flat.begin() + static_cast<std::ptrdiff_t>(first));
}

double largestDeviation(const cf::Coefficients& c, const std::vector<Sample>& samples) {
    double largest = 0.0;
    for (const auto& s : samples) {
        const double d = std::fabs(cf::criticalFlux(c, s.p, s.x, s.spt, s.h) / s.flux - 1.0);
        largest = std::max(largest, d);
    }
    return largest;
}

double saturationTemperature(double p) { return tsl_(&p); }
double vapourEnthalpy(double p, double t) { return hptd_(&p, &t); }

}  // namespace

int main() {
    // Wet steam from x = 0.7 (and 800 Btu/lbm) to 0.999, up to the critical pressure.
    std::vector<Sample> wet;
    for (const double p : geometric(1.0, 3200.0, 64)) {
        const double hf = hfp_(&p), hg = hgp_(&p);
        for (int i = 0; i <= 15; ++i) {
            const double x = i == 15 ? cf::kHighestQuality : 0.7 + 0.02 * i;
            const double h = hf + x * (hg - hf);
            if (h < 800.0) continue;
            wet.push_back({p, h, x, 0.0, equilibriumFlux(p, h)});
        }
    }
    // Superheat from 15 to 85 °F.
    std::vector<Sample> near;
    for (const double p : geometric(1.0, 3200.0, 90)) {
        for (int i = 0; i <= 14; ++i) {
            const double spt = cf::kLowestSuperheat + 5.0 * i;
            const double h = vapourEnthalpy(p, saturationTemperature(p) + spt);
            near.push_back({p, h, 1.0, spt, equilibriumFlux(p, h)});
        }
    }
    // Superheat from 80 °F (above the critical pressure from 960 Btu/lbm) to 1860 Btu/lbm.
    std::vector<Sample> superheated;
    for (const double p : geometric(1.0, 8000.0, 96)) {
        // The vapour temperatures end at 1600 °F (the inverse a few tenths of a degree off it), a little below 1860 Btu/lbm at low pressure.
        const double low = p <= kPc ? vapourEnthalpy(p, saturationTemperature(p) + 80.0) : 960.0;
        const double high = std::min(1860.0, vapourEnthalpy(p, 1595.0));
        for (int i = 0; i <= 20; ++i) {
            const double h = low + (high - low) * i / 20.0;
            double pp = p, hh = h;
            const double spt = p <= kPc ? tph_(&pp, &hh) - saturationTemperature(p) : 400.0;
            superheated.push_back({p, h, 1.0, spt, equilibriumFlux(p, h)});
        }
    }

    std::vector<double> flat(kSaturated + kSuperheat + kBreakpoint, 0.0);
    const auto one = [](const Sample&) { return 1.0; };
    const auto multiplier = [](const Sample& s) { return s.p * cf::baseFlux(s.p) / s.flux; };
    fitPart(flat, 0, kSaturated, wet,
            [](const cf::Coefficients& c, const Sample& s) { return cf::wetMultiplier(c, s.p, s.x); }, multiplier,
            one);
    fitPart(flat, kSaturated, kSuperheat, near,
            [](const cf::Coefficients& c, const Sample& s) { return cf::superheatMultiplierFrom15(c, s.p, s.spt); },
            multiplier, one);
    // Relative deviations count alike from 1 to 8000 psia.
    const auto perPsia = [](const Sample& s) { return s.flux / s.p; };
    fitPart(flat, kSaturated + kSuperheat, kBreakpoint, superheated,
            [](const cf::Coefficients& c, const Sample& s) { return cf::superheatedFlux(c, s.p, s.h); }, perPsia,
            perPsia);

    const cf::Coefficients fitted = unpack(flat);
    std::fprintf(stderr, "largest relative deviation: wet %.4f, near saturation %.4f, superheated %.4f\n",
                 largestDeviation(fitted, wet), largestDeviation(fitted, near), largestDeviation(fitted, superheated));

    std::printf("// Made by tests/steam/make_critical_flow.cpp; do not edit.\n");
    std::printf("#include \"critical_flow.h\"\n\nnamespace vireo::steam::critical_flow {\n\n");
    std::printf("const Coefficients kCoefficients = {\n");
    std::size_t i = 0;
    const auto quartics = [&](int count, const char* indent) {
        for (int q = 0; q < count; ++q, i += 5) {
            std::printf("%s{%.10e, %.10e, %.10e, %.10e, %.10e},\n", indent, flat[i], flat[i + 1], flat[i + 2],
                        flat[i + 3], flat[i + 4]);
        }
    };
    std::printf("    // wet: coefficients of (p/1000)^0..3, each a quartic in x\n    {{\n");
    quartics(4, "        ");
    std::printf("    }},\n    // superheat: sets in ln p, p/1000, p/1000 - 2.4; coefficients of (spt/100)^0..4\n    {{\n");
    for (int set = 0; set < 3; ++set) {
        std::printf("        {{\n");
        quartics(5, "            ");
        std::printf("        }},\n");
    }
    std::printf("    }},\n    // superheated flux per psia at the breakpoints, quartics in h/1000\n    {{\n");
    quartics(7, "        ");
    std::printf("    }},\n};\n\n}  // namespace vireo::steam::critical_flow\n");
    return 0;
}
