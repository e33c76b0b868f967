#include "solar.h"

#include "angles.h"
#include "routines.h"

#include <cmath>

namespace vireo::em {

float eccentricity(int fit, float day) {
    switch (fit) {
        case 1: {  // Spencer's Fourier series, with 1.0001 as its constant term
            const float g = kTwoPi * (day - 1.0f) / 365.0f;
            return 1.0001f + 0.034221f * std::cos(g) + 0.00128f * std::sin(g) +
                   0.000719f * std::cos(2.0f * g) + 0.000077f * std::sin(2.0f * g);
        }
        case 2:  // the one-term approximation
            return 1.0f + 0.033f * std::cos(kTwoPi * day / 365.0f);
        default:
            return 0.0f;
    }
}

}  // namespace vireo::em

extern "C" float e0(const int* mode, const float* d) { return vireo::em::eccentricity(*mode, *d); }
