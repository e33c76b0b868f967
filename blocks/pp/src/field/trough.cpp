//#Block TROUGH
//#Description
// Intercept factor of a parabolic trough with its end losses, and the irradiance it
// concentrates onto the receiver.
//#Layout
//#Inputs 6
//#Outputs 2
//#Parameters 6
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Direct irradiance (W/m$^2$)
//#IN[1] A second irradiance, added with the weight of parameter 5 only (W/m$^2$)
//#IN[2] Collector azimuth, 0 to 360 from north through east (degrees)
//#IN[3] Collector tilt (degrees)
//#IN[4] Sun azimuth, 0 to 360 from north through east (degrees)
//#IN[5] Sun elevation (degrees)
//#Outputs
//#OUT[0] Irradiance on the receiver (W/m$^2$)
//#OUT[1] Intercept factor (-)
//#Parameters
//#BP[0] Aperture area, above 0 (m$^2$)
//#BP[1] Aperture width, above 0 (m)
//#BP[2] Receiver area, above 0 (m$^2$)
//#BP[3] Not used (-)
//#BP[4] Optical efficiency, the weight of both irradiances (-)
//#BP[5] Rim angle, 0 to 180 with both ends excluded (degrees)
//#Strings
//#None
//#Remarks
// The end loss is the length of the trough that the focal line leaves at the incidence
// angle, weighted by the sine of 180 + parameter 5 - parameter 3 (an empirical angle
// kept as the model has it). The intercept factor is 0.91 at normal incidence and 0
// where the end loss is longer than the trough. A parameter 1, 2 or 3 of 0 or below, and
// a rim angle outside 0 to 180 degrees (both excluded), are errors at initialisation.
//#end
#include "blocks.h"

#include "Numbers.h"
#include "steam.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vireo::pp {
namespace {

float d2r(float x) { return d2r_(&x); }

// The intercept factor at normal incidence, a single-precision constant used in the
// double-precision end-loss formula.
constexpr double kNormalIntercept = 0.91f;

// The sine of an angle in degrees, in double precision.
double sinDegrees(double x) { return std::sin(x * (std::numbers::pi / 180.0)); }

}  // namespace

void trough_block::step(View& b) {
    const float rim = d2r(b.par<P::rimAngle>());
    const double focalLength = b.par<P::apertureWidth>() * (1.0 + static_cast<double>(std::cos(rim))) /
                               (4.0 * static_cast<double>(std::sin(rim)));

    const float collectorAzimuth = d2r(b.in(2)), tilt = d2r(b.in(3));
    const float sunAzimuth = d2r(b.in(4)), sunElevation = d2r(b.in(5));
    // Incidence cosine on the aperture; products of single-precision sines can leave [-1, 1].
    const float cosIncidence = std::sin(tilt) * std::cos(collectorAzimuth) * std::cos(sunElevation) * std::cos(sunAzimuth) +
                               std::sin(tilt) * std::sin(collectorAzimuth) * std::cos(sunElevation) * std::sin(sunAzimuth) +
                               std::cos(tilt) * std::sin(sunElevation);
    const float incidence = block::acosClamped(cosIncidence);

    const double length = static_cast<double>(b.par<P::apertureArea>()) / b.par<P::apertureWidth>();
    // The empirical angle takes the optical efficiency and the receiver area, as the model has it.
    const double endLoss = std::fabs(focalLength * std::tan(static_cast<double>(incidence)) *
                                     sinDegrees(180.0f + b.par<P::efficiency>() - b.par<P::receiverArea>()));
    // Where the focal line leaves the whole trough nothing reaches the receiver.
    const double intercept = std::max(0.0, (length - endLoss) / length * kNormalIntercept);

    const float efficiency = b.par<P::efficiency>();
    const float onAperture = static_cast<float>(intercept) * b.in(0) * efficiency;
    b.out(0) = efficiency * b.in(1) + onAperture * b.par<P::apertureArea>() / b.par<P::receiverArea>();
    b.out(1) = static_cast<float>(intercept);
}

}  // namespace vireo::pp
