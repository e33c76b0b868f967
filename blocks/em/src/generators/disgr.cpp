//#Block DISGR
//#Description
// Probability density of a non-negative quantity normalised to mean 1 (a day's radiation
// over its monthly mean, for example) for a given variance, from the density
// $C x^a (1 - x/b)$ on $0 \le x \le b$, whose shape a, end b and factor C follow from the
// variance.
//#Layout
//#Inputs 1--2
//#Outputs 1
//#Parameters 1--2
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] The normalised quantity x (-)
//#IN[1] Variance of the distribution, above 0; optional: when connected it replaces
// parameter 1 at every step (-)
//#Outputs
//#OUT[0] Density f(x), not below 0; 0 below x = 0, from x = b on, at x = 0 unless the
// shape a is 0, and at a step whose variance input is not above 0 (-)
//#Parameters
//#BP[0] Variance of the distribution, above 0 unless input 2 gives it (-)
//#BP[1] Not used (-)
//#Strings
//#None
//#Remarks
// A variance parameter not above 0 is an error at initialisation when input 2 is not
// connected.
//#end
#include "blocks.h"

#include <cmath>
#include <limits>

namespace vireo::em {
namespace {

// RP[0..2]: shape a, upper end b and factor C of the density.
struct State {
    std::span<float, 3> shape;
    explicit State(disgr_block::View& b) : shape(b.rp<0, 3>()) {}
};

constexpr Rule kVariance{.parameter = disgr_block::P::variance, .low = 0, .high = std::numeric_limits<float>::max(),
                         .code = code::badVariance, .aboveLow = true};

bool usable(float v) { return v > 0.0f && v <= std::numeric_limits<float>::max(); }

// a from 2 / ((a + 1)(a + 4)) = v; then b and C give the density integral 1 and mean 1.
void shapeFor(float v, std::span<float, 3> shape) {
    const double a = 0.5 * std::sqrt(9.0 + 8.0 / static_cast<double>(v)) - 2.5;
    const double b = (3.0 + a) / (1.0 + a);
    shape[0] = static_cast<float>(a);
    shape[1] = static_cast<float>(b);
    shape[2] = static_cast<float>((1.0 + a) * (2.0 + a) / std::pow(b, 1.0 + a));
}

}  // namespace

bool disgr_block::checksHold(View& b) { return b.inputCount() >= 2 || b.check(kVariance, b.par<P::variance>()); }

void disgr_block::init(View& b) {
    if (const float variance = b.par<P::variance>(); usable(variance)) shapeFor(variance, State(b).shape);
}

void disgr_block::step(View& b) {
    State s(b);
    b.out(0) = 0.0f;
    if (b.inputCount() >= 2) {
        if (!usable(b.in(1))) return;
        shapeFor(b.in(1), s.shape);
    }
    const double x = b.in(0), a = s.shape[0], end = s.shape[1], c = s.shape[2];
    // Outside (0, b) the density is 0; at x = 0 only a = 0 gives it a value, C, where a
    // negative shape would give infinity.
    if (!(end > 0.0) || !(x >= 0.0) || !(x < end)) return;
    if (x == 0.0) {
        if (a == 0.0) b.out(0) = static_cast<float>(c);
        return;
    }
    const double f = c * std::pow(x, a) * (1.0 - x / end);
    b.out(0) = f > 0.0 && std::isfinite(f) ? static_cast<float>(f) : 0.0f;
}

}  // namespace vireo::em
