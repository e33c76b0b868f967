// Root finding and reproducible random deviates.
#include "vireo_tools.h"

#include "vireo_brent.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

float bisect(vireo_residual f, float a, float b, float fa, float tol, int nmax, int* status) {
    for (int k = 0; k < nmax; ++k) {
        const float m = 0.5f * (a + b);
        if (m == a || m == b || 0.5f * std::fabs(b - a) <= tol) {
            *status = 0;  // no float lies between the ends: as close as it gets
            return m;
        }
        const float fm = f(&m);
        if (fm == 0.0f) {
            *status = 0;
            return m;
        }
        if ((fm < 0.0f) == (fa < 0.0f)) {
            a = m;
            fa = fm;
        } else {
            b = m;
        }
    }
    *status = -2;
    return 0.5f * (a + b);
}

// Brent (1973), the blocks' own solver, in double precision around a single-precision
// residual: the tolerance counts in float epsilons, and a midpoint that no float tells
// apart from an end is as close as it gets.
float brent(vireo_residual f, double a, double b, double fa, double fb, double tol, int nmax, int* status) {
    const auto residual = [f](double x) {
        const float at = static_cast<float>(x);
        return static_cast<double>(f(&at));
    };
    const vireo::numerics::BrentPrecision single{
        .epsilon = std::numeric_limits<float>::epsilon(), .floatResolution = true, .stopOnNaN = false};
    const vireo::numerics::Root r = vireo::numerics::brent(residual, a, b, fa, fb, tol, nmax, single);
    *status = r.converged ? 0 : -2;
    return static_cast<float>(r.x);
}

constexpr int kModulus = 2147483647;  // Park and Miller's minimal standard generator
constexpr int kTable = 97;

int nextLcg(int* seed) {
    const long long v = (16807LL * *seed) % kModulus;
    *seed = static_cast<int>(v);
    return *seed;
}

float uniformOf(int v) {
    // v is in 1..kModulus-1; keep the result strictly inside (0, 1) in single precision.
    float u = static_cast<float>(static_cast<double>(v) / kModulus);
    if (u <= 0.0f) u = std::numeric_limits<float>::min();
    if (u >= 1.0f) u = 1.0f - std::numeric_limits<float>::epsilon();
    return u;
}

}  // namespace

extern "C" {

float xroot(vireo_residual f, const float* xmin, const float* xmax, const float* tol, const int* mode,
            const int* nmax, int* status) {
    float a = *xmin, b = *xmax;
    const int steps = *nmax > 0 ? *nmax : 1;
    const float t = std::fabs(*tol);
    const float fa = f(&a);
    if (fa == 0.0f) {
        *status = 0;
        return a;
    }
    const float fb = f(&b);
    if (fb == 0.0f) {
        *status = 0;
        return b;
    }
    if (!std::isfinite(fa) || !std::isfinite(fb) || (fa < 0.0f) == (fb < 0.0f)) {
        *status = -1;
        return 0.5f * (a + b);
    }
    if (*mode == 1) return brent(f, a, b, fa, fb, t, steps, status);
    return bisect(f, a, b, fa, t, steps, status);
}

float ran1(int* seed, int* state, float* table) {
    // Bays and Durham's shuffle of the minimal standard generator. The seed holds the
    // generator, the table the shuffled values, the state 1 + the next slot to draw.
    if (*state <= 0 || *state > kTable) {
        long long s = std::llabs(static_cast<long long>(*seed)) % kModulus;
        *seed = s == 0 ? 1 : static_cast<int>(s);
        for (int k = 0; k < 8; ++k) nextLcg(seed);
        for (int k = 0; k < kTable; ++k) table[k] = uniformOf(nextLcg(seed));
        *state = 1 + static_cast<int>(kTable * uniformOf(nextLcg(seed)));
    }
    const int j = *state - 1;
    const float out = table[j];
    table[j] = uniformOf(nextLcg(seed));
    int next = static_cast<int>(kTable * out);
    if (next >= kTable) next = kTable - 1;
    *state = next + 1;
    return out;
}

float gasdev(int* seed, int* state, float* table) {
    // Marsaglia's polar method; the second deviate of each pair is dropped so that the
    // caller's three places remain the whole state.
    for (;;) {
        const float v1 = 2.0f * ran1(seed, state, table) - 1.0f;
        const float v2 = 2.0f * ran1(seed, state, table) - 1.0f;
        const float r = v1 * v1 + v2 * v2;
        if (r > 0.0f && r < 1.0f) return v1 * std::sqrt(-2.0f * std::log(r) / r);
    }
}

}  // extern "C"
