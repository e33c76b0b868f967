//#Block BETAMAX, SHADF
//#Description
// Rows of tilted collectors one behind the other: the largest tilt at which a row does
// not shade the next one (BETAMAX), or the unshaded fraction of a row at a given tilt
// (SHADF), from the sun's position relative to the rows.
//#Layout
//#Inputs 2--3
//#Outputs 1
//#Parameters 2--3
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs BETAMAX
//#IN[0] Sun azimuth relative to the normal of the rows (degrees)
//#IN[1] Sun elevation (degrees)
//#IN[2] Not used (degrees)
//#Inputs SHADF
//#IN[0] Sun azimuth relative to the normal of the rows (degrees)
//#IN[1] Sun elevation (degrees)
//#IN[2] Tilt of the rows, taken within 0 to 90 (degrees)
//#Outputs BETAMAX
//#OUT[0] Largest tilt without shading: 90 when no tilt shades, 0 with the sun below the
// horizon (degrees)
//#Outputs SHADF
//#OUT[0] Unshaded fraction of a row, above 0 and at most 1; 1 with the sun below the
// horizon or more than 89 degrees to the side of the row normal (-)
//#Parameters
//#BP[0] Distance D between the rows (any length unit)
//#BP[1] Width L of a row along its slope, above 0 and below D (unit of D)
//#BP[2] Angle of the shading geometry, 0 to 90; optional, 0 when left out; BETAMAX only
// (degrees)
//#Strings
//#None
//#Remarks
// A row width not above 0 or not below the distance, an angle outside 0 to 90, and
// SHADF with fewer than three inputs are errors at initialisation.
//#end
#include "blocks.h"

#include "angles.h"
#include "orientation.h"
#include "routines.h"
#include "vireo_tools.h"

#include <cmath>
#include <cstdlib>

namespace vireo::em {
namespace {

// RP[0]: the degree, set at initialisation.
struct State {
    float& degree;
    explicit State(betamax_block::View& b) : degree(b.rp<0>()) {}
};

using P = betamax_block::P;

bool shadingFraction(const BlockView& b) { return std::abs(b.opMode()) == 2; }

// The row geometry in the shared area, as the residual reads it.
void fillArea(const betamax_block::View& b, float psi, float alpha) {
    cem0031[0] = std::cos(psi);
    cem0031[1] = alpha > 0.0f ? 1.0f / std::tan(alpha) : 1.0e9f;
    cem0031[2] = b.par<P::distance>();
    cem0031[3] = b.par<P::width>();
    cem0031[4] = std::sin(psi);
    cem0031[5] = std::tan(b.par<P::angle>() * kRad);
}

float largestTilt(const betamax_block::View& b, float psi, float alpha) {
    if (!(alpha >= 0.0f)) return 0.0f;
    fillArea(b, psi, alpha);
    const float flat = 0.0f;
    const float sign0 = fem0031(&flat) > 0.0f ? 1.0f : -1.0f;
    const auto reach = [](float beta) { return fem0031(&beta); };
    const float m = searchByThirds(reach, 0.0f, 0.5f * kPi, 0.01f, Seek::maximum).x;
    const float signM = fem0031(&m) >= 0.0f ? 1.0f : -1.0f;
    if (sign0 * signM >= 0.0f) return 90.0f;  // no tilt up to the steepest reach changes the sign
    // The tools' root finder takes a residual of the trial angle alone; the rest it reads
    // from the area filled above.
    const float lo = 0.0f, tolerance = 1.0e-4f;
    const int brent = 1, steps = 100;
    int status = 0;
    const float root = xroot(fem0031, &lo, &m, &tolerance, &brent, &steps, &status);
    return status == 0 ? root / kRad : 0.0f;
}

float unshadedFraction(const betamax_block::View& b, float psiDegrees, float alpha) {
    if (!(psiDegrees >= -89.0f && psiDegrees <= 89.0f && alpha >= 0.0f)) return 1.0f;
    fillArea(b, psiDegrees * kRad, alpha);
    float tilt = b.in(2);
    tilt = tilt > 0.0f ? (tilt < 90.0f ? tilt : 90.0f) : 0.0f;
    const float beta = tilt * kRad;
    const float l = cem0031[3], d = cem0031[2];
    const float x0 = l * std::sin(beta) * cem0031[1];
    const float reach = l * std::cos(beta) + cem0031[0] * x0;
    return reach - d > 0.0f ? d / reach : 1.0f;
}

}  // namespace

// A row narrower than the distance between rows: a tie the table cannot say.
bool betamax_block::tiesHold(View& b) {
    const float d = b.par<P::distance>(), l = b.par<P::width>();
    if (l > 0.0f && l < d) return true;
    b.report(code::badRowWidth, {.reals = {l, d}});
    return false;
}

void betamax_block::init(View& b) {
    State(b).degree = kRad;
    if (shadingFraction(b) && b.inputCount() < 3) b.report(code::shadingNeedsTilt);
}

void betamax_block::step(View& b) {
    const float alpha = b.in(1) * kRad;
    b.out(0) = shadingFraction(b) ? unshadedFraction(b, b.in(0), alpha) : largestTilt(b, b.in(0) * kRad, alpha);
}

}  // namespace vireo::em
