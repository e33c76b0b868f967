// Aqueous lithium bromide: the exported C routines and the forms the library's own blocks
// call. Sums are formed in double precision and the results rounded once to the single
// precision of the routines' interface.
#include "lithium_bromide.h"
#include "solution.h"

#include "vireo_tools.h"

#include <cstdio>
#include <cstring>

namespace vireo::st::solution {
namespace {

// McNeely's equilibrium temperature t = A(x) + (1 + B(x)) tsat(p): coefficients of x^1 to
// x^10 of A and B.
constexpr double kA[10] = {16.634855,  -553.3817,  11228.336, -110283.9,  621094.6,
                           -2111256.8, 4385190.0,  -5409811.5, 3626674.2, -1015305.9};
constexpr double kB[10] = {-0.06824282, 5.873619,   -102.78186, 930.3237,   -4822.394,
                           15189.038,   -29412.863, 34100.527,  -21671.48, 5799.5605};

// Σ c[i] x^(i+1) by Horner in double: the terms reach 5e6 with alternating signs, so a
// single-precision sum loses several hundredths of a kelvin.
double series(const double (&c)[10], double x) {
    double s = 0.0;
    for (int i = 9; i >= 0; --i) s = (s + c[i]) * x;
    return s;
}

float equilibriumTemperature(float x, float p) {
    const int liquid = 1;
    int status = 0;  // outside its range satt holds or extrapolates, which is what is wanted here
    const float tsat = satt(&liquid, &p, &status);
    return static_cast<float>(series(kA, x) + (1.0 + series(kB, x)) * tsat);
}

// The fixed arguments of the two residuals, which xroot calls with the unknown alone. Set
// by each search before it starts and read only during it.
struct {
    float x, t;
} commonlbwp{};
struct {
    float p, t;
} commonlbwx{};

float pressureResidual(const float* p) { return equilibriumTemperature(commonlbwp.x, *p) - commonlbwp.t; }
float concentrationResidual(const float* x) { return equilibriumTemperature(*x, commonlbwx.p) - commonlbwx.t; }

// Each search tells of its first failure in the life of the loaded library, by a text of
// its own; later failures only answer their status. Shared by every caller in the
// process on purpose.
bool pressureRootError = false;
bool concentrationRootError = false;

void tellOnce(bool& told, const char* text) {
    if (told) return;
    told = true;
    char row[1024];
    std::memset(row, ' ', sizeof row);
    std::memcpy(row, text, std::strlen(text));
    ftext(row, sizeof row);
}

Search search(vireo_residual f, float low, float high, float tolerance) {
    const int brent = 1, steps = 100;
    int status = 0;
    const float root = xroot(f, &low, &high, &tolerance, &brent, &steps, &status);
    return {root, status};
}

// A failed search answers its status as the value: no pressure of the range searched and
// no concentration can be negative, so callers of the C routines can tell.
float valueOrStatus(Search s) { return s.found() ? s.value : static_cast<float>(s.status); }

void warnUnlessModelOne(int model, const char* line) {
    if (model != 1) std::fputs(line, stdout);
}

}  // namespace

double enthalpy(double x, double t) {
    const double t2 = t * t, t3 = t2 * t;
    const double hlibr = 508.668 - 18.6241 * t + 0.0985946 * t2 - 2.50979e-5 * t3 + 4.15801e-8 * t2 * t2;
    const double hh2o = 4.2063437 * t - 0.0225 - 0.0006014696 * t2 + 4.381537e-6 * t3;
    const double s = 2.0 * x - 1.0;
    const double mixing = -1021.61 + 36.8773 * t - 0.186051 * t2 - 7.51277e-6 * t3 +
                          s * ((-533.308 + 40.2847 * t - 0.191198 * t2) +
                               s * ((483.628 + 39.9142 * t - 0.199213 * t2) +
                                    s * ((1155.13 + 33.3572 * t - 0.178258 * t2) +
                                         s * (640.622 + 13.1032 * t - 0.0775101 * t2))));
    return x * hlibr + (1.0 - x) * hh2o + x * (1.0 - x) * mixing;
}

Search vapourPressure(float x, float t) {
    commonlbwp = {x, t};
    const Search s = search(pressureResidual, 10.0f, 1e8f, t > 50.0f ? 10.0f : 0.001f);
    if (!s.found()) tellOnce(pressureRootError, " No root in LBWP");
    return s;
}

Search concentration(float p, float t) {
    commonlbwx = {p, t};
    const Search s = search(concentrationResidual, 0.0f, 0.75f, 0.0001f);
    if (!s.found()) tellOnce(concentrationRootError, " No root in LBWX");
    return s;
}

}  // namespace vireo::st::solution

using namespace vireo::st::solution;

extern "C" {

float lbwh(const float* x, const float* t, const int* model) {
    const double c = *x, temperature = *t;
    switch (*model) {
        case 2: {
            const double percent = 100.0 * c;
            return static_cast<float>(162.81 + (3.462023 - 0.02679895 * percent) * temperature +
                                      0.5 * (0.0013499 - 6.55e-6 * percent) * temperature * temperature -
                                      6.0418 * percent + 0.0045348 * percent * percent +
                                      0.0012053 * percent * percent * percent);
        }
        case 3:
            return static_cast<float>(4.187 * ((42.81 - 425.92 * c + 404.67 * c * c) +
                                               (1.01 - 1.23 * c + 0.48 * c * c) * temperature));
        case 1:
            break;
        default:
            std::fputs(" WARNING: Requested Un-implemented model at lbwh\n", stdout);
    }
    return static_cast<float>(enthalpy(c, temperature));
}

float lbwt(const float* x, const float* p, const int* model) {
    if (*model == 2 || *model == 3) return 0.0f;
    return equilibriumTemperature(*x, *p);
}

float lbwp(const float* x, const float* t, const int* model) {
    warnUnlessModelOne(*model, " WARNING: Only McNeely is implemented at lbwp\n");
    return valueOrStatus(vapourPressure(*x, *t));
}

float lbwx(const float* p, const float* t, const int* model) {
    warnUnlessModelOne(*model, " WARNING: Only McNeely is implemented at lbwx\n");
    return valueOrStatus(concentration(*p, *t));
}

float flbwp(const float* p) { return pressureResidual(p); }

float flbwx(const float* x) { return concentrationResidual(x); }

}  // extern "C"
