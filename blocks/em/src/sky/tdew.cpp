//#Block TDEW
//#Description
// Dew point from the air temperature and the relative humidity, by fits of the dew point
// in degrees Fahrenheit to the logarithm of the vapour pressure in inches of mercury, one
// over water and one over ice.
//#Layout
//#Inputs 2
//#Outputs 1
//#Parameters 0
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Air temperature $T_a$ ($^\circ$C)
//#IN[1] Relative humidity $\varphi$, a fraction 0 to 1, taken as at least 0.001 (-)
//#Outputs
//#OUT[0] Dew point ($^\circ$C); below 0 over ice (the frost point) when the air is below
// 0 $^\circ$C
//#Parameters
//#None
//#Strings
//#None
//#Remarks
// The saturation pressure is $p_s = 10^{8.429266 - 1827.1785/T - 71208.27/T^2}$ hPa, T the
// air temperature in K, and $e = 0.02953\,\varphi\,p_s$ the vapour pressure in inches of
// mercury. The dew point in degrees Fahrenheit is $79.047 + 30.579 \ln e + 1.8893 (\ln
// e)^2$ for air at 0 $^\circ$C or above, $71.98 + 24.83 \ln e + 0.8927 (\ln e)^2$ below.
// The fit over water or ice follows the air temperature, not the dew point: for a frost
// point in air above 0 $^\circ$C the result can lie up to 1.6 K too low. Where the vapour
// pressure is so low that a fit would turn back and rise (at about -43 $^\circ$C over water,
// -74 $^\circ$C over ice) the dew point stays at the fit's lowest value; air below absolute
// zero is taken at it. An input that is not a number gives 0.
//#end
#include "blocks.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vireo::em {
namespace {

constexpr double kZeroCelsius = 273.15;
constexpr double kLeastHumidity = 0.001;
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// t_F = c0 + c1 L + c2 L^2 with L = ln e; its lowest point lies at L = -c1 / (2 c2).
struct Fit {
    double c0, c1, c2;
    double at(double l) const {
        const double lowest = -c1 / (2.0 * c2);
        l = std::max(l, lowest);
        return c0 + l * (c1 + c2 * l);
    }
};
constexpr Fit kOverWater{79.047, 30.579, 1.8893};
constexpr Fit kOverIce{71.98, 24.83, 0.8927};

}  // namespace

void tdew_block::step(View& b) {
    const float ta = b.in(0), phi = b.in(1);
    b.out(0) = 0.0f;
    if (std::isnan(ta) || std::isnan(phi)) return;
    // Air below absolute zero is taken at it.
    const double t = std::max(ta + kZeroCelsius, 0.0);
    const double ps = std::pow(10.0, 8.429266 - 1827.1785 / t - 71208.27 / (t * t));
    // ln 0 has no value: a humidity of 0 is taken as the least the fits know.
    const double e = 0.02953 * std::max(static_cast<double>(phi), kLeastHumidity) * ps;
    // A vapour pressure of 0 (air near absolute zero) leaves the fit at its lowest point.
    const double fahrenheit = (t >= kZeroCelsius ? kOverWater : kOverIce).at(e > 0.0 ? std::log(e) : -kInfinity);
    b.out(0) = static_cast<float>((fahrenheit - 32.0) * 0.5555556);
}

}  // namespace vireo::em
