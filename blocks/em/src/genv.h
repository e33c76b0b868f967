// The pieces of the wind-speed generator GENV: its own uniform generator, its gamma
// routines and the Weibull shape search, in single precision as the series they make is
// reproduced to the last bit.
#ifndef VIREO_EM_GENV_H
#define VIREO_EM_GENV_H

#include <array>
#include <span>

namespace vireo::em::genv {

// The value GENV takes for pi everywhere (phases and cosine arguments); the series
// depend on it.
inline constexpr float kPi = 3.1415f;
inline constexpr int kHours = 8760;
inline constexpr int kBins = 51;

// The portable shuffled generator RAN1 on three linear congruential generators, 32-bit
// integers and single-precision scaling. Its state is the object's, so every series
// has a generator of its own.
class Ran1 {
public:
    // A deviate in (0, 1); a negative idum (or the first call) starts the sequence from
    // -idum and sets idum to 1.
    float dran1(int& idum) {
        if (idum < 0 || !filled_) {
            ix1_ = (kC1 - idum) % kM1;
            ix1_ = (kA1 * ix1_ + kC1) % kM1;
            ix2_ = ix1_ % kM2;
            ix1_ = (kA1 * ix1_ + kC1) % kM1;
            ix3_ = ix1_ % kM3;
            for (float& r : table_) {
                ix1_ = (kA1 * ix1_ + kC1) % kM1;
                ix2_ = (kA2 * ix2_ + kC2) % kM2;
                r = scaled();
            }
            idum = 1;
            filled_ = true;
        }
        ix1_ = (kA1 * ix1_ + kC1) % kM1;
        ix2_ = (kA2 * ix2_ + kC2) % kM2;
        ix3_ = (kA3 * ix3_ + kC3) % kM3;
        const int j = (97 * ix3_) / kM3;
        const float result = table_[j];
        table_[j] = scaled();
        return result;
    }
    // Starts again from a seed and discards the first deviate.
    void drnset(int seed) {
        int idum = -seed;
        dran1(idum);
    }
    // The next deviate; the seed it passes only counts before the table is filled.
    float drnunf() {
        int idum = 10;
        return dran1(idum);
    }

private:
    static constexpr int kM1 = 259200, kA1 = 7141, kC1 = 54773;
    static constexpr int kM2 = 134456, kA2 = 8121, kC2 = 28411;
    static constexpr int kM3 = 243000, kA3 = 4561, kC3 = 51349;
    float scaled() const { return (static_cast<float>(ix1_) + static_cast<float>(ix2_) * 7.4373775e-6f) * 3.8580247e-6f; }

    int ix1_ = 0, ix2_ = 0, ix3_ = 0;
    std::array<float, 97> table_{};
    bool filled_ = false;
};

// ln Gamma(x) for x > 0 by Lanczos' six-term series, computed in double precision.
float dgamln(float x);
// Gamma(x).
float dtovangamma(float x);
// The Weibull shape k with which the mean over the 24 hourly means v of the Weibull
// third moment, (v/Gamma(1 + 1/k))^3 Gamma(1 + 3/k), equals target within 0.1 %; the
// search widens and halves a bracket from [1, 3] within 0.5 to 10, and gives 10 when it
// has not settled after 1000 passes (settled, where given, then says false).
float dubgam4(float target, std::span<const float, 24> v, bool* settled = nullptr);

// GENV's year: the hourly wind speeds, their annual mean and the Gaussian value of the
// last hour.
struct WindYear {
    std::array<float, kHours> w{};
    float annualMean = 0.0f;
    float lastGaussian = 0.0f;
    std::array<float, 12> shape{};        // Weibull shape of each month
    std::array<bool, 12> unsettled{};     // no shape met the month's mean cube
};
// Builds the year from GENV's 148 parameters (checked: none negative, a spectrum that is
// not all zero).
void buildWindYear(std::span<const float, 148> parameters, WindYear& year);

}  // namespace vireo::em::genv

#endif
