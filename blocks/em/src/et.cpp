#include "solar.h"

#include "angles.h"
#include "routines.h"

#include <cmath>

namespace vireo::em {

float equationOfTime(int fit, float day) {
    constexpr float kDeg = kTwoPi / 360.0f;  // fits 4 and 5 write their day angle in degrees
    switch (fit) {
        case 1: {
            const float g = kTwoPi * (day - 1.0f) / 365.0f;
            return 229.18f * (0.000075f + 0.001868f * std::cos(g) - 0.032077f * std::sin(g) -
                              0.014615f * std::cos(2.0f * g) - 0.04089f * std::sin(2.0f * g));
        }
        case 2:
            return 60.0f * (0.123f * std::cos(kTwoPi * (88.0f + day) / 365.0f) -
                            0.167f * std::sin(2.0f * kTwoPi * (10.0f + day) / 365.0f));
        case 3: {
            const float b = (day - 81.0f) / 364.0f;
            return 9.87f * std::sin(2.0f * kTwoPi * b) - 7.53f * std::cos(kTwoPi * b) -
                   1.5f * std::sin(kTwoPi * b);
        }
        case 4: {
            const float x = 360.0f * day / 365.0f;
            return 0.0066f + 7.3525f * std::cos((x + 85.9f) * kDeg) +
                   9.9359f * std::cos((2.0f * x + 108.9f) * kDeg) +
                   0.3387f * std::cos((3.0f * x + 105.2f) * kDeg);
        }
        case 5: {
            const float x = 360.0f * (day - 1.0f) / 365.242f;
            return -60.0f * (0.1236f * std::sin(x * kDeg) - 0.0043f * std::cos(x * kDeg) +
                             0.1538f * std::sin(2.0f * x * kDeg) + 0.0608f * std::cos(2.0f * x * kDeg));
        }
        case 6: {
            const float a = kTwoPi * day / 365.25f;
            return 60.0f * (0.0002087f + 0.0092869f * std::cos(a) - 0.12229f * std::sin(a) -
                            0.052258f * std::cos(2.0f * a) - 0.15698f * std::sin(2.0f * a) -
                            0.0013077f * std::cos(3.0f * a) - 0.0051602f * std::sin(3.0f * a) -
                            0.0021867f * std::cos(4.0f * a) - 0.0029823f * std::sin(4.0f * a) -
                            0.00151f * std::cos(5.0f * a) - 0.00023463f * std::sin(5.0f * a));
        }
        default:
            return 0.0f;
    }
}

}  // namespace vireo::em

extern "C" float et(const int* mode, const float* d) { return vireo::em::equationOfTime(*mode, *d); }
