#include "duct.h"

#include "vireo_tools.h"

#include <cmath>
#include <limits>

namespace vireo::st::duct {

double density(float t) {
    const float p = 100000.0f;
    return airrho(&t, &p);
}

double velocity(double dp, double rho, double zeta) {
    const double r = rho * zeta;
    if (!(r > 0.0)) return 0.0;
    const double v = std::sqrt(2.0 * std::fabs(dp) / r);
    return dp < 0.0 ? -v : v;
}

double fittingStep(block::BlockView& b, bool inverse, double area, double zeta) {
    const double given = std::fabs(b.in(0));
    if (given == 0.0) {
        b.out(0) = 0.0f;
        return 0.0;
    }
    const double rho = density(b.in(1));
    if (inverse) {
        const double flow = velocity(given, rho, zeta) * area;
        b.out(0) = finite(flow);
        return flow;
    }
    b.out(0) = finite(loss(given / area, rho, zeta));
    return given;
}

float finite(double x) {
    constexpr double top = std::numeric_limits<float>::max();
    if (std::isnan(x)) return 0.0f;
    if (x > top) return static_cast<float>(top);
    if (x < -top) return static_cast<float>(-top);
    return static_cast<float>(x);
}

float coneAngle(double t) { return static_cast<float>(2.0 * std::atan(t) * 90.0 / 1.5707964); }

float lookUp(const Table& table, float x) {
    const auto& at = table.at;
    const auto& value = table.value;
    for (std::size_t k = 0; k + 1 < at.size() && k + 1 < value.size(); ++k)
        if (x >= at[k] && x < at[k + 1])
            return value[k] + (x - at[k]) * (value[k + 1] - value[k]) / (at[k + 1] - at[k]);
    return !at.empty() && x < at.front() ? table.below : table.beyond;
}

void refuse(block::BlockView& b, int parameter, block::Code code, float value, const char* wording) {
    b.report(code, {.reals = {value}, .text = wording, .ints = {parameter + 1}});
}

}  // namespace vireo::st::duct
