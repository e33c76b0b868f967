// What the air-duct pressure-drop blocks share: round-duct areas in the units the blocks
// take flows in, the dynamic-pressure loss and its inverse, the tables of published
// loss data with their end values, and the parameter checks whose messages say in words
// what a parameter must be.
//
// Flows are m3/h, velocities m/s, pressures Pa. The blocks compute in double and hand
// out single-precision outputs through `finite`, so that a huge or undefined input never
// leaves a block as an infinity or NaN.
#ifndef VIREO_ST_DUCT_H
#define VIREO_ST_DUCT_H

#include "BlockView.h"
#include "Messages.h"

#include <span>

namespace vireo::st::duct {

inline constexpr double kPi = 3.1415927;

// The area of a round duct of diameter d (m) times 3600: a flow in m3/h over it is the
// velocity in m/s.
inline double flowArea(double d) { return d * d * 3600.0 * kPi / 4.0; }

// Air density at a temperature in degC, at the fixed 100 000 Pa the blocks assume.
double density(float t);

// Pressure drop of a loss coefficient zeta at velocity v, v (rho zeta / 2) v; it keeps no
// sign, as the flow direction does not change the loss.
inline double loss(double v, double rho, double zeta) { return v * (rho * zeta / 2.0) * v; }

// The velocity whose loss is dp, with the sign of dp; 0 when rho zeta is not above 0 (no
// air, or a fitting without loss, passes no flow that a drop could be taken from).
double velocity(double dp, double rho, double zeta);

// One step of a fitting whose loss coefficient zeta refers to the velocity through a
// section of flow area `area` (flowArea of its diameter): OUT 0 the drop from the flow
// in IN 0, or for an inverse form the flow from the drop, at the air temperature in IN 1.
// Neither keeps the sign of IN 0. Returns the flow (m3/h), 0 for no flow or no drop.
double fittingStep(block::BlockView& b, bool inverse, double area, double zeta);

// A coefficient referred to a leg's own velocity instead of the reference velocity it was
// given for (zeta / q^2, q the leg's velocity over the reference); 0 for a leg at rest,
// which loses nothing.
inline double referredTo(double zeta, double q) { return q == 0.0 ? 0.0 : zeta / (q * q); }

// A value for a single-precision output: NaN gives 0, a value beyond the float range the
// nearest finite float.
float finite(double x);

// The full angle in degrees of a cone whose half-angle has the tangent t.
float coneAngle(double t);

// A table of published values over ascending points, interpolated linearly over the first
// half-open interval [at(k), at(k+1)) that holds x. Below the first point it gives `below`,
// at or above the last point (and for NaN) `beyond`: the published tables end that way, some
// with a value other than their last.
struct Table {
    std::span<const float> at;
    std::span<const float> value;
    float below;
    float beyond;
};
float lookUp(const Table& table, float x);

inline constexpr double kNoBound = 3.4028234663852886e38;  // the largest float

// Reports a parameter (0-based) as refused: the message names it, shows its value and
// says in words what it must be.
void refuse(block::BlockView& b, int parameter, block::Code code, float value, const char* wording);


// The form a block with several names computes: its opMode within 1..count, the first
// form for any other (which initialisation has refused).
inline int form(const block::BlockView& b, int count) {
    const int k = b.opMode();
    return k >= 1 && k <= count ? k : 1;
}

}  // namespace vireo::st::duct

#endif
